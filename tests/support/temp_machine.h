// A temporary machine folder for tests: created empty (with drive_c/), removed with the object.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tl::test {

class TempMachine {
public:
    TempMachine();
    ~TempMachine();
    TempMachine(const TempMachine&) = delete;
    TempMachine& operator=(const TempMachine&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    // Writes machine.ini (UTF-8).
    void WriteMachineIni(std::string_view text) const;
    // Writes a host file below the machine folder ("drive_c/WINDOWS/WIN.INI"), making folders.
    void WriteFile(const std::filesystem::path& relative, std::string_view bytes) const;
    std::string ReadFile(const std::filesystem::path& relative) const;
    bool Exists(const std::filesystem::path& relative) const;
    void MakeDirectory(const std::filesystem::path& relative) const;

private:
    std::filesystem::path root_;
};

} // namespace tl::test
