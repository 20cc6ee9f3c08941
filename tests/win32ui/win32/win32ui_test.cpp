// The installer's windows on USER32 and GDI: every template becomes a real dialog, answers act on
// its real controls, F3 reaches the hook; code page 949 through the wide calls (texts round-trip,
// a control's text is cut like the system's buffer cuts it, never inside a double-byte character)
// and DlgDirList; the progress display painted by GDI, and an unattended message loop that would
// wait for ever. They run under Wine on an X display (Xvfb), with the real USER32 and GDI.
// (Answers the program cannot give stop a run under Wine in safety-under-wine.sh.)
#include "copy/progress_display.h"
#include "dialogs/dialog_utils.h"
#include "platform/win32/ui/hangul_font.h"
#include "platform/win32/ui/wide_text.h"
#include "platform/win32/ui/win32_window_system.h"
#include "platform/win32/win32_code_page.h"
#include "resources/dialog_templates.h"
#include "ui/unattended/answers.h"
#include "ui/unattended/unattended_frontend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace tl::win32ui::test {
namespace {

// TL_TEXT_CALLS=ansi runs the tests on the ANSI calls of Windows 95 (with a Korean code page).
TextCalls TestTextCalls() {
    char value[16] = {};
    GetEnvironmentVariableA("TL_TEXT_CALLS", value, sizeof value);
    return std::string_view(value) == "ansi" ? TextCalls::Ansi : TextCalls::Wide;
}

// Code page 949 bytes of a UTF-8 literal.
std::string Ansi(std::string_view utf8) {
    return win32::Win32CodePage().FromUtf8(utf8);
}

struct Recorder final : ui::Observer, EventSink {
    void MessageBoxShown(const ui::MessageBoxRequest&, int) override { ++boxes; }
    void DialogClosed(const ui::DialogRecord& record) override { dialogs.push_back(record); }
    void TimerFired(UINT_PTR, UINT, std::uint64_t) override {}
    void Record(PlatformEvent event) override { events.push_back(std::move(event)); }

    int boxes = 0;
    std::vector<ui::DialogRecord> dialogs;
    std::vector<PlatformEvent> events;
};

// The program's code page 949, a window system on the test's thread, and a recorder of what it
// reports.
struct Win32UiTest : ::testing::Test {
    Win32UiTest() : windows(GetModuleHandleW(nullptr), codePage, TestTextCalls()) {
        windows.SetObserver(&recorder);
        windows.SetEventSink(&recorder);
        windows.SetStopHandler([this](const std::string& reason) { stops.push_back(reason); });
    }
    ~Win32UiTest() override { windows.SetFrontend(nullptr); }

    // Makes the run unattended with these answers (INI text, UTF-8).
    void Answer(const std::string& answersText) {
        ui::AnswersParse parse = ui::Answers::Parse(answersText);
        ASSERT_TRUE(parse.answers) << parse.error;
        answers = std::move(parse.answers);
        frontend = std::make_unique<ui::UnattendedFrontend>(&*answers, codePage);
        windows.SetFrontend(frontend.get());
    }

    win32::Win32CodePage codePage;
    Win32WindowSystem windows;
    Recorder recorder;
    std::vector<std::string> stops;
    std::optional<ui::Answers> answers;
    std::unique_ptr<ui::UnattendedFrontend> frontend;
};

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
    using Fields = std::vector<std::pair<std::string, PlatformEvent::Value>>;
    EXPECT_EQ(recorder.events[0].fields, (Fields{{"caption", std::string("Open File")},
                                                 {"text", std::string("Cannot find DRIVER.DL_")},
                                                 {"answer", std::string("cancel")}}));
}

TEST(WideText, KoreanBytesRoundTripThroughUtf16) {
    const std::string korean = "\xC7\xC1\xB8\xB0\xC5\xCD"; // "프린터" in code page 949
    EXPECT_EQ(AnsiToWide(korean), L"\uD504\uB9B0\uD130");
    EXPECT_EQ(WideToAnsi(AnsiToWide(korean)), korean);
    EXPECT_EQ(WideToAnsi(L"\u00E9t\u00E9"), "?t?"); // not in code page 949
    EXPECT_TRUE(AnsiToWide("").empty());
}

// SELECTDRIVE tests a typed path by listing it into its hidden list: a directory lists, a path
// that names none does not.
TEST_F(Win32UiTest, ItemTextIsCutAtTheBufferAndDirListListsOnlyAnExistingDirectory) {
    std::string seen, whole;
    std::vector<int> listed;
    std::vector<std::string> items;
    const WindowHandle dialog = windows.CreateDialog(
        "SELECTDRIVE", {},
        [&](DialogWindow& window, UINT message, WPARAM, LPARAM) -> INT_PTR {
            if (message != WM_INITDIALOG)
                return FALSE;
            window.SetItemText(652, Ansi("드라이브:"));
            seen = window.GetItemText(652, 4); // room for 3 bytes: one character and a half
            whole = window.GetItemText(652, 256);
            for (std::string pattern : {"C:\\windows", "C:\\no\\such"}) {
                listed.push_back(window.DirList(pattern, 651, 652, DDL_DRIVES | DDL_DIRECTORY));
                for (int i = 0; listed.size() == 1 && i < window.ListCount(651); ++i)
                    items.push_back(window.ListText(651, i));
            }
            return TRUE;
        },
        0);
    EXPECT_EQ(seen, Ansi("드"));
    EXPECT_EQ(whole, Ansi("드라이브:"));
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_NE(listed[0], 0);
    EXPECT_EQ(listed[1], 0);
    EXPECT_NE(std::find(items.begin(), items.end(), "[-c-]"), items.end());
    EXPECT_NE(std::find(items.begin(), items.end(), "[system32]"), items.end());
    windows.DestroyWindow(dialog);
}

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
