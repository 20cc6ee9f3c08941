// The installer's dialogs and boxes on the system's dialog manager: every template becomes a real
// dialog, answers act on its real controls, F3 reaches the hook. (Answers the program cannot give
// stop a run under Wine in safety-under-wine.sh.)
#include "win32ui_fixture.h"

#include "dialogs/dialog_utils.h"
#include "platform/win32/ui/hangul_font.h"
#include "platform/win32/ui/wide_text.h"
#include "resources/dialog_templates.h"

namespace tl::win32ui::test {
namespace {

INT_PTR Passive(DialogWindow&, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG || message == WM_COMMAND;
}

TEST_F(Win32UiTest, EveryTemplateBecomesADialogWithItsControlsAndAHangulFont) {
    for (const DialogTemplate& dialogTemplate : AllDialogTemplates()) {
        SCOPED_TRACE(dialogTemplate.name);
        WindowHandle dialog = windows.CreateDialog(dialogTemplate.name, {}, Passive, 0);
        ASSERT_TRUE(dialog);
        for (const DialogItemTemplate& item : dialogTemplate.items) {
            HWND control = GetDlgItem(ToHwnd(dialog), item.id);
            wchar_t name[32] = {};
            GetClassNameW(control, name, 32);
            const wchar_t* expected[] = {L"Button", L"Edit", L"Static", L"ListBox"};
            EXPECT_TRUE(
                item.id == 0xFFFF ||
                (_wcsicmp(name, expected[static_cast<int>(item.controlClass) - 0x80]) == 0 &&
                 (GetWindowLongW(control, GWL_STYLE) & 0xFFFF) == (item.style & 0xFFFF)))
                << "control " << item.id;
        }
        LOGFONTW logFont{};
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(ToHwnd(dialog), WM_GETFONT, 0, 0));
        ASSERT_TRUE(font && GetObjectW(font, sizeof(logFont), &logFont));
        EXPECT_TRUE(FaceHasHangul(WideToAnsi(logFont.lfFaceName)));
        windows.DestroyWindow(dialog);
        EXPECT_FALSE(windows.FindDialog(dialog));
        EXPECT_EQ(recorder.dialogs.back().name, dialogTemplate.name);
    }
}

// The answer types Korean into the real edit up to its limit of 20 bytes and presses the button.
TEST_F(Win32UiTest, AnswersTypeIntoTheRealEditAndPressItsButton) {
    Answer("[PRINTERNAME]\n1006=내 프린터 with a long name\nPress=1\n");
    std::string typed;
    const DialogProc proc = [&](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_INITDIALOG) {
            dialog.SetItemText(1006, "Telmora 600");
            dialog.LimitText(1006, 20);
        } else if (message == WM_COMMAND && LoWord(wParam) == IDOK) {
            typed = dialog.GetItemText(1006, 64);
            dialog.EndDialog(IDOK);
        }
        return INT_PTR{message == WM_INITDIALOG || message == WM_COMMAND};
    };
    EXPECT_EQ(windows.DialogBox("PRINTERNAME", {}, proc, 0), IDOK);
    EXPECT_EQ(typed, Ansi("내 프린터 with a lon"));
    ASSERT_EQ(recorder.dialogs.size(), 1u);
    EXPECT_EQ(recorder.dialogs[0].opened.Find(1006)->text, "Telmora 600");
    EXPECT_EQ(recorder.dialogs[0].closed.Find(1006)->text, typed);
    EXPECT_TRUE(stops.empty());
}

// F3 goes through the dialog's own message loop to the message-filter hook, which presses exit.
TEST_F(Win32UiTest, F3ReachesTheMessageFilterHookAndPressesTheExitButton) {
    struct F3Frontend final : ui::Frontend {
        ui::MessageBoxAnswer AnswerMessageBox(const ui::MessageBoxRequest& request) override {
            return {request.DefaultResult(), {}};
        }
        std::optional<std::string> DriveDialog(ui::DialogDriver& dialog, int attempt) override {
            if (attempt > 1)
                return "F3 did not close " + dialog.Name();
            dialog.PressKey(VK_F3);
            return std::nullopt;
        }
    } f3;
    windows.SetFrontend(&f3);
    DialogUtilState state;
    const DialogProc proc = [&](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_INITDIALOG) {
            state.f3Dialog = dialog.Handle();
            InstallF3Hook(windows, state);
            dialog.SetFocus(117);
        } else if (message == WM_COMMAND && LoWord(wParam) == kF3ExitButtonId) {
            RemoveF3Hook(windows, state);
            dialog.EndDialog(kF3ExitButtonId);
            return INT_PTR{1};
        }
        return INT_PTR{0};
    };
    EXPECT_EQ(windows.DialogBox("DIRECTORY", {}, proc, 0), kF3ExitButtonId);
    EXPECT_TRUE(stops.empty()) << stops.front();
}

// What LZOpenFile's OF_PROMPT or a critical-error handler would show on its own.
TEST_F(Win32UiTest, APlatformBoxIsCancelledAndRecordedAsAPrompt) {
    Answer("");
    EXPECT_EQ(MessageBoxW(nullptr, L"Cannot find DRIVER.DL_", L"Open File", MB_RETRYCANCEL),
              IDCANCEL);
    ASSERT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(recorder.events[0].event, "prompt");
    EXPECT_EQ(Field(recorder.events[0], "text"), "Cannot find DRIVER.DL_");
    EXPECT_EQ(Field(recorder.events[0], "caption"), "Open File");
}

} // namespace
} // namespace tl::win32ui::test
