// The unattended and terminal frontends: answers a user could not give, a run that goes round in
// circles, answers read line by line, and the end of the input.
#include "scripted_frontend.h"
#include "ui/tui/terminal_frontend.h"
#include "ui/unattended/answers.h"
#include "ui/unattended/stream_line_sink.h"
#include "ui/unattended/transcript.h"
#include "ui/unattended/unattended_frontend.h"

#include <sstream>

namespace tl::ui {
namespace {

struct Unattended : ::testing::Test {
    host::IconvCodePage codePage;
    std::optional<Answers> answers;
    std::unique_ptr<UnattendedFrontend> frontend;
    std::unique_ptr<host::HostWindowSystem> system;
    std::ostringstream out;
    StreamLineSink sink{out};
    std::unique_ptr<Transcript> transcript;
    std::string stopped;

    void Start(const std::string& answersText) {
        out.str("");
        stopped.clear();
        auto parse = Answers::Parse(answersText);
        ASSERT_TRUE(parse.answers) << parse.error;
        answers = std::move(parse.answers);
        frontend = std::make_unique<UnattendedFrontend>(&*answers, codePage);
        system = std::make_unique<host::HostWindowSystem>(*frontend, codePage);
        transcript = std::make_unique<Transcript>(sink, codePage);
        system->SetObserver(transcript.get());
        system->SetStopHandler([this](const std::string& why) { stopped = why; });
    }
};

// In the manner of the model dialog: fills list 119, ends with 100 + the selection, or 0 on 118.
DialogProc ModelList(const std::vector<std::string>& models) {
    return [models](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            for (const auto& model : models)
                dialog.ListAdd(119, model);
            dialog.ListSetCurSel(119, 0);
            return TRUE;
        }
        if (message != WM_COMMAND || (LoWord(wParam) != 1 && LoWord(wParam) != 118))
            return FALSE;
        dialog.EndDialog(LoWord(wParam) == 1 ? 100 + dialog.ListGetCurSel(119) : 0);
        return TRUE;
    };
}

TEST_F(Unattended, AnswersAUserCouldNotGiveStopTheRunAtOnce) {
    const DialogProc proc = [](DialogWindow& dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            dialog.ListAdd(110, "Gothic");
            dialog.EnableItem(111, false);
        }
        return FALSE;
    };
    const std::pair<const char*, const char*> cases[] = {
        {"[FONT]\n110=Batang\n", "list 110 has no item \"Batang\""},
        {"[FONT]\n999=x\n", "has no control 999"},
        {"[FONT]\n112=5\n", "takes no value"},
        {"[FONT]\nPress=111\n", "control 111 is disabled"},
        {"[FONT]\nPress=133\n", "has no button 133"},
    };
    for (const auto& [answersText, says] : cases) {
        Start(answersText);
        EXPECT_EQ(system->DialogBox("FONT", {}, proc, 0), -1) << answersText;
        EXPECT_NE(stopped.find(says), std::string::npos) << answersText << ": " << stopped;
        EXPECT_TRUE(system->Stopped());
    }
    Start("[Messages]\n139=OK\n");
    EXPECT_EQ(system->MessageBox({}, "x", "y", MB_YESNO, "139"), IDYES);
    EXPECT_NE(stopped.find("message 139 offers yesno"), std::string::npos) << stopped;
    EXPECT_EQ(out.str(), "");
}

TEST_F(Unattended, TheSameQuestionAnsweredTheSameWayTwentyTimesStopsTheRunNamingIt) {
    Start("[Messages]\n185=OK\n");
    // A drive dialog whose answer brings it back, and a file's question asked for each file:
    // only the first is a wait that cannot end.
    for (int i = 1; i < 20; ++i) {
        EXPECT_NE(system->DialogBox("SELECTDRIVE", {}, ModelList({"A:", "B:"}), 0), -1);
        EXPECT_EQ(system->MessageBox({}, "Put in disk 2", "Disk", MB_OK, "185"), IDOK);
        EXPECT_EQ(system->MessageBox({}, "Replace FILE" + std::to_string(i) + "?", "Replace",
                                     MB_YESNO, "151"),
                  IDYES);
        ASSERT_TRUE(stopped.empty()) << i << ": " << stopped;
    }
    EXPECT_EQ(system->DialogBox("SELECTDRIVE", {}, ModelList({"A:", "B:"}), 0), -1);
    EXPECT_NE(stopped.find("dialog SELECTDRIVE has opened 20 times"), std::string::npos) << stopped;

    // A message box counts by its key and its text; a dialog answered otherwise starts again.
    Start("[SELECTDRV#5]\n119=B\n");
    for (int i = 1; i <= 19; ++i)
        system->MessageBox({}, "Put in disk 2", "Disk", MB_OK, "185");
    for (int i = 1; i <= 22; ++i)
        system->DialogBox("SELECTDRV", {}, ModelList({"A", "B"}), 0);
    EXPECT_TRUE(stopped.empty()) << stopped;
    system->MessageBox({}, "Put in disk 2", "Disk", MB_OK, "185");
    EXPECT_NE(stopped.find("message 185 has been shown 20 times"), std::string::npos) << stopped;
}

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
