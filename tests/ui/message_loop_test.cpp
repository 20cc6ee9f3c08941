#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "scripted_frontend.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

struct LoopFixture : ::testing::Test {
    test::ScriptedFrontend frontend;
    host::IconvCodePage codePage;
    host::HostWindowSystem system{frontend, codePage};
    std::vector<std::string> log;
    WindowHandle window;

    void SetUp() override {
        system.SetObserver(&frontend);
        WindowClass main;
        main.name = "TestClass";
        main.proc = [this](WindowHandle w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            switch (m) {
            case WM_CREATE:
                log.push_back("create");
                return 0;
            case WM_PAINT: {
                log.push_back("paint");
                PaintContext paint = system.BeginPaint(w);
                system.EndPaint(w, paint);
                return 0;
            }
            case WM_TIMER:
                log.push_back("timer " + std::to_string(wp) + " at " +
                              std::to_string(system.Now()));
                return 0;
            case WM_DESTROY:
                log.push_back("destroy");
                system.PostQuitMessage(7);
                return 0;
            default:
                if (m >= 400) {
                    log.push_back("user " + std::to_string(m));
                    return static_cast<LRESULT>(wp + static_cast<WPARAM>(lp));
                }
                return system.DefWindowProc(w, m, wp, lp);
            }
        };
        ASSERT_TRUE(system.RegisterClass(main));
        window = system.CreateWindow("testclass", "Title", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                     {}, 0, 0);
        ASSERT_TRUE(window);
    }

    // Runs the loop the way WinMain does; returns the quit code.
    int Run() {
        Message message;
        while (system.GetMessage(message, {}, 0, 0)) {
            system.TranslateMessage(message);
            system.DispatchMessage(message);
        }
        return static_cast<int>(message.wParam);
    }
};

TEST_F(LoopFixture, PostedBeforePaintBeforeTimersAndQuitAfterPosted) {
    system.SetTimer(window, 1, 2000);
    system.PostMessage(window, 400, 0, 0);
    system.PostMessage(window, 405, 0, 0);
    log.clear();
    system.SetTimer(window, 2, 5000);
    Message message;
    for (int i = 0; i < 5 && system.GetMessage(message, {}, 0, 0); ++i)
        system.DispatchMessage(message);
    EXPECT_EQ(log, (std::vector<std::string>{"user 400", "user 405", "paint", "timer 1 at 2000",
                                             "timer 1 at 4000"}));
    system.KillTimer(window, 1);
    ASSERT_TRUE(system.GetMessage(message, {}, 0, 0));
    system.DispatchMessage(message);
    EXPECT_EQ(log.back(), "timer 2 at 5000");
    system.PostMessage(window, 403, 0, 0);
    system.DestroyWindow(window);
    EXPECT_EQ(Run(), 7);
    EXPECT_FALSE(system.Stopped());
}

TEST_F(LoopFixture, TimersFireInDueOrderWithTheirDelaysRecorded) {
    system.SetTimer(window, 3, 800);
    system.SetTimer(window, 1, 2000);
    system.SetTimer(window, 2, 800); // same due time as 3: set later, fires later
    Message message;
    std::vector<UINT_PTR> order;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(system.GetMessage(message, {}, 0, 0));
        if (message.message != WM_TIMER) {
            --i;
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

TEST_F(LoopFixture, SendRunsAtOnceWhilePostWaitsForTheLoop) {
    log.clear();
    system.PostMessage(window, WM_USER + 1, 0, 0);
    EXPECT_EQ(system.SendMessage(window, WM_USER + 2, 40, 2), 42);
    EXPECT_EQ(log, (std::vector<std::string>{"user 1026"}));
    Message message;
    ASSERT_TRUE(system.GetMessage(message, {}, 0, 0));
    EXPECT_EQ(message.message, WM_USER + 1);
}

TEST_F(LoopFixture, ALoopWithNothingToWaitForStopsInsteadOfHanging) {
    std::string reason;
    system.SetStopHandler([&](const std::string& why) { reason = why; });
    Message message;
    while (system.GetMessage(message, {}, 0, 0))
        system.DispatchMessage(message);
    EXPECT_TRUE(system.Stopped());
    EXPECT_NE(reason.find("cannot come"), std::string::npos);
}

TEST_F(LoopFixture, InvalidatedWindowsPaintOnUpdateOrFromTheLoop) {
    log.clear();
    Message message;
    ASSERT_TRUE(system.GetMessage(message, {}, 0, 0)); // the paint from creation
    system.DispatchMessage(message);
    EXPECT_FALSE(system.IsInvalid(window));
    system.InvalidateRect(window, nullptr, FALSE);
    EXPECT_TRUE(system.IsInvalid(window));
    system.UpdateWindow(window);
    EXPECT_EQ(log, (std::vector<std::string>{"paint", "paint"}));
    EXPECT_FALSE(system.IsInvalid(window));
}

TEST_F(LoopFixture, CaptureCursorAndEnableAreKept) {
    Cursor wait = system.LoadCursor(IDC_WAIT);
    Cursor previous = system.SetCursor(wait);
    EXPECT_EQ(previous, Cursor{IDC_ARROW});
    EXPECT_EQ(system.CurrentCursor(), wait);
    system.SetCapture(window);
    EXPECT_EQ(system.GetCapture(), window);
    system.ReleaseCapture();
    EXPECT_FALSE(system.GetCapture());
    EXPECT_FALSE(system.EnableWindow(window, FALSE));
    EXPECT_FALSE(system.IsWindowEnabled(window));
    EXPECT_TRUE(system.EnableWindow(window, TRUE));
    EXPECT_EQ(system.FindWindow("TESTCLASS", ""), window);
    EXPECT_FALSE(system.FindWindow("WLInstallWClass", ""));
}

} // namespace
} // namespace tl

#include "platform/host/ui/canvas_recorder.h"

namespace tl {
namespace {

TEST_F(LoopFixture, PaintingGoesToTheCanvasThatTheHostAttaches) {
    host::CanvasRecorder canvas(640, 480);
    WindowClass painter;
    painter.name = "Painter";
    painter.proc = [this](WindowHandle w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m != WM_PAINT)
            return system.DefWindowProc(w, m, wp, lp);
        PaintContext paint = system.BeginPaint(w);
        if (paint.canvas)
            paint.canvas->FillRect(paint.paint, Rgb(0, 0, 255));
        system.EndPaint(w, paint);
        return 0;
    };
    system.RegisterClass(painter);
    WindowHandle other =
        system.CreateWindow("Painter", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, {}, 0, 0);
    WindowHandle shown =
        system.CreateWindow("Painter", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, {}, 0, 0);
    system.SetCanvasSource([&](WindowHandle w) { return w == shown ? &canvas : nullptr; });
    system.UpdateWindow(other); // no canvas for it: validated, nothing recorded
    EXPECT_TRUE(canvas.Ops().empty());
    EXPECT_FALSE(system.IsInvalid(other));
    system.UpdateWindow(shown);
    Rect part{10, 20, 30, 40};
    canvas.ClearOps();
    system.InvalidateRect(shown, &part, FALSE);
    system.UpdateWindow(shown);
    ASSERT_EQ(canvas.Ops().size(), 1u);
    EXPECT_EQ(canvas.Ops()[0].rect, part);
    EXPECT_EQ(canvas.Pixel(15, 25), Rgb(0, 0, 255));
}

} // namespace
} // namespace tl
