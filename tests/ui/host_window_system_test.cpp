// The host window system: its message loop (the order of posted, paint and timer messages,
// broadcasts, a loop that would wait for ever) and its modal dialogs: limits on typed text, refused
// answers, lists that refuse impossible selections, disabled buttons, hooks, windows freed after
// their end, and the hidden list of the font-source dialog that tests a typed path by listing it
// (DlgDirList): DOS wildcards without regard to case, a last name that is a pattern, and paths that
// list nothing.
#include "platform/host/machine_config.h"
#include "platform/host/ui/machine_directories.h"
#include "platform/window_system.h"
#include "scripted_frontend.h"
#include "support/plain_window.h"
#include "support/temp_machine.h"

namespace tl::test {
namespace {

struct DialogTest : ScriptedHost {
    WindowHandle owner = CreatePlainWindow(system);
    std::vector<std::string> commands;
    bool ownerEnabledInside = true;

    // In the manner of the printer-name dialog: OK refuses a taken name.
    INT_PTR PrinterName() {
        return system.DialogBox(
            "printername", owner,
            [this](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
                if (message == WM_INITDIALOG) {
                    dialog.SetItemText(1006, "Telmora 600 (Copy 2)");
                    dialog.LimitText(1006, 31);
                    return TRUE;
                }
                if (message != WM_COMMAND)
                    return FALSE;
                commands.push_back(std::to_string(LoWord(wParam)) + "/" +
                                   std::to_string(HiWord(wParam)));
                ownerEnabledInside = system.IsWindowEnabled(owner) != FALSE;
                if (LoWord(wParam) == IDOK && dialog.GetItemText(1006, 256) != "TAKEN")
                    dialog.EndDialog(1);
                if (LoWord(wParam) == IDCANCEL)
                    dialog.EndDialog(2);
                return TRUE;
            },
            0);
    }
};

TEST_F(DialogTest, TypedTextIsCutAtItsLimitAndARefusedAnswerIsAskedAgainUntilEscape) {
    frontend.drive = Steps([](ui::DialogDriver& dialog, int) {
        EXPECT_TRUE(dialog.TypeText(1006, "My printer with a name much longer than 31"));
        EXPECT_FALSE(dialog.TypeText(2107, "a static cannot be typed into"));
        dialog.PressKey(VK_RETURN);
    });
    EXPECT_EQ(PrinterName(), 1);
    EXPECT_FALSE(ownerEnabledInside);
    EXPECT_TRUE(system.IsWindowEnabled(owner));
    EXPECT_EQ(frontend.dialogs.at(0).closed.Find(1006)->text, "My printer with a name much lon");
    // Setting the text notified once (EN_CHANGE), typing once more, then the default button.
    EXPECT_EQ(commands, (std::vector<std::string>{"1006/768", "1006/768", "1/0"}));

    std::vector<int> attempts;
    frontend.drive = Steps([&](ui::DialogDriver& dialog, int attempt) {
        attempts.push_back(attempt);
        dialog.TypeText(1006, "TAKEN");
        dialog.PressKey(attempt < 2 ? VK_RETURN : VK_ESCAPE);
    });
    EXPECT_EQ(PrinterName(), 2);
    EXPECT_EQ(attempts, (std::vector<int>{0, 1, 2}));
}

TEST_F(DialogTest, AFrontendErrorStopsTheRunAndEndsTheDialogWithMinusOne) {
    std::string reason;
    system.SetStopHandler([&](const std::string& why) { reason = why; });
    frontend.drive = [](ui::DialogDriver&, int) -> std::optional<std::string> {
        return "no way on";
    };
    EXPECT_EQ(PrinterName(), -1);
    EXPECT_EQ(reason, "no way on");
    EXPECT_EQ(PrinterName(), -1); // stopped: no more dialogs
    EXPECT_EQ(system.DialogBox("NO_SUCH_TEMPLATE", owner, {}, 0), -1);
}

// Selections a click could not make are refused; a disabled default button ignores Enter.
TEST_F(DialogTest, ListsAndButtonsRefuseWhatAClickCouldNotDo) {
    const DialogProc fonts = [](DialogWindow& dialog, UINT message, WPARAM wParam,
                                LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            dialog.ListAdd(110, "Gothic");
            dialog.ListAdd(110, "Myungjo");
        } else if (message == WM_COMMAND && LoWord(wParam) == 1) {
            EXPECT_EQ(dialog.ListSetCurSel(110, 1), LB_ERR); // not for a multiple selection
            EXPECT_EQ(dialog.ListSelItems(110), (std::vector<int>{0, 1}));
            dialog.EndDialog(1);
        }
        return TRUE;
    };
    frontend.drive = Steps([](ui::DialogDriver& dialog, int) {
        EXPECT_FALSE(dialog.SelectItems(110, {5}));
        EXPECT_TRUE(dialog.SelectItems(110, {0, 1}));
        dialog.Click(1);
    });
    EXPECT_EQ(system.DialogBox("FONT", owner, fonts, 0), 1);
    EXPECT_EQ(frontend.dialogs.at(0).closed.Find(110)->selected, (std::vector<int>{0, 1}));

    const DialogProc models = [](DialogWindow& dialog, UINT message, WPARAM wParam,
                                 LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            dialog.ListAdd(119, "Telmora 300");
            dialog.ListAdd(119, "Telmora 600");
            dialog.ListSetCurSel(119, 0);
            EXPECT_EQ(dialog.ListSelCount(119), LB_ERR); // single selection, as Win32 answers
            EXPECT_TRUE(dialog.ListSelItems(119).empty());
            dialog.EnableItem(1, false);
        } else if (message == WM_COMMAND && LoWord(wParam) != 119) {
            dialog.EndDialog(LoWord(wParam) * 10 + dialog.ListGetCurSel(119));
        }
        return TRUE;
    };
    frontend.drive = Steps([](ui::DialogDriver& dialog, int) {
        EXPECT_FALSE(dialog.SelectItems(119, {0, 1}));
        EXPECT_FALSE(dialog.SelectItems(119, {}));
        EXPECT_TRUE(dialog.SelectItems(119, {1}));
        EXPECT_FALSE(dialog.Click(1));
        dialog.PressKey(VK_RETURN);
        EXPECT_TRUE(dialog.Click(118));
    });
    EXPECT_EQ(system.DialogBox("SELECTDRV", owner, models, 0), 1181);
}

TEST_F(DialogTest, FilterHookSeesKeysBeforeTheDialog) {
    WindowHandle f3Dialog;
    const HookHandle hook = system.SetWindowsHookEx(
        WH_MSGFILTER, [&](int code, WPARAM, const Message& message) -> LRESULT {
            if (code != MSGF_DIALOGBOX || system.GetParent(message.window) != f3Dialog ||
                message.message != WM_KEYDOWN || message.wParam != VK_F3)
                return 0;
            system.PostMessage(f3Dialog, WM_COMMAND, 118, 0);
            return 1;
        });
    ASSERT_TRUE(hook);
    const DialogProc proc = [&](DialogWindow& dialog, UINT message, WPARAM wParam,
                                LPARAM lParam) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            f3Dialog = dialog.Handle();
            EXPECT_EQ(system.FindDialog(f3Dialog), &dialog);
        }
        return EndOnCommand()(dialog, message, wParam, lParam);
    };
    frontend.drive = Steps([](ui::DialogDriver& dialog, int) { dialog.PressKey(VK_F3); });
    EXPECT_EQ(system.DialogBox("DIRECTORY", owner, proc, 0), 118);
    EXPECT_FALSE(system.FindDialog(f3Dialog)); // ended: gone, as IsWindow would say
    EXPECT_FALSE(system.FindDialog(owner));    // not a dialog
    EXPECT_TRUE(system.UnhookWindowsHookEx(hook));
    EXPECT_FALSE(system.UnhookWindowsHookEx(hook));
}

// A dialog that destroys itself ends and frees its owner; destroyed windows are freed by the
// next GetMessage (a thousand dialogs once grew every later one's cost).
TEST_F(DialogTest, DestroyedWindowsAreFreedByTheNextGetMessage) {
    const std::size_t before = system.WindowCount();
    const DialogProc destroys = [&](DialogWindow& dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND)
            system.DestroyWindow(dialog.Handle());
        return message == WM_INITDIALOG;
    };
    EXPECT_EQ(system.DialogBox("VER_CHECK", owner, destroys, 0), 0);
    EXPECT_TRUE(system.IsWindowEnabled(owner));
    EXPECT_FALSE(system.Stopped());
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(system.DialogBox("FONT", owner, EndOnCommand(), 0), 1);
    EXPECT_GT(system.WindowCount(), before);
    system.PostMessage(owner, WM_USER, 0, 0);
    Message message;
    ASSERT_TRUE(system.GetMessage(message, {}, 0, 0));
    EXPECT_EQ(system.WindowCount(), before);
}

using DirList = ScriptedHost;

TEST_F(DirList, ListsAMachineDirectoryIntoAListAndMakesItCurrent) {
    TempMachine machine;
    machine.WriteFile("drive_c/FONTS/GULIM.TTF", "x");
    machine.WriteFile("drive_c/FONTS/TAG", "x");
    machine.MakeDirectory("drive_c/FONTS/OLD");
    auto config = host::LoadMachineConfig(machine.Root(), codePage);
    ASSERT_TRUE(config.config) << config.error;
    host::MachinePathResolver paths(*config.config, codePage);
    std::vector<std::string> seen; // result, pattern left, static, current directory, list
    const DialogProc proc = [&](DialogWindow& dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        for (std::string pattern :
             {"c:\\fonts", "C:\\FONTS\\g?lim*.ttf", "C:\\NOWHERE\\X", "Q:\\", "C:\\NOWHERE"}) {
            if (message != WM_INITDIALOG)
                break;
            const int listed = dialog.DirList(pattern, 651, 652, DDL_DRIVES | DDL_DIRECTORY);
            seen.push_back(std::to_string(listed) + " " + pattern + " " +
                           dialog.GetItemText(652, 256) + " " + paths.GetCurrentDirectory() + ":");
            for (int i = 0; i < dialog.ListCount(651); ++i)
                seen.back() += " " + dialog.ListText(651, i);
        }
        dialog.EndDialog(1);
        return TRUE;
    };
    EXPECT_EQ(system.DialogBox("SelectDrive", {}, proc, 0), 1); // without a lister, nothing
    EXPECT_EQ(seen.at(0), "0 c:\\fonts  A:\\:");
    seen.clear();
    system.SetDirectoryLister(host::MachineDirectoryLister(paths, *config.config, codePage));
    EXPECT_EQ(system.DialogBox("SelectDrive", {}, proc, 0), 1);
    // A last name that is no directory is a file pattern, as DlgDirList reads it.
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "1 *.* C:\\fonts C:\\fonts: GULIM.TTF TAG [OLD] [-c-]",
                        "1 g?lim*.ttf C:\\FONTS C:\\FONTS: GULIM.TTF [OLD] [-c-]",
                        "0 C:\\NOWHERE\\X C:\\FONTS C:\\FONTS: GULIM.TTF [OLD] [-c-]",
                        "0 Q:\\ C:\\FONTS C:\\FONTS: GULIM.TTF [OLD] [-c-]",
                        "1 NOWHERE C:\\ C:\\: [FONTS] [-c-]"}));
}

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
