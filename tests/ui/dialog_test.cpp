// Modal and modeless dialogs of the host window system: keys, typed text, lists, owners, hooks.
#include "platform/window_system.h"
#include "scripted_host.h"
#include "support/plain_window.h"

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
                    dialog.SetCaption("Driver");
                    dialog.SetItemText(2107, "Telmora 600");
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

TEST_F(DialogTest, ModalDialogFromItsTemplateTakesTypedTextAndEnter) {
    frontend.drive = Steps([](ui::DialogDriver& dialog, int) {
        EXPECT_EQ(dialog.Name(), "PRINTERNAME");
        EXPECT_EQ(dialog.DefaultButton(), 1);
        EXPECT_TRUE(dialog.TypeText(1006, "My printer with a name much longer than 31"));
        EXPECT_FALSE(dialog.TypeText(2107, "a static cannot be typed into"));
        dialog.PressKey(VK_RETURN);
    });
    EXPECT_EQ(PrinterName(), 1);
    EXPECT_FALSE(ownerEnabledInside);
    EXPECT_TRUE(system.IsWindowEnabled(owner));
    const auto& record = frontend.dialogs.at(0);
    EXPECT_EQ(record.opened.caption, "Driver");
    EXPECT_EQ(record.opened.Find(1006)->text, "Telmora 600 (Copy 2)");
    EXPECT_EQ(record.closed.Find(1006)->text, "My printer with a name much lon"); // 31 bytes
    EXPECT_EQ(record.pressed, 1);
    EXPECT_EQ(record.result, 1);
    // Setting the text notified once (EN_CHANGE), typing once more, then the default button.
    EXPECT_EQ(commands, (std::vector<std::string>{"1006/768", "1006/768", "1/0"}));
}

TEST_F(DialogTest, EscapeSendsCommandTwoAndARefusedAnswerIsAskedAgain) {
    std::vector<int> attempts;
    frontend.drive = Steps([&](ui::DialogDriver& dialog, int attempt) {
        attempts.push_back(attempt);
        if (attempt < 2)
            dialog.TypeText(1006, "TAKEN");
        dialog.PressKey(attempt < 2 ? VK_RETURN : VK_ESCAPE);
    });
    EXPECT_EQ(PrinterName(), 2);
    EXPECT_EQ(attempts, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(frontend.dialogs.at(0).pressed, 2);
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

TEST_F(DialogTest, ListBoxesSelectAsClicksDoAndNotify) {
    std::vector<int> selectionCounts;
    const DialogProc fonts = [&](DialogWindow& dialog, UINT message, WPARAM wParam,
                                 LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            for (const char* name : {"Gothic", "Myungjo", "Gungseo"})
                dialog.ListAdd(110, name);
            dialog.ListSetSel(110, true, -1);
        } else if (message == WM_COMMAND && LoWord(wParam) == 110 &&
                   HiWord(wParam) == LBN_SELCHANGE) {
            selectionCounts.push_back(dialog.ListSelCount(110));
        } else if (message == WM_COMMAND && LoWord(wParam) == 1) {
            EXPECT_EQ(dialog.ListSelItems(110), (std::vector<int>{0, 2}));
            EXPECT_EQ(dialog.ListSetCurSel(110, 1), LB_ERR); // not for a multiple selection
            dialog.EndDialog(1);
        }
        return TRUE;
    };
    frontend.drive = Steps([](ui::DialogDriver& dialog, int) {
        EXPECT_FALSE(dialog.SelectItems(110, {5}));
        EXPECT_TRUE(dialog.SelectItems(110, {0, 2}));
        dialog.Click(1);
    });
    EXPECT_EQ(system.DialogBox("FONT", owner, fonts, 0), 1);
    EXPECT_EQ(selectionCounts, (std::vector<int>{2}));
    EXPECT_EQ(frontend.dialogs.at(0).opened.Find(110)->selected, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(frontend.dialogs.at(0).closed.Find(110)->selected, (std::vector<int>{0, 2}));

    int notified = 0;
    const DialogProc models = [&](DialogWindow& dialog, UINT message, WPARAM wParam,
                                  LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            dialog.ListAdd(119, "Telmora 300");
            dialog.ListAdd(119, "Telmora 600");
            dialog.ListSetCurSel(119, 0);
            EXPECT_EQ(dialog.ListSelCount(119), LB_ERR); // single selection, as Win32 answers
        } else if (message == WM_COMMAND) {
            notified += LoWord(wParam) == 119;
            if (LoWord(wParam) == 1)
                dialog.EndDialog(dialog.ListGetCurSel(119) + 10);
        }
        return TRUE;
    };
    frontend.drive = Steps([](ui::DialogDriver& dialog, int) {
        EXPECT_FALSE(dialog.SelectItems(119, {0, 1}));
        EXPECT_FALSE(dialog.SelectItems(119, {}));
        EXPECT_TRUE(dialog.SelectItems(119, {1}));
        dialog.PressKey(VK_RETURN);
    });
    EXPECT_EQ(system.DialogBox("SELECTDRV", owner, models, 0), 11);
    EXPECT_EQ(notified, 1);
}

TEST_F(DialogTest, DisabledDefaultButtonIgnoresEnterAndClicks) {
    const DialogProc proc = [](DialogWindow& dialog, UINT message, WPARAM wParam,
                               LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG)
            dialog.EnableItem(1, false);
        if (message == WM_COMMAND)
            dialog.EndDialog(LoWord(wParam));
        return TRUE;
    };
    frontend.drive = Steps([](ui::DialogDriver& dialog, int attempt) {
        if (attempt > 0) {
            EXPECT_TRUE(dialog.Click(118));
        } else {
            EXPECT_FALSE(dialog.Click(1));
            dialog.PressKey(VK_RETURN);
        }
    });
    EXPECT_EQ(system.DialogBox("DIRECTORY", owner, proc, 0), 118);
}

TEST_F(DialogTest, UpperCaseEditAndTimersInsideADialog) {
    std::vector<std::string> events;
    const DialogProc proc = [&](DialogWindow& dialog, UINT message, WPARAM wParam,
                                LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            dialog.SetItemText(117, "c:\\windows\\fonts");
            dialog.SetTimer(1, 800);
        } else if (message == WM_TIMER) {
            events.push_back("timer at " + std::to_string(system.Now()));
            dialog.KillTimer(wParam);
            dialog.BringToTop();
        } else if (message == WM_COMMAND && LoWord(wParam) == 1) {
            events.push_back(dialog.GetItemText(117, 256));
            dialog.EndDialog(1);
        }
        return TRUE;
    };
    frontend.drive = Steps([](ui::DialogDriver& dialog, int) {
        dialog.TypeText(117, "d:\\fonts\xB0\x61"); // a double-byte character is left alone
        dialog.Click(1);
    });
    EXPECT_EQ(system.DialogBox("CHANGE", owner, proc, 0), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"timer at 800", "D:\\FONTS\xB0\x61"}));
    EXPECT_EQ(frontend.dialogs.at(0).opened.Find(117)->text, "C:\\WINDOWS\\FONTS");
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
        if (message == WM_INITDIALOG)
            f3Dialog = dialog.Handle();
        return EndOnCommand()(dialog, message, wParam, lParam);
    };
    frontend.drive = Steps([](ui::DialogDriver& dialog, int) { dialog.PressKey(VK_F3); });
    EXPECT_EQ(system.DialogBox("DIRECTORY", owner, proc, 0), 118);
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

} // namespace
} // namespace tl::test
