// The host program as a user runs it: arguments, answers, transcript and exit codes.
#include "support/program_run.h"
#include "support/temp_machine.h"
#include "support/transcript_lines.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tl {
namespace {

using nlohmann::json;

class Program : public ::testing::Test {
protected:
    test::TempMachine machine;
    const std::string root = machine.Root().string();

    std::string Path(const char* name) const { return (machine.Root() / name).string(); }

    // Runs tlins32a with its input from /dev/null (no terminal).
    static test::ProgramRun Run(const std::vector<std::string>& arguments) {
        return test::RunProgram(test::ProgramDir(TL_BINARY_DIR "/bin") / "tlins32a", arguments);
    }
    std::vector<json> Transcript() const {
        return test::TranscriptLines::Read(Path("t.jsonl")).Lines();
    }
};

TEST_F(Program, HelpAndUnusableArguments) {
    const test::ProgramRun help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--transcript FILE"), std::string::npos);
    EXPECT_EQ(Run({}).exitCode, 2);
    EXPECT_EQ(Run({"--machine", Path("missing")}).exitCode, 2);
    EXPECT_EQ(Run({"--machine", root, "--bogus"}).exitCode, 2);
    machine.WriteFile("bad.ini", "[Messages]\n139=Perhaps\n");
    const test::ProgramRun bad = Run({"--machine", root, "--answers", Path("bad.ini")});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("line 2"), std::string::npos);
    // A folder is neither an answers file nor a place for a transcript.
    machine.MakeDirectory("folder");
    for (const char* option : {"--answers", "--transcript"}) {
        const test::ProgramRun folder = Run({"--machine", root, option, Path("folder")});
        EXPECT_EQ(folder.exitCode, 2) << option;
        EXPECT_NE(folder.err.find("is a folder"), std::string::npos) << option << folder.err;
    }
}

TEST_F(Program, AMachineWhoseRegistryNestsTooDeepIsRefusedBeforeAnythingChanges) {
    std::string deep = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE";
    for (int i = 0; i < 30000; ++i)
        deep += "\\k";
    machine.WriteFile("registry.reg", deep + "]\r\n");
    machine.WriteFile("drive_c/WINDOWS/SYSTEM.INI", "[386Enh]\r\n");
    const test::ProgramRun run = Run({"--machine", root});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("a key nested deeper than 512 levels"), std::string::npos) << run.err;
    EXPECT_EQ(machine.ReadFile("drive_c/WINDOWS/SYSTEM.INI"), "[386Enh]\r\n");
}

TEST_F(Program, AnsweredRunWritesItsTranscript) {
    // No install disk: start-up reports the missing INSTALL.INF and ends.
    machine.WriteFile("a.ini", "[Messages]\n132=OK\n140=Yes\n[FONT#2]\nPress=1\n");
    const test::ProgramRun run = Run({"--machine", root, "--answers", Path("a.ini"), "--transcript",
                                      Path("t.jsonl"), "--", "/ND"});
    // The missing script is a failure: the status says so, the end keeps the program's own code.
    ASSERT_EQ(run.exitCode, 1603 % 256);
    auto lines = Transcript();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], json::parse(R"({"event":"error","operation":"GetFileAttributes",
                                        "file":"A:\\INSTALL.INF","code":2})"));
    EXPECT_EQ(lines[1]["key"], "132");
    EXPECT_EQ(lines[1]["caption"], "드라이버 설치");
    EXPECT_EQ(lines[1]["answer"], "ok");
    EXPECT_EQ(lines[2], json::parse(R"({"event":"end","state":0,"exitCode":0,"status":1603})"));
    EXPECT_NE(run.err.find("answers [Messages] 140 were never asked for"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("answers [FONT#2] were never asked for"), std::string::npos) << run.err;
}

TEST_F(Program, AnAnswerThatCannotBeGivenStopsWithExitThree) {
    machine.WriteFile("a.ini", "[Messages]\n132=Yes\n");
    const test::ProgramRun run =
        Run({"--machine", root, "--answers", Path("a.ini"), "--transcript", Path("t.jsonl")});
    EXPECT_EQ(run.exitCode, 3);
    auto lines = Transcript();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back()["event"], "end");
    EXPECT_EQ(lines.back()["exitCode"], 3);
    EXPECT_NE(lines.back()["error"].get<std::string>().find("message 132"), std::string::npos);
    EXPECT_NE(run.err.find("message 132"), std::string::npos);
}

} // namespace
} // namespace tl
