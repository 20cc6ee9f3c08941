// The host window system's message loop: the order of posted, paint and timer messages, and a
// loop that would wait for ever.
#include "scripted_frontend.h"

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
    Pump(6);
    EXPECT_EQ(log,
              (std::vector<std::string>{"paint", "timer 3 at 800", "timer 2 at 800",
                                        "timer 3 at 1600", "timer 2 at 1600", "timer 1 at 2000"}));
    ASSERT_EQ(frontend.timers.size(), 5u);
    EXPECT_EQ(frontend.timers[4], (std::pair<UINT_PTR, std::uint64_t>{1, 2000}));
}

// A broadcast goes to every top-level window; the event log names it and the text it carries.
TEST_F(LoopTest, BroadcastsReachTheTopWindowsAndAreLogged) {
    struct : EventSink {
        std::vector<PlatformEvent> events;
        void Record(PlatformEvent event) override { events.push_back(std::move(event)); }
    } sink;
    system.SetEventSink(&sink);
    system.PostMessage(kBroadcastWindow, 401, 0, 0);
    const char* device = "Telmora 600";
    system.SendMessage(kBroadcastWindow, WM_DEVMODECHANGE, 0, reinterpret_cast<LPARAM>(device));
    system.SendMessage(kBroadcastWindow, 0x001A, 0, 0); // WM_WININICHANGE without a section
    system.SendMessage(kBroadcastWindow, WM_FONTCHANGE, 0, 0);
    Pump(1);
    EXPECT_EQ(log, (std::vector<std::string>{"user 401"}));
    using Fields = std::vector<std::pair<std::string, PlatformEvent::Value>>;
    const Fields expected[] = {
        {{"message", std::int64_t{401}}},
        {{"message", std::string("WM_DEVMODECHANGE")}, {"text", std::string("Telmora 600")}},
        {{"message", std::string("WM_WININICHANGE")}},
        {{"message", std::string("WM_FONTCHANGE")}}};
    ASSERT_EQ(sink.events.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(sink.events[i].fields, expected[i]) << i;
    EXPECT_EQ(sink.events[0].event, "broadcast");
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
