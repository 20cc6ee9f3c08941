// The utilities every dialog of the installer stands on: running a dialog from a named template,
// loading string-table texts, centring a dialog on the screen, the F3 shortcut for the exit
// button of three dialogs (a message-filter hook), and the question whether to cancel.
#pragma once

#include "platform/installation_state.h"
#include "platform/window_system.h"
#include "resources/text_id.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace tl {

inline constexpr std::size_t kTextBufferSize = 256;
inline constexpr int kF3ExitButtonId = 118;

struct DialogUtilState {
    // The dialog that F3 serves: DIRECTORY, FONT and SELECTDRV set it when they open.
    WindowHandle f3Dialog;
    HookHandle hook;
    // LoadText's shared text for callers without a buffer of their own.
    std::array<char, kTextBufferSize> scratch{};
};

// Runs the dialog from the program's templates with the procedure, owned by `owner`, then
// repaints the owner at once. The value the dialog ended with, or -1.
INT_PTR ShowModalDialog(WindowSystem& windows, WindowHandle owner, DialogProc proc,
                        std::string_view templateName);

// String `id` into `buffer` (at most 255 bytes and a NUL, and never more than the buffer holds),
// or into the shared scratch text. The text as it stands in the buffer.
std::string_view LoadText(unsigned id, std::span<char> buffer);
std::string_view LoadText(unsigned id, DialogUtilState& state);
// A copy of string `id`, for callers that keep the text.
std::string LoadTextCopy(unsigned id);

// The same by name.
inline std::string_view LoadText(TextId id, std::span<char> buffer) {
    return LoadText(Id(id), buffer);
}
inline std::string_view LoadText(TextId id, DialogUtilState& state) {
    return LoadText(Id(id), state);
}
inline std::string LoadTextCopy(TextId id) {
    return LoadTextCopy(Id(id));
}
inline std::string MessageKey(TextId id) {
    return MessageKey(Id(id));
}

// Centres the window horizontally; vertically too on screens at least 1,000 pixels wide, else
// two thirds of the way down the free height. Moves it to the top without activating it.
void CentreWindow(WindowSystem& windows, WindowHandle window);

// Installs MsgFltr as the thread's message-filter hook.
void InstallF3Hook(WindowSystem& windows, DialogUtilState& state);
// Removes it: the system's result.
BOOL RemoveF3Hook(WindowSystem& windows, DialogUtilState& state);
// F3 pressed in a control of the F3 dialog posts its exit button (WM_COMMAND 118) and is
// consumed (1); everything else goes to the next hook (0 without a hook).
LRESULT MsgFltr(WindowSystem& windows, DialogUtilState& state, int code, WPARAM wParam,
                const Message& message);

// "Cancel the installation?" before anything was installed, "End the
// installation?" after; Yes/No with No the default. IDYES or IDNO.
int ConfirmCancel(WindowSystem& windows, WindowHandle owner, InstallationState installationState);

} // namespace tl
