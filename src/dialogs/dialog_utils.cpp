#include "dialogs/dialog_utils.h"

#include "resources/string_table.h"

#include <algorithm>

namespace tl {

namespace {

constexpr int kWideScreen = 1000;

} // namespace

INT_PTR ShowModalDialog(WindowSystem& windows, WindowHandle owner, DialogProc proc,
                        std::string_view templateName) {
    const INT_PTR result = windows.DialogBox(templateName, owner, std::move(proc), 0);
    windows.UpdateWindow(owner);
    return result;
}

std::string_view LoadText(unsigned id, std::span<char> buffer) {
    const std::span<char> room = buffer.first(std::min(buffer.size(), kTextBufferSize));
    const std::size_t length = LoadStringInto(id, room);
    if (room.empty()) {
        return {};
    }
    return std::string_view(room.data(), length);
}

std::string_view LoadText(unsigned id, DialogUtilState& state) {
    return LoadText(id, std::span<char>(state.scratch));
}

std::string LoadTextCopy(unsigned id) {
    std::array<char, kTextBufferSize> buffer{};
    return std::string(LoadText(id, std::span<char>(buffer)));
}

void CentreWindow(WindowSystem& windows, WindowHandle window) {
    Rect rect;
    windows.GetWindowRect(window, rect);
    const int screenWidth = windows.GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = windows.GetSystemMetrics(SM_CYSCREEN);
    const int resolution = windows.GetDeviceCaps(window, HORZRES);
    const int x = (screenWidth - rect.Width()) / 2;
    const int y = resolution >= kWideScreen ? (screenHeight - rect.Height()) / 2
                                            : ((screenHeight - rect.Height()) / 3) * 2;
    windows.SetWindowPos(window, WindowHandle{}, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void InstallF3Hook(WindowSystem& windows, DialogUtilState& state) {
    state.hook = windows.SetWindowsHookEx(
        WH_MSGFILTER, [&windows, &state](int code, WPARAM wParam, const Message& message) {
            return MsgFltr(windows, state, code, wParam, message);
        });
}

BOOL RemoveF3Hook(WindowSystem& windows, DialogUtilState& state) {
    const BOOL result = windows.UnhookWindowsHookEx(state.hook);
    // A removed hook has no next hook to pass to.
    state.hook = HookHandle{};
    return result;
}

LRESULT MsgFltr(WindowSystem& windows, DialogUtilState& state, int code, WPARAM wParam,
                const Message& message) {
    if (code == MSGF_DIALOGBOX && state.f3Dialog &&
        windows.GetParent(message.window) == state.f3Dialog && message.message == WM_KEYDOWN &&
        message.wParam == VK_F3) {
        windows.PostMessage(state.f3Dialog, WM_COMMAND, kF3ExitButtonId, 0);
        return 1;
    }
    if (!state.hook) {
        return 0;
    }
    return windows.CallNextHookEx(state.hook, code, wParam, message);
}

int ConfirmCancel(WindowSystem& windows, WindowHandle owner, InstallationState installationState) {
    const unsigned textId =
        IsInstalled(installationState) ? Id(TextId::EndQuestion) : Id(TextId::CancelQuestion);
    const std::string text = LoadTextCopy(textId);
    const std::string caption = LoadTextCopy(TextId::InstallCaption);
    return windows.MessageBox(owner, text, caption, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2,
                              MessageKey(textId));
}

} // namespace tl
