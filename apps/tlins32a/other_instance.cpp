#include "other_instance.h"

#include "sequencer/configuration.h"

namespace tl::app {

void ShowOtherInstance(WindowSystem& windows) {
    WindowClass other;
    other.name = std::string(kMainWindowClass);
    other.proc = [&windows](WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) {
        return windows.DefWindowProc(window, message, wParam, lParam);
    };
    windows.RegisterClass(other);
    windows.CreateWindow(kMainWindowClass, "", WS_POPUP, 0, 0, 0, 0, {}, 0, 0);
}

} // namespace tl::app
