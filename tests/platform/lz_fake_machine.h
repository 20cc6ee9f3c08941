// A throw-away machine folder for the LZ and version-record tests: drive C: under a temporary
// directory (names matched as written), and a sink that keeps the platform events.
#pragma once

#include "platform/events.h"
#include "platform/host/path_resolver.h"

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace tl::testing {

class TempMachine final : public host::PathResolver, public EventSink {
public:
    TempMachine() {
        std::random_device random;
        root_ = std::filesystem::temp_directory_path() /
                ("tl_lzver_" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(root_ / "drive_c");
    }
    ~TempMachine() override {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    TempMachine(const TempMachine&) = delete;
    TempMachine& operator=(const TempMachine&) = delete;

    host::ResolvedPath Resolve(std::string_view windowsPath, host::PathUse use) const override {
        if (windowsPath.size() < 3 || windowsPath[1] != ':' || windowsPath[2] != '\\') {
            return {{}, kErrorPathNotFound};
        }
        const char drive =
            static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0])));
        const std::filesystem::path driveDir = root_ / (std::string("drive_") + drive);
        if (!std::filesystem::is_directory(driveDir)) {
            return {{}, kErrorPathNotFound};
        }
        if (use == host::PathUse::Write && readOnly) {
            return {{}, kErrorAccessDenied};
        }
        std::string rest(windowsPath.substr(3));
        for (char& c : rest) {
            c = c == '\\' ? '/' : c;
        }
        return {driveDir / rest, kErrorSuccess};
    }

    void Record(PlatformEvent event) override { events.push_back(std::move(event)); }

    // The host path of C:\<name>.
    std::filesystem::path HostPath(const std::string& name) const {
        return root_ / "drive_c" / name;
    }

    void Write(const std::string& name, const std::vector<BYTE>& bytes) const {
        std::ofstream(HostPath(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    std::vector<BYTE> Read(const std::string& name) const {
        std::ifstream in(HostPath(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    bool Exists(const std::string& name) const { return std::filesystem::exists(HostPath(name)); }

    const std::filesystem::path& Root() const { return root_; }

    bool readOnly = false;
    std::vector<PlatformEvent> events;

private:
    std::filesystem::path root_;
};

inline std::vector<BYTE> RandomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 engine(seed);
    std::vector<BYTE> bytes(size);
    for (auto& b : bytes) {
        b = static_cast<BYTE>(engine());
    }
    return bytes;
}

// Text-like data that compresses well: repeated words with a little variation.
inline std::vector<BYTE> RepetitiveBytes(std::size_t size) {
    static constexpr std::string_view kWords[] = {"device=",      "lpt.vxd ",
                                                  "[386Enh]\r\n", "    ",
                                                  "Telmora 600 ", std::string_view("\0\0\0\0", 4)};
    std::vector<BYTE> bytes;
    bytes.reserve(size);
    for (std::size_t i = 0; bytes.size() < size; ++i) {
        const std::string_view word = kWords[(i * 7 + i / 13) % std::size(kWords)];
        for (char c : word) {
            if (bytes.size() < size) {
                bytes.push_back(static_cast<BYTE>(c));
            }
        }
    }
    return bytes;
}

} // namespace tl::testing
