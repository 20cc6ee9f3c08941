#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "scripted_frontend.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

struct DialogFixture : ::testing::Test {
    test::ScriptedFrontend frontend;
    host::IconvCodePage codePage;
    host::HostWindowSystem system{frontend, codePage};
    WindowHandle owner;
    std::vector<std::string> commands;

    void SetUp() override {
        system.SetObserver(&frontend);
        WindowClass main;
        main.name = "Owner";
        main.proc = [this](WindowHandle w, UINT m, WPARAM wp, LPARAM lp) {
            return system.DefWindowProc(w, m, wp, lp);
        };
        system.RegisterClass(main);
        owner = system.CreateWindow("Owner", "", WS_POPUP | WS_VISIBLE, 0, 0, 1023, 767, {}, 0, 0);
    }
};

// A procedure in the manner of the printer-name dialog: OK refuses a taken name.
DialogProc PrinterNameProc(std::vector<std::string>& commands, bool& ownerEnabledInside,
                           WindowSystem& system, WindowHandle owner) {
    return [&commands, &ownerEnabledInside, &system, owner](DialogWindow& dialog, UINT message,
                                                            WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            dialog.SetCaption("Driver");
            dialog.SetItemText(2107, "Telmora 600");
            dialog.SetItemText(1006, "Telmora 600 (Copy 2)");
            dialog.LimitText(1006, 31);
            return TRUE;
        }
        if (message != WM_COMMAND)
            return FALSE;
        commands.push_back(std::to_string(LoWord(wParam)) + "/" + std::to_string(HiWord(wParam)));
        ownerEnabledInside = system.IsWindowEnabled(owner) != FALSE;
        if (LoWord(wParam) == IDOK) {
            if (dialog.GetItemText(1006, 256) == "TAKEN")
                return TRUE;
            dialog.EndDialog(1);
        } else if (LoWord(wParam) == IDCANCEL) {
            dialog.EndDialog(2);
        }
        return TRUE;
    };
}

TEST_F(DialogFixture, ModalDialogFromItsTemplateTakesTypedTextAndEnter) {
    bool ownerEnabledInside = true;
    frontend.drive = [](ui::DialogDriver& dialog, int) -> std::optional<std::string> {
        EXPECT_EQ(dialog.Name(), "PRINTERNAME");
        EXPECT_EQ(dialog.DefaultButton(), 1);
        EXPECT_TRUE(dialog.TypeText(1006, "My printer with a name much longer than 31"));
        EXPECT_FALSE(dialog.TypeText(2107, "a static cannot be typed into"));
        dialog.PressKey(VK_RETURN);
        return std::nullopt;
    };
    INT_PTR result = system.DialogBox(
        "printername", owner, PrinterNameProc(commands, ownerEnabledInside, system, owner), 0);
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(ownerEnabledInside);
    EXPECT_TRUE(system.IsWindowEnabled(owner));
    ASSERT_EQ(frontend.dialogs.size(), 1u);
    const auto& record = frontend.dialogs[0];
    EXPECT_EQ(record.opened.caption, "Driver");
    EXPECT_EQ(record.opened.Find(1006)->text, "Telmora 600 (Copy 2)");
    EXPECT_EQ(record.closed.Find(1006)->text, "My printer with a name much lon"); // 31 bytes
    EXPECT_EQ(record.pressed, 1);
    EXPECT_EQ(record.result, 1);
    // Setting the text notified once (EN_CHANGE), typing once more, then the default button.
    EXPECT_EQ(commands, (std::vector<std::string>{"1006/768", "1006/768", "1/0"}));
}

TEST_F(DialogFixture, EscapeSendsCommandTwoAndARefusedAnswerIsAskedAgain) {
    bool ownerEnabledInside = true;
    std::vector<int> attempts;
    frontend.drive = [&](ui::DialogDriver& dialog, int attempt) -> std::optional<std::string> {
        attempts.push_back(attempt);
        if (attempt < 2) {
            dialog.TypeText(1006, "TAKEN");
            dialog.PressKey(VK_RETURN);
        } else {
            dialog.PressKey(VK_ESCAPE);
        }
        return std::nullopt;
    };
    DialogProc proc = PrinterNameProc(commands, ownerEnabledInside, system, owner);
    EXPECT_EQ(system.DialogBox("PRINTERNAME", owner, proc, 0), 2);
    EXPECT_EQ(attempts, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(frontend.dialogs.at(0).pressed, 2);
}

TEST_F(DialogFixture, AFrontendErrorStopsTheRunAndEndsTheDialogWithMinusOne) {
    std::string reason;
    system.SetStopHandler([&](const std::string& why) { reason = why; });
    frontend.drive = [](ui::DialogDriver&, int) -> std::optional<std::string> {
        return "no way on";
    };
    bool inside = true;
    EXPECT_EQ(
        system.DialogBox("PRINTERNAME", owner, PrinterNameProc(commands, inside, system, owner), 0),
        -1);
    EXPECT_EQ(reason, "no way on");
    EXPECT_EQ(
        system.DialogBox("PRINTERNAME", owner, PrinterNameProc(commands, inside, system, owner), 0),
        -1);
    EXPECT_EQ(system.DialogBox("NO_SUCH_TEMPLATE", owner, {}, 0), -1);
}

TEST_F(DialogFixture, ListBoxesSelectAsClicksDoAndNotify) {
    std::vector<int> selectionCounts;
    DialogProc fontProc = [&](DialogWindow& dialog, UINT message, WPARAM wParam,
                              LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            for (const char* name : {"Gothic", "Myungjo", "Gungseo"})
                dialog.ListAdd(110, name);
            dialog.ListSetSel(110, true, -1);
            return TRUE;
        }
        if (message == WM_COMMAND && LoWord(wParam) == 110 && HiWord(wParam) == LBN_SELCHANGE)
            selectionCounts.push_back(dialog.ListSelCount(110));
        if (message == WM_COMMAND && LoWord(wParam) == 1) {
            EXPECT_EQ(dialog.ListSelItems(110), (std::vector<int>{0, 2}));
            EXPECT_EQ(dialog.ListSetCurSel(110, 1), LB_ERR); // not for a multiple selection
            dialog.EndDialog(1);
        }
        return TRUE;
    };
    frontend.drive = [](ui::DialogDriver& dialog, int) -> std::optional<std::string> {
        EXPECT_FALSE(dialog.SelectItems(110, {5}));
        EXPECT_TRUE(dialog.SelectItems(110, {0, 2}));
        dialog.Click(1);
        return std::nullopt;
    };
    EXPECT_EQ(system.DialogBox("FONT", owner, fontProc, 0), 1);
    EXPECT_EQ(selectionCounts, (std::vector<int>{2}));
    EXPECT_EQ(frontend.dialogs.at(0).opened.Find(110)->selected, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(frontend.dialogs.at(0).closed.Find(110)->selected, (std::vector<int>{0, 2}));

    int notified = 0;
    DialogProc modelProc = [&](DialogWindow& dialog, UINT message, WPARAM wParam,
                               LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            dialog.ListAdd(119, "Telmora 300");
            dialog.ListAdd(119, "Telmora 600");
            dialog.ListSetCurSel(119, 0);
            EXPECT_EQ(dialog.ListSelCount(119), LB_ERR); // single selection, as Win32 answers
            return TRUE;
        }
        if (message == WM_COMMAND && LoWord(wParam) == 119)
            ++notified;
        if (message == WM_COMMAND && LoWord(wParam) == 1)
            dialog.EndDialog(dialog.ListGetCurSel(119) + 10);
        return TRUE;
    };
    frontend.drive = [](ui::DialogDriver& dialog, int) -> std::optional<std::string> {
        EXPECT_FALSE(dialog.SelectItems(119, {0, 1}));
        EXPECT_FALSE(dialog.SelectItems(119, {}));
        EXPECT_TRUE(dialog.SelectItems(119, {1}));
        dialog.PressKey(VK_RETURN);
        return std::nullopt;
    };
    EXPECT_EQ(system.DialogBox("SELECTDRV", owner, modelProc, 0), 11);
    EXPECT_EQ(notified, 1);
}

TEST_F(DialogFixture, DisabledDefaultButtonIgnoresEnterAndClicks) {
    DialogProc proc = [](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            dialog.EnableItem(1, false);
            return TRUE;
        }
        if (message == WM_COMMAND)
            dialog.EndDialog(LoWord(wParam));
        return TRUE;
    };
    frontend.drive = [](ui::DialogDriver& dialog, int attempt) -> std::optional<std::string> {
        if (attempt == 0) {
            EXPECT_FALSE(dialog.Click(1));
            dialog.PressKey(VK_RETURN);
            return std::nullopt;
        }
        EXPECT_TRUE(dialog.Click(118));
        return std::nullopt;
    };
    EXPECT_EQ(system.DialogBox("DIRECTORY", owner, proc, 0), 118);
}

TEST_F(DialogFixture, UpperCaseEditAndTimersInsideADialog) {
    std::vector<std::string> events;
    DialogProc proc = [&](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            dialog.SetItemText(117, "c:\\windows\\fonts");
            dialog.SetTimer(1, 800);
            return TRUE;
        }
        if (message == WM_TIMER) {
            events.push_back("timer at " + std::to_string(system.Now()));
            dialog.KillTimer(wParam);
            dialog.BringToTop();
        }
        if (message == WM_COMMAND && LoWord(wParam) == 1) {
            events.push_back(dialog.GetItemText(117, 256));
            dialog.EndDialog(1);
        }
        return TRUE;
    };
    frontend.drive = [](ui::DialogDriver& dialog, int) -> std::optional<std::string> {
        dialog.TypeText(117, "d:\\fonts\xB0\x61"); // a double-byte character is left alone
        dialog.Click(1);
        return std::nullopt;
    };
    EXPECT_EQ(system.DialogBox("CHANGE", owner, proc, 0), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"timer at 800", "D:\\FONTS\xB0\x61"}));
    EXPECT_EQ(frontend.dialogs.at(0).opened.Find(117)->text, "C:\\WINDOWS\\FONTS");
}

TEST_F(DialogFixture, FilterHookSeesKeysBeforeTheDialog) {
    WindowHandle f3Dialog;
    HookHandle hook = system.SetWindowsHookEx(
        WH_MSGFILTER, [&](int code, WPARAM, const Message& message) -> LRESULT {
            if (code == MSGF_DIALOGBOX && system.GetParent(message.window) == f3Dialog &&
                message.message == WM_KEYDOWN && message.wParam == VK_F3) {
                system.PostMessage(f3Dialog, WM_COMMAND, 118, 0);
                return 1;
            }
            return 0;
        });
    ASSERT_TRUE(hook);
    DialogProc proc = [&](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            f3Dialog = dialog.Handle();
            return TRUE;
        }
        if (message == WM_COMMAND)
            dialog.EndDialog(LoWord(wParam));
        return TRUE;
    };
    frontend.drive = [](ui::DialogDriver& dialog, int) -> std::optional<std::string> {
        dialog.PressKey(VK_F3);
        return std::nullopt;
    };
    EXPECT_EQ(system.DialogBox("DIRECTORY", owner, proc, 0), 118);
    EXPECT_TRUE(system.UnhookWindowsHookEx(hook));
    EXPECT_FALSE(system.UnhookWindowsHookEx(hook));
}

TEST_F(DialogFixture, ModelessDialogIsRecordedWhenDestroyedWithoutResult) {
    DialogProc proc = [](DialogWindow& dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            dialog.SetCaption("Checking");
            dialog.SetItemText(148, "Please wait");
        }
        return FALSE;
    };
    WindowHandle waiting = system.CreateDialog("WAITING", owner, proc, 0);
    ASSERT_TRUE(waiting);
    EXPECT_TRUE(system.IsWindowVisible(waiting));
    ASSERT_NE(system.FindDialog(waiting), nullptr);
    system.FindDialog(waiting)->SetItemText(148, "Done");
    system.DestroyWindow(owner); // owned pop-ups go with their owner
    EXPECT_FALSE(system.IsWindow(waiting));
    ASSERT_EQ(frontend.dialogs.size(), 1u);
    EXPECT_EQ(frontend.dialogs[0].name, "WAITING");
    EXPECT_EQ(frontend.dialogs[0].opened.Find(148)->text, "Please wait");
    EXPECT_EQ(frontend.dialogs[0].closed.Find(148)->text, "Done");
    EXPECT_FALSE(frontend.dialogs[0].result.has_value());
}

TEST_F(DialogFixture, MessageBoxesAnswerWithTheirDefaultButtonAndCountOccurrences) {
    EXPECT_EQ(system.MessageBox(owner, "Install?", "Q", MB_YESNO | MB_ICONQUESTION, "139"), IDYES);
    EXPECT_EQ(system.MessageBox(owner, "Cancel?", "Q", MB_YESNO | MB_DEFBUTTON2, "123"), IDNO);
    EXPECT_EQ(system.MessageBox({}, "x", "Error", MB_OKCANCEL, "Error"), IDOK);
    frontend.boxAnswers.push_back(IDNO);
    EXPECT_EQ(system.MessageBox(owner, "Install?", "Q", MB_YESNO, "139"), IDNO);
    EXPECT_EQ(frontend.boxes.back().occurrence, 2);
}

TEST_F(DialogFixture, AModalDialogThatDestroysItselfEndsAndFreesItsOwner) {
    DialogProc proc = [&](DialogWindow& dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND)
            system.DestroyWindow(dialog.Handle());
        return message == WM_INITDIALOG;
    };
    EXPECT_EQ(system.DialogBox("VER_CHECK", owner, proc, 0), 0);
    EXPECT_TRUE(system.IsWindowEnabled(owner));
    EXPECT_FALSE(system.Stopped());
}

TEST_F(DialogFixture, DestroyedWindowsAreFreedByTheNextGetMessage) {
    std::size_t before = system.WindowCount();
    DialogProc proc = [](DialogWindow& dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND)
            dialog.EndDialog(1);
        return message == WM_INITDIALOG;
    };
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(system.DialogBox("FONT", owner, proc, 0), 1);
    EXPECT_GT(system.WindowCount(), before);
    system.PostMessage(owner, WM_USER, 0, 0);
    Message message;
    ASSERT_TRUE(system.GetMessage(message, {}, 0, 0));
    EXPECT_EQ(system.WindowCount(), before);
}

} // namespace
} // namespace tl
