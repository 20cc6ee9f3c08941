// The installer's window classes on USER32: the procedure behind the thunk, creation
// parameters, window words, Korean window texts, timers, painting and the message loop.
#include "win32ui_fixture.h"

#include "copy/progress_display.h"

namespace tl::win32ui::test {
namespace {

constexpr UINT kPrivate = WM_USER + 7;

TEST_F(Win32UiTest, AClassProcedureGetsItsCreationParameterWordsTimersAndPaint) {
    std::vector<UINT> seen;
    LPARAM created = 0;
    bool canvasGiven = false;
    WindowClass windowClass;
    windowClass.name = "TlTestClass";
    windowClass.windowExtra = 8;
    windowClass.proc = [&](WindowHandle window, UINT message, WPARAM wParam,
                           LPARAM lParam) -> LRESULT {
        switch (message) {
        case WM_CREATE:
            created = lParam;
            return 0;
        case WM_PAINT: {
            PaintContext paint = windows.BeginPaint(window);
            canvasGiven = paint.canvas != nullptr;
            if (paint.canvas)
                paint.canvas->FillRect(Rect{0, 0, 10, 10}, kBlack);
            windows.EndPaint(window, paint);
            return 0;
        }
        case WM_TIMER:
            windows.KillTimer(window, wParam);
            windows.PostMessage(window, kPrivate, 0, 0);
            return 0;
        case kPrivate:
            seen.push_back(message);
            windows.DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            windows.PostQuitMessage(42);
            return 0;
        default:
            return windows.DefWindowProc(window, message, wParam, lParam);
        }
    };
    ASSERT_TRUE(windows.RegisterClass(windowClass));
    EXPECT_FALSE(windows.RegisterClass(windowClass)); // a class name is taken once

    const std::string title = Ansi("텔모라 드라이버 설치");
    WindowHandle window =
        windows.CreateWindow("TlTestClass", title, WS_POPUP, 0, 0, 200, 100, {}, 0, 1234);
    ASSERT_TRUE(window);
    EXPECT_EQ(created, 1234);
    EXPECT_EQ(windows.FindWindow("TlTestClass", ""), window);
    EXPECT_EQ(windows.GetWindowText(window), title);
    windows.SetWindowLong(window, 4, 0x00640032);
    EXPECT_EQ(windows.GetWindowLong(window, 4), 0x00640032);

    windows.ShowWindow(window, SW_SHOWNORMAL);
    windows.UpdateWindow(window);
    EXPECT_TRUE(canvasGiven);

    windows.SetTimer(window, 3, 20);
    Message message;
    while (windows.GetMessage(message, {}, 0, 0)) {
        windows.TranslateMessage(message);
        windows.DispatchMessage(message);
    }
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 42u);
    EXPECT_EQ(seen, std::vector<UINT>{kPrivate});
    EXPECT_FALSE(windows.IsWindow(window));
    ASSERT_FALSE(recorder.timers.empty());
    EXPECT_EQ(recorder.timers[0], (std::pair<UINT_PTR, UINT>{3, 20}));
}

COLORREF ScreenPixel(WindowHandle window, int x, int y) {
    HWND hwnd = ToHwnd(window);
    HDC dc = ::GetDC(hwnd);
    COLORREF colour = GetPixel(dc, x, y);
    ::ReleaseDC(hwnd, dc);
    return colour;
}

// The progress display of a copy run on real windows: COPYING with its "probar" and "text"
// controls, the bar painted by GDI as the copy engine advances it.
TEST_F(Win32UiTest, TheProgressBarPaintsItsBluePartOnTheScreen) {
    ProgressState state;
    ASSERT_EQ(RegisterProgressBarClass(windows, state), 1);
    ASSERT_EQ(RegisterTextBarClass(windows, state), 1);
    WindowClass owner;
    owner.name = "TlTestOwner";
    owner.proc = [&](WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) {
        return windows.DefWindowProc(window, message, wParam, lParam);
    };
    ASSERT_TRUE(windows.RegisterClass(owner));
    WindowHandle main =
        windows.CreateWindow("TlTestOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, {}, 0, 0);
    ASSERT_TRUE(main);

    OpenProgressDisplay(windows, windows.Fonts(), state, main);
    ASSERT_TRUE(state.dialog && state.bar && state.textBar);
    EXPECT_FALSE(windows.IsWindowEnabled(main));
    ASSERT_EQ(SetProgressRange(windows, state, 4), 1);
    state.currentFileName = "TLDRV.DLL";
    RedrawFileName(windows, state);
    AdvanceProgress(windows, state, 1);
    AdvanceProgress(windows, state, 1);
    EXPECT_EQ(ReadProgressBarWords(windows, state.bar).range, 4);
    EXPECT_EQ(ReadProgressBarWords(windows, state.bar).position, 2);

    // The text bar's line: dark letters of the label from (40, 20) on.
    int dark = 0;
    for (int x = 40; x < 120; ++x)
        for (int y = 20; y < 34; ++y)
            dark += ScreenPixel(state.textBar, x, y) == kBlack ? 1 : 0;
    EXPECT_GT(dark, 20);

    Rect client;
    windows.GetClientRect(state.bar, client);
    // Half done: blue at the left end, white at the right, a black frame.
    EXPECT_EQ(ScreenPixel(state.bar, 3, client.bottom / 2), Rgb(0, 0, 255));
    EXPECT_EQ(ScreenPixel(state.bar, client.right - 3, client.bottom / 2), Rgb(255, 255, 255));
    EXPECT_EQ(ScreenPixel(state.bar, 0, 0), kBlack);

    WindowHandle bar = state.bar;
    CloseProgressDisplay(windows, windows.Fonts(), state, main);
    EXPECT_TRUE(windows.IsWindowEnabled(main));
    EXPECT_FALSE(windows.IsWindow(bar));
    ASSERT_EQ(recorder.dialogs.size(), 1u);
    EXPECT_EQ(recorder.dialogs[0].name, "COPYING");
    windows.DestroyWindow(main);
}

TEST_F(Win32UiTest, AnUnattendedLoopWithNothingToWaitForStops) {
    Answer("");
    windows.SetStallLimit(400);
    WindowClass idle;
    idle.name = "TlTestIdle";
    idle.proc = [&](WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) {
        return windows.DefWindowProc(window, message, wParam, lParam);
    };
    ASSERT_TRUE(windows.RegisterClass(idle));
    WindowHandle window = windows.CreateWindow("TlTestIdle", "", WS_POPUP, 0, 0, 10, 10, {}, 0, 0);
    Message message;
    DWORD start = GetTickCount();
    while (windows.GetMessage(message, {}, 0, 0))
        windows.DispatchMessage(message);
    EXPECT_LT(GetTickCount() - start, 20000u);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_NE(stops[0].find("waits for input"), std::string::npos);
    windows.DestroyWindow(window);
}

} // namespace
} // namespace tl::win32ui::test
