// machine.ini: how the simulated Windows 95 PC of a machine folder looks.
//
//   [Machine]  WindowsDirectory, SystemDirectory, Version (major.minor), Locale (0412 or 0409),
//              UtcOffsetMinutes, ProgramFile
//   [Drives]   <letter>=host folder (relative to the machine folder); an empty value is a drive
//              without a medium (an empty floppy drive)
//   [Drive.X]  FreeBytes (reported instead of the host's free space), ReadOnly=1
//   [InUse]    <windows path>=1: held open by another program, an exclusive open fails
//   [Atoms]    <name>=1: global atoms present when the run starts
//
// A drive that neither [Drives] nor a folder drive_<letter>/ names does not exist.
// Global atoms live in memory, as on Windows: a run starts with [Atoms] as if the PC had just
// booted, and what the run adds or deletes is not written back, so machine.ini stays the plain
// description of the PC that the person who wrote it sees.
// The file is UTF-8; Windows paths and atom names in it are converted to code page 949.
#pragma once

#include "platform/host/fault_plan.h"

#include "platform/code_page.h"
#include "platform/win_types.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::host {

// ERROR_WRITE_PROTECT: what Windows answers a write to a write-protected floppy.
inline constexpr DWORD kErrorWriteProtect = 19;

struct DriveConfig {
    enum class State { Missing, NoMedium, Present };
    State state = State::Missing;
    std::filesystem::path folder;           // when Present
    std::optional<std::uint64_t> freeBytes; // FreeBytes
    bool readOnly = false;                  // ReadOnly=1
    bool writeProtected = false;            // the install disk: a write-protected floppy

    // The error a write to the drive meets: 0 when it may be written, 19 for a write-protected
    // floppy, 5 for a read-only drive.
    DWORD WriteRefusal() const {
        return writeProtected ? kErrorWriteProtect : readOnly ? kErrorAccessDenied : kErrorSuccess;
    }
};

inline constexpr WORD kLocaleKorean = 0x0412;
inline constexpr WORD kLocaleEnglishUs = 0x0409;

struct MachineConfig {
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string systemDirectory = "C:\\WINDOWS\\SYSTEM";
    FaultSettings faults; // [Faults]: a test's plan of file-system faults
    BYTE versionMajor = 4;
    BYTE versionMinor = 0;
    WORD locale = kLocaleKorean;
    int utcOffsetMinutes = 0;
    std::string programFile = "A:\\TLINS32A.EXE";
    std::array<DriveConfig, 26> drives{};
    std::vector<std::string> inUse; // Windows paths (ANSI) as written
    std::vector<std::string> atoms; // ANSI names

    DriveConfig& Drive(char letter);
    const DriveConfig& Drive(char letter) const;
};

struct MachineConfigResult {
    std::optional<MachineConfig> config;
    std::string error; // why the text is not a usable machine description (UTF-8)
};

// Reads machine.ini text. `machineDir` anchors relative drive folders and is where drive_<x>/
// folders are looked for. Unknown sections and keys are ignored; a malformed value of a known
// key is an error naming the line.
MachineConfigResult ParseMachineIni(std::string_view text, const std::filesystem::path& machineDir,
                                    const CodePage& codePage);

// Reads <machineDir>/machine.ini; a missing file describes the default PC.
MachineConfigResult LoadMachineConfig(const std::filesystem::path& machineDir,
                                      const CodePage& codePage);

// Drive letter of a Windows path ("c:\x" -> 'C'), or 0 when it names none.
char DriveLetterOf(std::string_view windowsPath);

} // namespace tl::host
