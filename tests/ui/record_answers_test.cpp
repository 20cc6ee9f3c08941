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

ui::ControlSnapshot Control(int id, ui::ControlType type) {
    ui::ControlSnapshot control;
    control.id = id;
    control.type = type;
    return control;
}

ui::ControlSnapshot Check(int id, bool checked) {
    ui::ControlSnapshot control = Control(id, ui::ControlType::CheckButton);
    control.isCheckable = true;
    control.checked = checked;
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
    ui::ControlSnapshot edit = Control(117, ui::ControlType::Edit);
    edit.text = "C:\\WINDOWS\\FONTS";
    ui::ControlSnapshot list = Control(110, ui::ControlType::List);
    list.items = {"A", codePage.FromUtf8("명조"), "C"};
    list.selected = {0};
    ui::ControlSnapshot figure = Control(112, ui::ControlType::Edit);
    figure.text = "8";
    choice.opened.controls = {Check(20, true),
                              Check(21, false),
                              edit,
                              list,
                              figure,
                              Control(1, ui::ControlType::PushButton)};
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
    ui::DialogRecord again;
    again.name = "DIRECTORY";
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
    EXPECT_EQ(parse.answers->ForMessage("139", 1)->result, IDYES);
    EXPECT_EQ(parse.answers->ForDialog("DIRECTORY", 3)->press, "Escape");
}

std::string WithoutTimes(const json& line) {
    json copy = line;
    copy.erase("time");
    return copy.dump();
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
    const std::string disk = (fs::path(TL_SOURCE_DIR) / "examples/disk").string();
    const fs::path answers = scratch.Root() / "recorded.ini";

    // German, the LP 300, no demonstration page, two fonts into C:\TTF, the rest by default.
    const std::string typed = "21=1\n\n"
                              "\n"
                              "119=Telmora LP 300\n\n"
                              "n\n\n"
                              "117=C:\\TTF\n\n"
                              "110=Telmora Gothic,Telmora Gungseo\n\n"
                              "\n\n\n\n\n\n";
    const test::ProgramRun session = test::RunAtTerminal(
        bin / "tlins32a",
        {"--machine", interactive.string(), "--disk", disk, "--transcript",
         (scratch.Root() / "interactive.jsonl").string(), "--record-answers", answers.string()},
        typed);
    ASSERT_EQ(session.exitCode, 0) << session.out;
    ASSERT_NE(session.out.find("Telmora LP 300"), std::string::npos) << session.out;

    const test::ProgramRun replay =
        test::RunProgram(bin / "tlins32a", {"--machine", replayed.string(), "--disk", disk,
                                            "--answers", answers.string(), "--transcript",
                                            (scratch.Root() / "replayed.jsonl").string()});
    EXPECT_EQ(replay.exitCode, 3010 % 256) << replay.err;
    EXPECT_EQ(replay.err, "");

    const auto first = test::TranscriptLines::Read(scratch.Root() / "interactive.jsonl").Lines();
    const auto second = test::TranscriptLines::Read(scratch.Root() / "replayed.jsonl").Lines();
    ASSERT_EQ(first.size(), second.size());
    ASSERT_FALSE(first.empty());
    for (std::size_t i = 0; i + 1 < first.size(); ++i)
        EXPECT_EQ(WithoutTimes(first[i]), WithoutTimes(second[i])) << "line " << i + 1;
    // The end: an unattended run adds its exit status.
    EXPECT_EQ(first.back()["state"], second.back()["state"]);
    EXPECT_EQ(first.back()["exitCode"], second.back()["exitCode"]);
    EXPECT_EQ(second.back()["status"], 3010);

    EXPECT_EQ(test::FolderDifferences(test::FolderFiles(interactive), test::FolderFiles(replayed)),
              "");
}

} // namespace
} // namespace tl
