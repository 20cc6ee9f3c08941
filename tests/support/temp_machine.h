// Temporary folders for tests, removed with the object: a plain one (an install disk, scratch
// space) and a machine folder (created with drive_c/).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tl::test {

class TempFolder {
public:
    explicit TempFolder(std::string_view prefix = "tlfolder-");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    // Writes a host file below the folder ("drive_c/WINDOWS/WIN.INI"), making folders.
    void WriteFile(const std::filesystem::path& relative, std::string_view bytes) const;
    std::string ReadFile(const std::filesystem::path& relative) const;
    bool Exists(const std::filesystem::path& relative) const;
    void MakeDirectory(const std::filesystem::path& relative) const;

private:
    std::filesystem::path root_;
};

class TempMachine : public TempFolder {
public:
    TempMachine() : TempFolder("tlmachine-") { MakeDirectory("drive_c"); }
    // Writes machine.ini (UTF-8).
    void WriteMachineIni(std::string_view text) const { WriteFile("machine.ini", text); }
};

} // namespace tl::test
