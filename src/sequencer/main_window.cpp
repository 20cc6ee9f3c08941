#include "sequencer/main_window.h"

#include "sequencer/face.h"
#include "sequencer/steps.h"
#include "startup/option_flags.h"
#include "state/installer.h"

namespace tl {
namespace {

void Paint(Installer& installer, WindowHandle window) {
    WindowSystem& windows = installer.windows;
    PaintContext paint = windows.BeginPaint(window);
    Rect client;
    if (paint.canvas && windows.GetClientRect(window, client)) {
        FaceState face;
        face.versionText = installer.options.versionText;
        PaintFace(*paint.canvas, client.Width(), client.Height(), face);
    }
    windows.EndPaint(window, paint);
}

} // namespace

LRESULT MainWndProc(Installer& installer, WindowHandle window, UINT message, WPARAM wParam,
                    LPARAM lParam) {
    WindowSystem& windows = installer.windows;
    switch (message) {
    case WM_CREATE:
        if (IsNoDriverSwitch(installer.commandLine))
            windows.SetTimer(window, kStartTimer, kStartDelayMs);
        return 1;
    case WM_TIMER:
        windows.KillTimer(window, kStartTimer);
        windows.PostMessage(window, kStepDriver, 0, 0);
        return 0;
    case WM_PAINT:
        Paint(installer, window);
        return 0;
    case kStepDriver:
        StepDriver(installer, window);
        return 0;
    case kStepDemonstration:
        StepDemonstration(installer, window);
        return 0;
    case kStepFonts:
        StepFonts(installer, window);
        return 0;
    case kStepFinish:
        StepFinish(installer, window);
        return 0;
    case WM_DESTROY:
        installer.renames.Release();
        windows.PostQuitMessage(0);
        return 0;
    default:
        return windows.DefWindowProc(window, message, wParam, lParam);
    }
}

} // namespace tl
