// The Win32 session every Windows program of the installer runs in: the command line's answers
// and transcript, the real machine and window system, the frontend of an unattended run, the
// stop handler and the exit status. tlins32a.exe runs the installer in it, TLREMOVE.EXE the
// removal.
#pragma once

#include "command_line.h"

#include <functional>
#include <string>
// The ports before the Windows headers, which the window system includes after them.
#include "platform/win32/ui/win32_window_system.h"

namespace tl {
struct Installer;
}

namespace tl::app {

std::string Utf8(const std::wstring& wide);

// The program's work once the session stands: its own exit code; the outcome is left in
// `installer.installationState`.
using SessionBody =
    std::function<int(Installer& installer, const WindowsOptions& options, int showCommand)>;

// Runs `body` in a session made from `parse`; `name` names the program in messages. The exit
// status: the program's own exit code, or for an unattended run the status of its outcome
// (0, 3010, 1602, 1603); 2 for an unusable command line.
int RunWindowsSession(HINSTANCE instance, int showCommand, const wchar_t* name,
                      const WindowsOptionsParse& parse, const wchar_t* usage,
                      const SessionBody& body);

} // namespace tl::app
