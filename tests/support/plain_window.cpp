#include "support/plain_window.h"

namespace tl::test {

WindowHandle CreatePlainWindow(WindowSystem& windows) {
    WindowClass plain;
    plain.name = "Plain";
    plain.proc = [&windows](WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) {
        return windows.DefWindowProc(window, message, wParam, lParam);
    };
    windows.RegisterClass(plain);
    return windows.CreateWindow("Plain", "", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 768, WindowHandle{},
                                0, 0);
}

} // namespace tl::test
