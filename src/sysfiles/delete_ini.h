// The end of an installation: driver files that keep the printer's status monitor from working
// are taken out of WIN.INI and SYSTEM.INI, as the setup script's [DeleteIni] section directs.
#pragma once

#include <string_view>

namespace tl {

struct Installer;

// The prefix of the comment left when the installer's own port-monitor driver is taken out
// because the user refused a removal.
inline constexpr std::string_view kVxdCommentPrefix = "Removed by Telmora Printer Driver Setup:";

// Carries out [DeleteIni] of the current setup script with the main window disabled and the
// WAITING dialog shown. Switch lines (not starting with "2") set the mode text; the line after
// one, and every line starting with "2", is an action line for EditIniEntry unless the mode is
// "0". When the user refused a removal, the first line of [VxD] is taken out of SYSTEM.INI's
// device lines instead. A file name that AcceptDeleteIniNames refuses leaves both INI files
// untouched and the run failed (state 1). False when the script has no [DeleteIni].
bool ApplyDeleteIni(Installer& installer);

// Whether every file name of [DeleteIni] (the INI file and the file taken out of its line) and
// of the first line of [VxD] in the current script is a plain file name; the first that is not is
// reported with its line and recorded as an error event. Checked when INSTALL.INF is read, so
// that a bad one stops the run before anything is installed, and again before the section is
// acted on.
[[nodiscard]] bool AcceptDeleteIniNames(Installer& installer);

} // namespace tl
