#include "demonstration.h"

#include "resources/string_table.h"

namespace tl::app {
namespace {

constexpr UINT kFirstStep = 400;
constexpr UINT_PTR kStartTimer = 1;

std::string Text(unsigned id) {
    auto text = LookupString(id);
    return text ? std::string(*text) : std::string{};
}

} // namespace

int RunDemonstration(WindowSystem& windows, const std::string& commandLine) {
    bool noDriver = commandLine == "/ND";
    WindowClass mainClass;
    mainClass.name = "WLInstallWClass";
    mainClass.background = 15 + 1;
    mainClass.proc = [&](WindowHandle window, UINT message, WPARAM wParam,
                         LPARAM lParam) -> LRESULT {
        switch (message) {
        case WM_CREATE:
            if (noDriver)
                windows.SetTimer(window, kStartTimer, 2000);
            return 1;
        case WM_TIMER:
            windows.KillTimer(window, kStartTimer);
            windows.PostMessage(window, kFirstStep, 0, 0);
            return 0;
        case WM_PAINT: {
            PaintContext paint = windows.BeginPaint(window);
            windows.EndPaint(window, paint);
            return 0;
        }
        case kFirstStep:
            // The first question of the installation: 139 with caption 164.
            windows.MessageBox(window, Text(139), Text(164), MB_YESNO, MessageKey(139));
            windows.DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            windows.PostQuitMessage(0);
            return 0;
        default:
            return windows.DefWindowProc(window, message, wParam, lParam);
        }
    };
    if (windows.FindWindow("WLInstallWClass", "")) {
        windows.MessageBox({}, Text(134), Text(163), MB_OK | MB_ICONASTERISK | MB_SYSTEMMODAL,
                           MessageKey(134));
        return 0;
    }
    if (!windows.RegisterClass(mainClass))
        return 0;
    int width = windows.GetSystemMetrics(SM_CXSCREEN) - 1;
    int height = windows.GetSystemMetrics(SM_CYSCREEN) - 1;
    WindowHandle main =
        windows.CreateWindow("WLInstallWClass", "Telmora Driver Installation",
                             WS_POPUP | WS_MAXIMIZE | WS_BORDER, 0, 0, width, height, {}, 0, 0);
    if (!main)
        return 0;
    windows.ShowWindow(main, SW_SHOWMAXIMIZED);
    windows.UpdateWindow(main);
    if (!noDriver)
        windows.SendMessage(main, kFirstStep, 0, 0);
    Message message;
    while (windows.GetMessage(message, {}, 0, 0)) {
        windows.TranslateMessage(message);
        windows.DispatchMessage(message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace tl::app
