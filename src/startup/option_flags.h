// The installation's switches, read from INSTALL.INF (the current setup script) at start-up and
// kept for the steps that act on them.
#pragma once

#include "platform/win_types.h"
#include "state/option_flags_state.h"

#include <string_view>

namespace tl {

struct Installer;

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
