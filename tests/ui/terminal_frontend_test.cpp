// Questions at a terminal: answers read line by line, and the end of the input.
#include "scripted_host.h"
#include "ui/tui/terminal_frontend.h"

#include <sstream>

namespace tl::ui {
namespace {

struct Terminal : ::testing::Test {
    host::IconvCodePage codePage;
    std::istringstream in;
    std::ostringstream out;
    TerminalFrontend frontend{in, out, codePage};
    host::HostWindowSystem system{frontend, codePage};
    std::string reason;
    Terminal() {
        system.SetStopHandler([this](const std::string& why) { reason = why; });
    }
};

TEST_F(Terminal, AsksUntilItUnderstandsAndTakesDefaultsAtTheEndOfInput) {
    in.str("maybe\nn\n\n");
    EXPECT_EQ(system.MessageBox({}, codePage.FromUtf8("설치?"), "Q", MB_YESNO, "139"), IDNO);
    EXPECT_NE(out.str().find("설치?"), std::string::npos);
    EXPECT_NE(out.str().find("please answer"), std::string::npos);
    EXPECT_EQ(system.MessageBox({}, "x", "Q", MB_OKCANCEL | MB_DEFBUTTON2, "1"), IDCANCEL);
    EXPECT_EQ(system.MessageBox({}, "x", "Q", MB_YESNO, "2"), IDYES); // input has ended
}

TEST_F(Terminal, TheEndOfInputIsACancelAndAQuestionThatKeepsComingBackStopsTheRun) {
    EXPECT_EQ(system.MessageBox({}, "x", "Q", MB_OKCANCEL, "1"), IDCANCEL);
    for (int i = 1; i < 20; ++i)
        ASSERT_EQ(system.DialogBox("SELECTDRIVE", {}, test::EndOnCommand(), 0), IDCANCEL) << i;
    EXPECT_TRUE(reason.empty()) << reason;
    EXPECT_EQ(system.DialogBox("SELECTDRIVE", {}, test::EndOnCommand(), 0), -1);
    EXPECT_NE(reason.find("dialog SELECTDRIVE has opened 20 times"), std::string::npos) << reason;
}

TEST_F(Terminal, FillsInADialogLineByLine) {
    in.str("1006=My printer\n2107=x\npress 2\n");
    const DialogProc proc = [](DialogWindow& dialog, UINT message, WPARAM wParam,
                               LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG)
            dialog.SetItemText(1006, "Telmora 600");
        if (message == WM_COMMAND && LoWord(wParam) == 2)
            dialog.EndDialog(dialog.GetItemText(1006, 256) == "My printer" ? 7 : 8);
        return message == WM_INITDIALOG;
    };
    EXPECT_EQ(system.DialogBox("PRINTERNAME", {}, proc, 0), 7);
    EXPECT_NE(out.str().find("[1006] edit \"Telmora 600\""), std::string::npos);
    EXPECT_NE(out.str().find("control 2107 takes no value"), std::string::npos);
}

TEST_F(Terminal, ADialogThatStaysOpenAfterTheInputEndedStopsTheRun) {
    const DialogProc proc = [](DialogWindow&, UINT message, WPARAM, LPARAM) -> INT_PTR {
        return message == WM_INITDIALOG || message == WM_COMMAND;
    };
    EXPECT_EQ(system.DialogBox("VER_CHECK", {}, proc, 0), -1);
    EXPECT_NE(reason.find("VER_CHECK stays open"), std::string::npos);
}

} // namespace
} // namespace tl::ui
