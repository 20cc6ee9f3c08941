// Start-up configuration: finds the private settings file (through the hand-off file that a
// launcher may leave, or INSTALL.INF beside the program), reads the installation's settings from
// it, loads INSTALL.INF from the disk as the current setup script, sets the option flags and
// registers the main window class. Every failure is reported in one message box with no owner.
#pragma once

#include "state/paths.h"

#include <string_view>

namespace tl {

struct Installer;

inline constexpr std::string_view kMainWindowClass = "WLInstallWClass";

// True when the main window class is registered; false after a failure was reported (or, silently,
// when the class cannot be registered).
[[nodiscard]] bool Configuration(Installer& installer);

// The class "WLInstallWClass" with MainWndProc: true, or false when the system refuses it.
[[nodiscard]] bool RegisterMainWindowClass(Installer& installer);

} // namespace tl
