// An install disk for whole-run tests: a temporary folder (drive A: of the run) that a test fills
// with setup scripts, driver and font files, LZ-compressed copies and tag files.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tl::test {

// The kind of executable image that carries a version resource.
enum class ImageKind { Ne, Le, Pe };

class InstallDisk {
public:
    InstallDisk();
    ~InstallDisk();
    InstallDisk(const InstallDisk&) = delete;
    InstallDisk& operator=(const InstallDisk&) = delete;

    const std::filesystem::path& Root() const { return root_; }

    // Writes a file below the disk's root ("WIN95/OEMSETUP.INF"), making folders; bytes as given
    // (setup scripts are code-page-949 text, as they ship).
    void Write(const std::filesystem::path& relative, std::string_view bytes) const;
    // Writes the SZDD-compressed form of bytes under a compressed name ("WIN95/TL600.DR_"): the
    // header records the missing last character of the expanded name.
    void WriteCompressed(const std::filesystem::path& relative, std::string_view bytes,
                         char missingChar) const;
    // Writes an executable image with a version resource of the given file version.
    void WriteImage(const std::filesystem::path& relative, ImageKind kind,
                    std::array<std::uint16_t, 4> version) const;
    void Remove(const std::filesystem::path& relative) const;
    std::string Read(const std::filesystem::path& relative) const;

    // The bytes of an image as WriteImage makes it, to compare with an installed copy.
    static std::string ImageBytes(ImageKind kind, std::array<std::uint16_t, 4> version);

private:
    std::filesystem::path root_;
};

} // namespace tl::test
