// --record-answers: what a run answered, written as an answers file that replays the same run.
#include "platform/host/iconv_code_page.h"
#include "support/folder_files.h"
#include "support/program_run.h"
#include "support/temp_machine.h"
#include "support/terminal_run.h"
#include "support/transcript_lines.h"
#include "ui/unattended/answers.h"
#include "ui/unattended/answers_recorder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

namespace tl {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct Lines final : ui::LineSink {
    std::string text;
    void WriteLine(std::string_view line) override { (text += line) += "\n"; }
};

ui::ControlSnapshot Control(int id, ui::ControlType type, std::string text = {}) {
    ui::ControlSnapshot control;
    control.id = id;
    control.type = type;
    control.text = std::move(text);
    control.isCheckable = type == ui::ControlType::CheckButton;
    return control;
}

TEST(AnswersRecorder, WritesChangedControlsPressAndOccurrencesThatParseBack) {
    host::IconvCodePage codePage;
    Lines out;
    ui::AnswersRecorder recorder(out, codePage);
    ui::MessageBoxRequest box;
    box.key = "139";
    box.type = MB_YESNO;
    recorder.MessageBoxShown(box, IDYES);
    box.occurrence = 2;
    recorder.MessageBoxShown(box, IDNO);

    // Radio 20 cleared and 21 checked; an edit typed into; a list's selection; a disabled edit
    // the dialog changed itself; a button pressed.
    ui::DialogRecord choice;
    choice.name = "DIRECTORY";
    choice.opened.controls = {Control(20, ui::ControlType::CheckButton),
                              Control(21, ui::ControlType::CheckButton),
                              Control(117, ui::ControlType::Edit, "C:\\WINDOWS\\FONTS"),
                              Control(110, ui::ControlType::List),
                              Control(112, ui::ControlType::Edit, "8"),
                              Control(1, ui::ControlType::PushButton)};
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
    ui::DialogRecord waiting; // modeless: asks nothing, but counts as an opening
    waiting.name = "DIRECTORY";
    recorder.DialogClosed(waiting);
    ui::DialogRecord again = waiting;
    again.pressed = IDCANCEL; // Escape, in a dialog without a control 2
    again.result = 0;
    recorder.DialogClosed(again);

    EXPECT_EQ(out.text,
              "; Answers recorded by tlins32a --record-answers; replay them with --answers.\n"
              "[Messages]\n139=Yes\n139#2=No\n"
              "[DIRECTORY]\n20=0\n21=1\n117=C:\\TTF\n110=명조,C\nPress=1\n"
              "[DIRECTORY#3]\nPress=Escape\n");
    const ui::AnswersParse parse = ui::Answers::Parse(out.text);
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
} // namespace tl
