// The installer's windows on USER32: the progress display painted by GDI, and an unattended
// message loop that would wait for ever.
#include "win32ui_fixture.h"

#include "copy/progress_display.h"

namespace tl::win32ui::test {
namespace {

// Registers a class of that name with the default window procedure.
bool Register(Win32WindowSystem& windows, const char* name) {
    WindowClass windowClass;
    windowClass.name = name;
    windowClass.proc = [&windows](WindowHandle w, UINT m, WPARAM wp, LPARAM lp) {
        return windows.DefWindowProc(w, m, wp, lp);
    };
    return windows.RegisterClass(windowClass);
}

COLORREF ScreenPixel(WindowHandle window, int x, int y) {
    const HWND hwnd = ToHwnd(window);
    const HDC dc = ::GetDC(hwnd);
    const COLORREF colour = GetPixel(dc, x, y);
    ::ReleaseDC(hwnd, dc);
    return colour;
}

TEST_F(Win32UiTest, TheProgressBarPaintsItsBluePartOnTheScreen) {
    ProgressState state;
    ASSERT_EQ(RegisterProgressBarClass(windows, state), 1);
    ASSERT_EQ(RegisterTextBarClass(windows, state), 1);
    ASSERT_TRUE(Register(windows, "TlTestOwner"));
    const WindowHandle main =
        windows.CreateWindow("TlTestOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, {}, 0, 0);
    OpenProgressDisplay(windows, windows.Fonts(), state, main);
    ASSERT_TRUE(state.dialog && state.bar && state.textBar);
    EXPECT_FALSE(windows.IsWindowEnabled(main));
    ASSERT_EQ(SetProgressRange(windows, state, 4), 1);
    state.currentFileName = "TLDRV.DLL";
    RedrawFileName(windows, state);
    AdvanceProgress(windows, state, 1);
    AdvanceProgress(windows, state, 1);
    EXPECT_EQ(ReadProgressBarWords(windows, state.bar).position, 2);
    int dark = 0; // the text bar's line: dark letters of the label from (40, 20) on
    for (int x = 40; x < 120; ++x)
        for (int y = 20; y < 34; ++y)
            dark += ScreenPixel(state.textBar, x, y) == kBlack ? 1 : 0;
    EXPECT_GT(dark, 20);
    Rect client; // half done: blue at the left end, white at the right, a black frame
    windows.GetClientRect(state.bar, client);
    EXPECT_EQ(ScreenPixel(state.bar, 3, client.bottom / 2), Rgb(0, 0, 255));
    EXPECT_EQ(ScreenPixel(state.bar, client.right - 3, client.bottom / 2), Rgb(255, 255, 255));
    EXPECT_EQ(ScreenPixel(state.bar, 0, 0), kBlack);
    CloseProgressDisplay(windows, windows.Fonts(), state, main);
    EXPECT_TRUE(windows.IsWindowEnabled(main));
    windows.DestroyWindow(main);
}

TEST_F(Win32UiTest, AnUnattendedLoopWithNothingToWaitForStops) {
    Answer("");
    windows.SetStallLimit(400);
    ASSERT_TRUE(Register(windows, "TlTestIdle"));
    const WindowHandle window =
        windows.CreateWindow("TlTestIdle", "", WS_POPUP, 0, 0, 10, 10, {}, 0, 0);
    const DWORD start = GetTickCount();
    Message message;
    while (windows.GetMessage(message, {}, 0, 0))
        windows.DispatchMessage(message);
    EXPECT_LT(GetTickCount() - start, 20000u);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_NE(stops[0].find("waits for input"), std::string::npos);
    windows.DestroyWindow(window);
}

} // namespace
} // namespace tl::win32ui::test
