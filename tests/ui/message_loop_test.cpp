// The host window system's message loop: the order of posted, paint and timer messages, and a
// loop that would wait for ever.
#include "scripted_host.h"

namespace tl::test {
namespace {

struct LoopTest : ScriptedHost {
    std::vector<std::string> log;
    WindowHandle window;

    LoopTest() {
        WindowClass main;
        main.name = "TestClass";
        main.proc = [this](WindowHandle w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == WM_PAINT) {
                log.push_back("paint");
                system.EndPaint(w, system.BeginPaint(w));
            } else if (m == WM_TIMER) {
                log.push_back("timer " + std::to_string(wp) + " at " +
                              std::to_string(system.Now()));
            } else if (m == WM_DESTROY) {
                system.PostQuitMessage(7);
            } else if (m >= 400) {
                log.push_back("user " + std::to_string(m));
                return static_cast<LRESULT>(wp + static_cast<WPARAM>(lp));
            } else {
                return system.DefWindowProc(w, m, wp, lp);
            }
            return 0;
        };
        system.RegisterClass(main);
        window = system.CreateWindow("testclass", "Title", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                     {}, 0, 0);
    }
    // Gets and dispatches `count` messages, as WinMain's loop does.
    void Pump(int count) {
        Message message;
        for (int i = 0; i < count && system.GetMessage(message, {}, 0, 0); ++i)
            system.DispatchMessage(message);
    }
};

TEST_F(LoopTest, PostedBeforePaintBeforeTimersAndQuitAfterPosted) {
    ASSERT_TRUE(window);
    system.SetTimer(window, 1, 2000);
    system.PostMessage(window, 400, 0, 0);
    system.PostMessage(window, 405, 0, 0);
    system.SetTimer(window, 2, 5000);
    Pump(5);
    EXPECT_EQ(log, (std::vector<std::string>{"user 400", "user 405", "paint", "timer 1 at 2000",
                                             "timer 1 at 4000"}));
    system.KillTimer(window, 1);
    Pump(1);
    EXPECT_EQ(log.back(), "timer 2 at 5000");
    system.PostMessage(window, 403, 0, 0);
    system.DestroyWindow(window);
    Message message;
    while (system.GetMessage(message, {}, 0, 0))
        system.DispatchMessage(message);
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_FALSE(system.Stopped());
}

TEST_F(LoopTest, TimersFireInDueOrderWithTheirDelaysRecorded) {
    system.SetTimer(window, 3, 800);
    system.SetTimer(window, 1, 2000);
    system.SetTimer(window, 2, 800); // same due time as 3: set later, fires later
    std::vector<UINT_PTR> order;
    for (Message message; order.size() < 3 && system.GetMessage(message, {}, 0, 0);) {
        if (message.message != WM_TIMER) {
            system.DispatchMessage(message);
            continue;
        }
        order.push_back(message.wParam);
        system.KillTimer(window, message.wParam);
    }
    EXPECT_EQ(order, (std::vector<UINT_PTR>{3, 2, 1}));
    ASSERT_EQ(frontend.timers.size(), 3u);
    EXPECT_EQ(frontend.timers[0].second, 800u);
    EXPECT_EQ(frontend.timers[2].second, 2000u);
}

TEST_F(LoopTest, ALoopWithNothingToWaitForStopsInsteadOfHanging) {
    std::string reason;
    system.SetStopHandler([&](const std::string& why) { reason = why; });
    Pump(1000);
    EXPECT_TRUE(system.Stopped());
    EXPECT_NE(reason.find("cannot come"), std::string::npos);
}

// What the hourglass, the busy dialogs and the progress bar rely on, as Windows keeps it: a
// hidden window says so, ShowWindow answers whether it was visible, capture goes only to a live
// window, and SetCursor hands back the cursor it replaced.
TEST_F(LoopTest, VisibilityCaptureAndCursorAreKeptAsWindowsKeepsThem) {
    EXPECT_TRUE(system.IsWindowVisible(window));
    EXPECT_TRUE(system.ShowWindow(window, SW_HIDE));
    EXPECT_FALSE(system.IsWindowVisible(window));
    EXPECT_FALSE(system.ShowWindow(window, SW_HIDE));
    EXPECT_FALSE(system.IsWindowVisible(WindowHandle{0x7777u}));

    EXPECT_FALSE(system.SetCapture(window));
    EXPECT_EQ(system.GetCapture(), window);
    EXPECT_EQ(system.SetCapture(WindowHandle{0x7777u}), window);
    EXPECT_FALSE(system.GetCapture());
    system.SetCapture(window);
    EXPECT_TRUE(system.ReleaseCapture());
    EXPECT_FALSE(system.GetCapture());

    const Cursor wait = system.LoadCursor(IDC_WAIT);
    const Cursor before = system.SetCursor(wait);
    EXPECT_EQ(system.CurrentCursor(), wait);
    EXPECT_EQ(system.SetCursor(before), wait);
    EXPECT_EQ(system.CurrentCursor(), before);
}

} // namespace
} // namespace tl::test
