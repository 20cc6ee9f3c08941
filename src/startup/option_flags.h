// The installation's switches, read from INSTALL.INF (the current setup script) at start-up and
// kept for the steps that act on them.
#pragma once

#include "platform/win_types.h"

#include <string_view>

namespace tl {

struct Installer;

struct OptionFlags {
    bool driverPath = false;        // PRINTERDRIVER.PATH is there (also when empty)
    bool fontList = false;          // TRUETYPEFONTS.FONTLIST has a value
    bool portDriverMessage = false; // [VxD] has two lines or more and message = TRUE
    bool demoFiles = false;         // [DEMOFILE] has a line
    bool deleteInstaller = false;   // [DEL.INST] begins with the line "1"
    int rebootMode = 0;             // [REBOOTSYSTEM]: 1 or 2, anything else 0
    bool versionText = false;       // [InstVersion] has a line
    bool ecpCheck = false;          // look for ECP ports at start
    bool addPrinterMode = false;    // [WIN95SETUP] "1" on Windows 3.90 or later
    bool versionType = false;       // [VERSION_TYPE] begins with the line "1"
};

// The one command-line switch: the whole command line is exactly these three characters.
inline constexpr std::string_view kNoDriverSwitch = "/ND";
inline bool IsNoDriverSwitch(std::string_view commandLine) {
    return commandLine == kNoDriverSwitch;
}

// GetVersion's answer is 3.90 or later (the Windows 95 family and beyond).
bool IsAddPrinterVersion(DWORD version);

// Sets the flag for PRINTERDRIVER.PATH and makes the source directory: the disk path, plus "\"
// and the driver folder when the key has a value.
void ReadDriverPath(Installer& installer);

// Sets the remaining flags from the current script, in this order: font list, port-driver
// message, demonstration files, delete-installer, reboot mode, version text, ECP check (and runs
// the ECP detection when it is asked for), Add-Printer mode, version type.
void ReadOptionFlags(Installer& installer);

} // namespace tl
