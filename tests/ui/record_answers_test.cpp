// Answers files: read (sections in order, mistakes by their line), and written by
// --record-answers so that they replay the same run.
#include "platform/host/iconv_code_page.h"
#include "support/folder_files.h"
#include "support/program_run.h"
#include "support/temp_machine.h"
#include "support/terminal_run.h"
#include "support/transcript_lines.h"
#include "ui/unattended/answers.h"
#include "ui/unattended/answers_recorder.h"
#include "ui/unattended/stream_line_sink.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

namespace tl::ui {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

TEST(Answers, ReadsMessagesAndDialogSectionsInTheOrderWritten) {
    auto parse = Answers::Parse("\xEF\xBB\xBF; answers for a test\n"
                                "[Messages]\n"
                                "139=No               ; declines the driver\r\n"
                                "139#2 = yes\n"
                                "cannot create dialogbox=OK\n"
                                "[selectdrv]\n"
                                "119=Telmora 600\n"
                                "Press=1\n"
                                "[DIRECTORY#2]\n"
                                "117=D:\\FONTS;X\n"
                                "[SelectDrive]\n"
                                "650=\n");
    ASSERT_TRUE(parse.answers) << parse.error;
    const Answers& answers = *parse.answers;
    EXPECT_EQ(answers.ForMessage("139", 1)->result, IDNO);
    EXPECT_EQ(answers.ForMessage("139", 2)->result, IDYES);
    EXPECT_EQ(answers.ForMessage("139", 3)->result, IDNO);
    EXPECT_EQ(answers.ForMessage("Cannot Create DialogBox", 1)->result, IDOK);
    EXPECT_EQ(answers.ForMessage("140", 1), nullptr);

    const DialogAnswers* model = answers.ForDialog("SELECTDRV", 1);
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->values.size(), 1u);
    EXPECT_EQ(model->values[0].id, 119);
    EXPECT_EQ(model->values[0].value, "Telmora 600");
    EXPECT_EQ(model->press, "1");
    EXPECT_EQ(answers.ForDialog("DIRECTORY", 1), nullptr);
    ASSERT_NE(answers.ForDialog("DIRECTORY", 2), nullptr);
    EXPECT_EQ(answers.ForDialog("DIRECTORY", 2)->values[0].value, "D:\\FONTS;X"); // no blank
    EXPECT_EQ(answers.ForDialog("SELECTDRIVE", 1)->values[0].value, "");
}

TEST(Answers, MistakesAreReportedWithTheirLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"[Mesages]\n139=No\n", "line 1"},
        {"[Messages]\n139=Maybe\n", "Yes, No, OK or Cancel"},
        {"139=No\n", "before any section"},
        {"[FONT]\nContinue=1\n", "not a control id"},
        {"[FONT]\nPress=Continue\n", "Press"},
        {"[FONT]\n110\n", "name=value"},
        {"[FONT#0]\n", "neither"},
        {"[FONT]\n[font]\n", "twice"},
        {"[Messages\n", "]"},
    };
    for (const auto& [text, says] : cases) {
        auto parse = Answers::Parse(text);
        EXPECT_FALSE(parse.answers) << text;
        EXPECT_NE(parse.error.find(says), std::string::npos) << text << ": " << parse.error;
    }
}

ControlSnapshot Control(int id, ControlType type, std::string text = {}) {
    ControlSnapshot control;
    control.id = id;
    control.type = type;
    control.text = std::move(text);
    control.isCheckable = type == ControlType::CheckButton;
    return control;
}

TEST(AnswersRecorder, WritesChangedControlsPressAndOccurrencesThatParseBack) {
    host::IconvCodePage codePage;
    std::ostringstream text;
    StreamLineSink out{text};
    AnswersRecorder recorder(out, codePage);
    MessageBoxRequest box;
    box.key = "139";
    box.type = MB_YESNO;
    recorder.MessageBoxShown(box, IDYES);
    box.occurrence = 2;
    recorder.MessageBoxShown(box, IDNO);

    // Radio 20 cleared and 21 checked; an edit typed into; a list's selection; a disabled edit
    // the dialog changed itself; a button pressed.
    DialogRecord choice;
    choice.name = "DIRECTORY";
    choice.opened.controls = {Control(20, ControlType::CheckButton),
                              Control(21, ControlType::CheckButton),
                              Control(117, ControlType::Edit, "C:\\WINDOWS\\FONTS"),
                              Control(110, ControlType::List),
                              Control(112, ControlType::Edit, "8"),
                              Control(1, ControlType::PushButton)};
    choice.opened.controls[0].checked = true;
    choice.opened.controls[3].items = {"A", codePage.FromUtf8("명조"), "C"};
    choice.opened.controls[3].selected = {0};
    choice.closed = choice.opened;
    choice.closed.controls[0].checked = false;
    choice.closed.controls[1].checked = true;
    choice.closed.controls[2].text = "C:\\TTF";
    choice.closed.controls[3].selected = {1, 2};
    choice.closed.controls[4].text = "5";
    choice.closed.controls[4].enabled = false;
    choice.pressed = 1;
    choice.result = 1;
    recorder.DialogClosed(choice);
    DialogRecord waiting; // modeless: asks nothing, but counts as an opening
    waiting.name = "DIRECTORY";
    recorder.DialogClosed(waiting);
    DialogRecord again = waiting;
    again.pressed = IDCANCEL; // Escape, in a dialog without a control 2
    again.result = 0;
    recorder.DialogClosed(again);

    EXPECT_EQ(text.str(),
              "; Answers recorded by tlins32a --record-answers; replay them with --answers.\n"
              "[Messages]\n139=Yes\n139#2=No\n"
              "[DIRECTORY]\n20=0\n21=1\n117=C:\\TTF\n110=명조,C\nPress=1\n"
              "[DIRECTORY#3]\nPress=Escape\n");
    const AnswersParse parse = Answers::Parse(text.str());
    ASSERT_TRUE(parse.answers) << parse.error;
    EXPECT_EQ(parse.answers->ForMessage("139", 2)->result, IDNO);
    EXPECT_EQ(parse.answers->ForDialog("DIRECTORY", 3)->press, "Escape");
}

// An interactive session at a terminal, recorded, then replayed from the recording on a PC that
// started alike: the same transcript (but for times and the unattended exit status) and the
// same machine folder, byte for byte.
TEST(RecordAnswers, ATerminalSessionReplaysToTheSameTranscriptAndMachine) {
    test::TempMachine scratch;
    const fs::path bin = test::ProgramDir(TL_BINARY_DIR "/bin");
    const fs::path interactive = scratch.Root() / "interactive";
    const fs::path replayed = scratch.Root() / "replayed";
    ASSERT_EQ(test::RunProgram(bin / "tlmachine", {"init", interactive.string(), "--ecp", "LPT1"})
                  .exitCode,
              0);
    // Free space as a fixed figure: the dialogs show it.
    std::ofstream(interactive / "machine.ini", std::ios::app) << "[Drive.C]\nFreeBytes=50000000\n";
    fs::copy(interactive, replayed, fs::copy_options::recursive);
    const std::string disk = TL_SOURCE_DIR "/examples/disk";
    const std::string answers = (scratch.Root() / "recorded.ini").string();
    const auto transcript = [&](const char* name) { return (scratch.Root() / name).string(); };

    // German, the LP 300, no demonstration page, two fonts into C:\TTF, the rest by default.
    const std::string typed = "21=1\n\n\n119=Telmora LP 300\n\nn\n\n117=C:\\TTF\n\n"
                              "110=Telmora Gothic,Telmora Gungseo\n\n\n\n\n\n\n\n";
    const test::ProgramRun session =
        test::RunAtTerminal(bin / "tlins32a",
                            {"--machine", interactive.string(), "--disk", disk, "--transcript",
                             transcript("interactive.jsonl"), "--record-answers", answers},
                            typed);
    ASSERT_EQ(session.exitCode, 0) << session.out;
    ASSERT_NE(session.out.find("Telmora LP 300"), std::string::npos) << session.out;
    const test::ProgramRun replay = test::RunProgram(
        bin / "tlins32a", {"--machine", replayed.string(), "--disk", disk, "--answers", answers,
                           "--transcript", transcript("replayed.jsonl")});
    EXPECT_EQ(replay.exitCode, 3010 % 256) << replay.err;
    EXPECT_EQ(replay.err, "");

    auto first = test::TranscriptLines::Read(transcript("interactive.jsonl")).Lines();
    auto second = test::TranscriptLines::Read(transcript("replayed.jsonl")).Lines();
    ASSERT_EQ(first.size(), second.size());
    ASSERT_FALSE(first.empty());
    for (std::size_t i = 0; i < first.size(); ++i) {
        first[i].erase("time");
        second[i].erase("time");
    }
    // The end: an unattended run adds its exit status.
    EXPECT_EQ(second.back()["status"], 3010);
    second.back().erase("status");
    EXPECT_EQ(first, second);
    EXPECT_EQ(test::FolderDifferences(test::FolderFiles(interactive), test::FolderFiles(replayed)),
              "");
}

} // namespace
} // namespace tl::ui
