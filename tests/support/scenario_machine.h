// A simulated PC for whole-run tests, made by `tlmachine init` exactly as a person makes one, and
// read back afterwards: its files by Windows path, its INI files, and what `tlmachine show
// --json` says about its spooler, fonts and devices.
#pragma once

#include "platform/host/ini_text.h"
#include "support/temp_machine.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::test {

class ScenarioMachine {
public:
    // Runs `tlmachine init` (from programDir) on a fresh temporary folder with the given options
    // (--atom, --driver, --printer, --free-bytes, ...). A failure is reported to the test.
    ScenarioMachine(const std::filesystem::path& programDir,
                    const std::vector<std::string>& initOptions);

    const std::filesystem::path& Root() const { return folder_.Root(); }
    bool Ready() const { return ready_; }

    // The host file of a Windows path ("C:\WINDOWS\SYSTEM\TL600.DRV"), matching names without
    // regard to case as the simulated PC does, or of a path in the machine folder without a drive
    // ("registry.reg"); none when it does not exist.
    std::optional<std::filesystem::path> Find(std::string_view windowsPath) const;
    bool Exists(std::string_view windowsPath) const { return Find(windowsPath).has_value(); }
    // The file's bytes; empty when it does not exist.
    std::string Read(std::string_view windowsPath) const;
    void Write(std::string_view windowsPath, std::string_view bytes) const;
    host::IniText Ini(std::string_view windowsPath) const {
        return host::IniText(Read(windowsPath));
    }

    // `tlmachine show --json`; null after a failure (reported to the test).
    nlohmann::json Show() const;

private:
    std::filesystem::path HostPath(std::string_view windowsPath) const;

    std::filesystem::path programDir_;
    TempFolder folder_{"tlscenario-"};
    bool ready_ = false;
};

} // namespace tl::test
