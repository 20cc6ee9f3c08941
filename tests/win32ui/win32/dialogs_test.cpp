// The installer's dialogs on the system's dialog manager: every template becomes a real dialog,
// and the answers of an unattended run act on its real controls.
#include "win32ui_fixture.h"

#include "dialogs/dialog_utils.h"
#include "platform/win32/ui/hangul_font.h"
#include "platform/win32/ui/wide_text.h"
#include "resources/dialog_templates.h"

namespace tl::win32ui::test {
namespace {

const wchar_t* ClassFor(ControlClass controlClass) {
    return controlClass == ControlClass::Button   ? L"Button"
           : controlClass == ControlClass::Edit   ? L"Edit"
           : controlClass == ControlClass::Static ? L"Static"
                                                  : L"ListBox";
}

INT_PTR Passive(DialogWindow&, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

TEST_F(Win32UiTest, EveryTemplateBecomesADialogWithItsControlsAndAHangulFont) {
    for (const DialogTemplate& dialogTemplate : AllDialogTemplates()) {
        SCOPED_TRACE(dialogTemplate.name);
        WindowHandle dialog = windows.CreateDialog(dialogTemplate.name, {}, Passive, 0);
        ASSERT_TRUE(dialog);
        HWND window = ToHwnd(dialog);
        for (const DialogItemTemplate& item : dialogTemplate.items) {
            if (item.id == 0xFFFF)
                continue;
            HWND control = GetDlgItem(window, item.id);
            ASSERT_TRUE(control) << "control " << item.id;
            wchar_t name[32] = {};
            GetClassNameW(control, name, 32);
            EXPECT_EQ(_wcsicmp(name, ClassFor(item.controlClass)), 0) << "control " << item.id;
            EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)) & 0xFFFFu,
                      item.style & 0xFFFFu)
                << "control " << item.id;
        }
        // The dialog's font shows Hangul, whatever face the template names.
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
        LOGFONTW logFont{};
        ASSERT_TRUE(font && GetObjectW(font, sizeof(logFont), &logFont));
        EXPECT_TRUE(FaceHasHangul(WideToAnsi(logFont.lfFaceName)));
        EXPECT_TRUE(windows.FindDialog(dialog));
        windows.DestroyWindow(dialog);
        EXPECT_FALSE(windows.FindDialog(dialog));
        ASSERT_FALSE(recorder.dialogs.empty());
        EXPECT_EQ(recorder.dialogs.back().name, dialogTemplate.name);
        EXPECT_FALSE(recorder.dialogs.back().result); // modeless
    }
}

// PRINTERNAME with a Korean caption and label and a proposed name: the answer types into the
// real edit up to its limit of 20 bytes and presses the real button.
TEST_F(Win32UiTest, AnswersTypeIntoTheRealEditAndPressItsButton) {
    Answer("[PRINTERNAME]\n1006=내 프린터 with a long name\nPress=1\n");
    std::string typed;
    const INT_PTR result = windows.DialogBox(
        "PRINTERNAME", {},
        [&](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
            if (message == WM_INITDIALOG) {
                dialog.SetCaption(Ansi("드라이버 설치"));
                dialog.SetItemText(152, Ansi("프린터 이름:"));
                dialog.SetItemText(1006, "Telmora 600");
                dialog.LimitText(1006, 20);
            } else if (message == WM_COMMAND && LoWord(wParam) == IDOK) {
                typed = dialog.GetItemText(1006, 64);
                dialog.EndDialog(IDOK);
            }
            return message == WM_INITDIALOG || message == WM_COMMAND;
        },
        0);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(typed, Ansi("내 프린터 with a lon"));
    ASSERT_EQ(recorder.dialogs.size(), 1u);
    const ui::DialogRecord& record = recorder.dialogs[0];
    EXPECT_EQ(record.opened.caption, Ansi("드라이버 설치"));
    EXPECT_EQ(record.opened.Find(1006)->text, "Telmora 600");
    EXPECT_EQ(record.closed.Find(1006)->text, typed);
    EXPECT_EQ(record.opened.Find(152)->text, Ansi("프린터 이름:"));
    EXPECT_EQ(record.pressed, IDOK);
    EXPECT_TRUE(stops.empty());
}

// F3 goes through the dialog's own message loop to the installer's message-filter hook, which
// turns it into the exit button.
class F3Frontend final : public ui::Frontend {
public:
    ui::MessageBoxAnswer AnswerMessageBox(const ui::MessageBoxRequest& request) override {
        return {request.DefaultResult(), {}};
    }
    std::optional<std::string> DriveDialog(ui::DialogDriver& dialog, int attempt) override {
        if (attempt > 1)
            return "F3 did not close " + dialog.Name();
        dialog.PressKey(VK_F3);
        return std::nullopt;
    }
};

TEST_F(Win32UiTest, F3ReachesTheMessageFilterHookAndPressesTheExitButton) {
    F3Frontend f3;
    windows.SetFrontend(&f3);
    DialogUtilState state;
    INT_PTR result = windows.DialogBox(
        "DIRECTORY", {},
        [&](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
            if (message == WM_INITDIALOG) {
                state.f3Dialog = dialog.Handle();
                InstallF3Hook(windows, state);
                dialog.SetFocus(117);
                return FALSE;
            }
            if (message == WM_COMMAND && LoWord(wParam) == kF3ExitButtonId) {
                RemoveF3Hook(windows, state);
                dialog.EndDialog(kF3ExitButtonId);
                return TRUE;
            }
            return FALSE;
        },
        0);
    EXPECT_EQ(result, kF3ExitButtonId);
    EXPECT_TRUE(stops.empty()) << stops.front();
}

TEST_F(Win32UiTest, ADialogThatRefusesItsAnswerStopsTheRunInsteadOfWaiting) {
    Answer("[CHANGE]\n117=Q:\\NOWHERE\nPress=1\n");
    INT_PTR result = windows.DialogBox(
        "CHANGE", {},
        [](DialogWindow&, UINT message, WPARAM, LPARAM) -> INT_PTR {
            return message == WM_INITDIALOG || message == WM_COMMAND ? TRUE : FALSE;
        },
        0);
    EXPECT_EQ(result, -1);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_NE(stops[0].find("CHANGE"), std::string::npos) << stops[0];
    ASSERT_EQ(recorder.dialogs.size(), 1u);
    EXPECT_EQ(recorder.dialogs[0].closed.Find(117)->text, "Q:\\NOWHERE");
    // Once stopped, nothing more is shown.
    EXPECT_EQ(windows.DialogBox("CHANGE", {}, Passive, 0), -1);
}

} // namespace
} // namespace tl::win32ui::test
