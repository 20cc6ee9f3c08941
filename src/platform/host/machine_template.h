// What `tlmachine init` puts into a fresh machine folder: a Windows 95 PC as it stands after
// setup, with its Windows and system directories, WIN.INI and SYSTEM.INI, a few fonts, the
// spooler's built-in print processor and port monitor, the parallel port, and the parallel-port
// driver lpt.vxd.
//
// The template is plain data (files by Windows path, registry values by key) so that it can be
// checked without a disk; WriteMachineFolder turns it into a machine folder.
#pragma once

#include "platform/code_page.h"
#include "platform/win_types.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tl::host {

struct MachineTemplateOptions {
    std::string windowsDirectory = "C:\\WINDOWS"; // ANSI
    BYTE versionMajor = 4;
    BYTE versionMinor = 0;
    std::optional<std::uint64_t> freeBytes; // [Drive.X] FreeBytes of the Windows drive
    std::optional<std::array<WORD, 4>> lptVxdVersion = {{4, 0, 0, 950}}; // none: no lpt.vxd
    std::vector<int> ecpPorts;      // LPT numbers (1-3) that are ECP ports
    std::vector<std::string> atoms; // global atoms at start (ANSI)
    bool englishLocale = false;     // Locale=0409 instead of Korean 0412
    bool readOnly = false;          // the Windows drive is write-protected
    std::vector<std::string> inUse; // files held open by another program (ANSI)
};

struct TemplateFile {
    std::string windowsPath; // ANSI, absolute
    std::string bytes;
};

struct TemplateValue {
    std::string key; // full path, "HKEY_LOCAL_MACHINE\..."
    std::string name;
    DWORD type = 1;
    std::string data; // as stored: a REG_SZ with its NUL
};

struct MachineTemplate {
    std::string machineIni;               // UTF-8
    std::vector<std::string> directories; // ANSI Windows paths, parents first
    std::vector<TemplateFile> files;
    std::vector<std::string> registryKeys; // keys that stand even without values
    std::vector<TemplateValue> registry;
};

struct MachineTemplateResult {
    std::optional<MachineTemplate> machine;
    std::string error; // UTF-8
};

MachineTemplateResult BuildMachineTemplate(const MachineTemplateOptions& options,
                                           const CodePage& codePage);

// The host path of a Windows path inside a machine folder made from a template:
// "C:\WINDOWS\WIN.INI" -> <dir>/drive_c/WINDOWS/WIN.INI. None for a path without a drive letter.
std::optional<std::filesystem::path> TemplateHostPath(const std::filesystem::path& machineDir,
                                                      std::string_view windowsPath);

} // namespace tl::host
