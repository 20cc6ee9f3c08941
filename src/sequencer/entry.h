// The program's entry and exit: refuses a second copy, runs the configuration, creates the
// full-screen main window, runs the message loop, and at the end releases the setup script and
// deletes the installer's own files when INSTALL.INF asks for it.
#pragma once

#include <string_view>

namespace tl {

struct Installer;

inline constexpr std::string_view kMainWindowTitle = "Telmora Driver Installation";

// WinMain: the quit message's code, or 0 when start-up fails or another copy is running.
// `commandLine` is the whole text after the program name.
int Entry(Installer& installer, std::string_view commandLine, int showCommand);

// The full-screen main window (one pixel short of the screen each way): true, or false when it
// cannot be created. Without "/ND" the first step runs to its end before this returns.
[[nodiscard]] bool CreateMainWindow(Installer& installer, int showCommand);

// Deletes "tlins32a.dll" and "tlins32a.exe" from the system directory; what cannot be deleted
// stays.
void DeleteInstallerFiles(Installer& installer);

} // namespace tl
