#include "copy/progress_display.h"

#include "dialogs/dialog_utils.h"

namespace tl {

namespace {

constexpr UINT kClassRedrawOnResize = 0x0001 | 0x0002; // CS_VREDRAW | CS_HREDRAW
constexpr int kWindowExtra = 4;
constexpr WORD kStartRange = 100;

// The bar's two 16-bit window words: the range at byte 0, the position at byte 2.
void WriteWords(WindowSystem& windows, WindowHandle bar, ProgressBarWords words) {
    const auto packed =
        static_cast<DWORD>(words.range) | (static_cast<DWORD>(words.position) << 16);
    windows.SetWindowLong(bar, 0, static_cast<LONG>(packed));
}

bool Exists(const WindowSystem& windows, WindowHandle window) {
    return window && windows.IsWindow(window);
}

void RepaintNow(WindowSystem& windows, WindowHandle window) {
    windows.InvalidateRect(window, nullptr, FALSE);
    windows.UpdateWindow(window);
}

void PaintBar(WindowSystem& windows, const ProgressState& state, WindowHandle window) {
    const PaintContext paint = windows.BeginPaint(window);
    if (paint.canvas != nullptr) {
        Rect client;
        windows.GetClientRect(window, client);
        const ProgressBarWords words = ReadProgressBarWords(windows, window);
        PaintProgressBar(*paint.canvas, client, words.range, words.position, state.boldFont,
                         state.colours);
    }
    windows.EndPaint(window, paint);
}

void DrawLine(WindowSystem& windows, const ProgressState& state, WindowHandle window) {
    windows.EndPaint(window, windows.BeginPaint(window));
    Canvas* canvas = windows.GetDC(window);
    if (canvas == nullptr) {
        return;
    }
    DrawTextBarLine(*canvas, LoadTextCopy(TextId::CopyingLabel), state.currentFileName,
                    state.boldFont);
    windows.ReleaseDC(window, canvas);
}

void FillButtonFace(WindowSystem& windows, WindowHandle window) {
    const PaintContext paint = windows.BeginPaint(window);
    if (paint.canvas != nullptr) {
        paint.canvas->FillRect(paint.paint, paint.canvas->GetSysColor(kColorBtnFace));
    }
    windows.EndPaint(window, paint);
}

} // namespace

ProgressBarWords ReadProgressBarWords(const WindowSystem& windows, WindowHandle bar) {
    const auto packed = static_cast<DWORD>(windows.GetWindowLong(bar, 0));
    return ProgressBarWords{LoWord(packed), HiWord(packed)};
}

bool RegisterProgressBarClass(WindowSystem& windows, ProgressState& state) {
    state.colours = ProgressColours{Rgb(0, 0, 255), Rgb(255, 255, 255)};
    WindowClass windowClass;
    windowClass.name = std::string(kProgressBarClass);
    windowClass.style = kClassRedrawOnResize;
    windowClass.windowExtra = kWindowExtra;
    windowClass.cursor = IDC_ARROW;
    windowClass.background = kColorWindow + 1;
    windowClass.proc = [&windows, &state](WindowHandle window, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
        return ProBarProc(windows, state, window, message, wParam, lParam);
    };
    return windows.RegisterClass(windowClass) != 0;
}

bool RegisterTextBarClass(WindowSystem& windows, ProgressState& state) {
    WindowClass windowClass;
    windowClass.name = std::string(kTextBarClass);
    windowClass.style = kClassRedrawOnResize;
    windowClass.windowExtra = kWindowExtra;
    windowClass.cursor = IDC_ARROW;
    windowClass.background = kColorWindow + 1;
    windowClass.proc = [&windows, &state](WindowHandle window, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
        return TextBarProc(windows, state, window, message, wParam, lParam);
    };
    return windows.RegisterClass(windowClass) != 0;
}

void OpenProgressDisplay(WindowSystem& windows, FontPort& fonts, ProgressState& state,
                         WindowHandle mainWindow) {
    windows.EnableWindow(mainWindow, FALSE);
    state.boldFont = fonts.CreateFont(ProgressFont());
    state.dialog = windows.CreateDialog(
        kCopyingTemplate, mainWindow,
        [&windows, &state](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
            return Going(windows, state, dialog, message, wParam, lParam);
        },
        0);
}

void CloseProgressDisplay(WindowSystem& windows, FontPort& fonts, ProgressState& state,
                          WindowHandle mainWindow) {
    windows.EnableWindow(mainWindow, TRUE);
    if (state.dialog) {
        windows.DestroyWindow(state.dialog);
    }
    if (state.boldFont) {
        fonts.DeleteFont(state.boldFont);
    }
    // The controls went with the dialog: later notifications find no control and do nothing.
    state.dialog = WindowHandle{};
    state.bar = WindowHandle{};
    state.textBar = WindowHandle{};
    state.boldFont = FontHandle{};
}

bool SetProgressRange(WindowSystem& windows, const ProgressState& state, WORD range) {
    if (!Exists(windows, state.bar)) {
        return false;
    }
    windows.SendMessage(state.bar, kPbmSetRange, range, 0);
    return true;
}

bool SetProgressPosition(WindowSystem& windows, const ProgressState& state, WORD position) {
    if (!Exists(windows, state.bar)) {
        return false;
    }
    windows.SendMessage(state.bar, kPbmSetPosition, position, 0);
    return true;
}

bool AdvanceProgress(WindowSystem& windows, const ProgressState& state, WORD step) {
    if (!Exists(windows, state.bar)) {
        return false;
    }
    windows.SendMessage(state.bar, kPbmAdvance, step, 0);
    return true;
}

bool RedrawFileName(WindowSystem& windows, const ProgressState& state) {
    if (!Exists(windows, state.textBar)) {
        return false;
    }
    windows.SendMessage(state.textBar, kTbmRedraw, 0, 0);
    return true;
}

bool ShowTextBar(WindowSystem& windows, const ProgressState& state) {
    if (!Exists(windows, state.textBar)) {
        return false;
    }
    windows.SendMessage(state.textBar, kTbmShow, 0, 0);
    return true;
}

LRESULT ProBarProc(WindowSystem& windows, ProgressState& state, WindowHandle window, UINT message,
                   WPARAM wParam, LPARAM lParam) {
    ProgressBarWords words;
    switch (message) {
    case WM_CREATE:
        WriteWords(windows, window, ProgressBarWords{kStartRange, 0});
        return 1;
    case WM_PAINT:
        PaintBar(windows, state, window);
        return 1;
    case kPbmSetRange:
        words = ReadProgressBarWords(windows, window);
        words.range = LoWord(wParam);
        break;
    case kPbmSetPosition:
        words = ReadProgressBarWords(windows, window);
        words.position = LoWord(wParam);
        break;
    case kPbmAdvance:
        words = ReadProgressBarWords(windows, window);
        words.position = static_cast<WORD>(words.position + LoWord(wParam));
        break;
    default:
        return windows.DefWindowProc(window, message, wParam, lParam);
    }
    WriteWords(windows, window, words);
    RepaintNow(windows, window);
    return 1;
}

LRESULT TextBarProc(WindowSystem& windows, ProgressState& state, WindowHandle window, UINT message,
                    WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        state.textBarPainted = false;
        return 1;
    case kTbmRedraw:
        DrawLine(windows, state, window);
        return 1;
    case kTbmShow:
        windows.ShowWindow(window, SW_SHOWNA);
        return 1;
    case WM_PAINT:
        if (!state.textBarPainted) {
            FillButtonFace(windows, window);
            state.textBarPainted = true;
            return 1;
        }
        windows.SendMessage(window, kTbmRedraw, 0, 0);
        return 1;
    default:
        return windows.DefWindowProc(window, message, wParam, lParam);
    }
}

INT_PTR Going(WindowSystem& windows, ProgressState& state, DialogWindow& dialog, UINT message,
              WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        CentreWindow(windows, dialog.Handle());
        Rect client;
        windows.GetClientRect(dialog.Handle(), client);
        const GoingLayout layout = ComputeGoingLayout(client);
        state.bar = windows.CreateWindow(kProgressBarClass, "", WS_CHILD | WS_VISIBLE,
                                         layout.bar.left, layout.bar.top, layout.bar.Width(),
                                         layout.bar.Height(), dialog.Handle(), 0, 0);
        SetProgressRange(windows, state, kStartRange);
        SetProgressPosition(windows, state, 0);
        state.textBar = windows.CreateWindow(kTextBarClass, "", WS_CHILD | WS_VISIBLE, 0, 0,
                                             layout.textBar.Width(), layout.textBar.Height(),
                                             dialog.Handle(), 0, 0);
        ShowTextBar(windows, state);
        return TRUE;
    }
    case WM_PAINT:
        FillButtonFace(windows, dialog.Handle());
        return TRUE;
    case WM_COMMAND:
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace tl
