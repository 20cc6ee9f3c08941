// The two dialogs built in memory at run time and the restart dialog's procedure: the choice
// dialog (the installation language), WIN_RESTART, and the system-modal warning box used when
// the template block cannot be had.
#pragma once

#include "platform/code_page.h"
#include "platform/window_system.h"

#include <functional>
#include <string_view>

namespace tl {

inline constexpr std::string_view kChoiceDialogName = "CHOICE";
inline constexpr std::string_view kCannotCreateDialog = "cannot create dialogbox";

// Runs the choice dialog for the names in `names` (NUL-terminated texts one after the other,
// ended by an empty text or the end of the block; only their number matters here) with the
// caller's dialog procedure, which sets every text. The dialog's result, or -1.
INT_PTR RunChoiceDialog(WindowSystem& windows, const CodePage& codePage, WindowHandle owner,
                        std::string_view names, DWORD itemStyle, DialogProc proc);

// Runs the restart dialog (the only template it knows is WIN_RESTART) with `proc`. The dialog's
// result, or -1.
INT_PTR RunRestartDialog(WindowSystem& windows, const CodePage& codePage, WindowHandle owner,
                         DialogProc proc, std::string_view templateName);

// ExitWindowsEx flags.
inline constexpr UINT kExitLogOff = 0;
inline constexpr UINT kExitReboot = 2;

// ExitWindowsEx(flags, reserved) of the system port.
using ExitWindowsFn = std::function<BOOL(UINT flags, DWORD reserved)>;

// What WIN_RESTART's procedure works with. rebootMode: 0 none, 1 log off, 2 restart.
struct RestartContext {
    WindowSystem& windows;
    ExitWindowsFn exitWindows;
    int rebootMode = 0;
};

// The procedure of WIN_RESTART: Restart (1020) asks Windows to log off (mode 1) or restart and
// ends with 1; Return (1021) ends with 0.
INT_PTR SelWinRestart(RestartContext& context, DialogWindow& dialog, UINT message, WPARAM wParam,
                      LPARAM lParam);
DialogProc MakeSelWinRestart(RestartContext& context);

// A system-modal information box with string `id` (at most 127 bytes of it) under the caption
// "Warning" (163).
void ShowResourceMessage(WindowSystem& windows, WindowHandle owner, unsigned id);

} // namespace tl
