// The host program as a user runs it: arguments, answers, transcript and exit codes.
#include "support/program_run.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

namespace tl::test {
namespace {

struct Program : ::testing::Test {
    TempMachine machine;
    const std::string root = machine.Root().string();

    std::string Path(const char* name) const { return (machine.Root() / name).string(); }
    // Runs tlins32a on the machine folder with its input from /dev/null (no terminal).
    ProgramRun Run(std::vector<std::string> arguments, bool onMachine = true) const {
        if (onMachine)
            arguments.insert(arguments.begin(), {"--machine", root});
        return RunProgram(ProgramDir(TL_BINARY_DIR "/bin") / "tlins32a", arguments);
    }
};

TEST_F(Program, HelpAndUnusableArguments) {
    const ProgramRun help = Run({"--help"}, false);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--transcript FILE"), std::string::npos);
    EXPECT_EQ(Run({}, false).exitCode, 2);
    EXPECT_EQ(Run({"--machine", Path("missing")}, false).exitCode, 2);
    EXPECT_EQ(Run({"--bogus"}).exitCode, 2);
    machine.WriteFile("bad.ini", "[Messages]\n139=Perhaps\n");
    const ProgramRun bad = Run({"--answers", Path("bad.ini")});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("line 2"), std::string::npos);
    // A folder is neither an answers file nor a place for a transcript.
    machine.MakeDirectory("folder");
    for (const char* option : {"--answers", "--transcript"}) {
        const ProgramRun folder = Run({option, Path("folder")});
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
    const ProgramRun run = Run({});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("a key nested deeper than 512 levels"), std::string::npos) << run.err;
    EXPECT_EQ(machine.ReadFile("drive_c/WINDOWS/SYSTEM.INI"), "[386Enh]\r\n");
}

// No install disk: start-up reports the missing INSTALL.INF and ends (status 1603). Answers never
// asked for are named; one that cannot be given stops the run with exit 3.
TEST_F(Program, AnsweredRunNamesUnusedAnswersAndStopsOnOneItCannotGive) {
    machine.WriteFile("a.ini", "[Messages]\n132=OK\n140=Yes\n[FONT#2]\nPress=1\n");
    const ProgramRun run = Run({"--answers", Path("a.ini"), "--", "/ND"});
    EXPECT_EQ(run.exitCode, 1603 % 256);
    EXPECT_NE(run.err.find("answers [Messages] 140 were never asked for"), std::string::npos);
    EXPECT_NE(run.err.find("answers [FONT#2] were never asked for"), std::string::npos) << run.err;
    machine.WriteFile("a.ini", "[Messages]\n132=Yes\n");
    const ProgramRun refused = Run({"--answers", Path("a.ini")});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_NE(refused.err.find("message 132"), std::string::npos);
}

} // namespace
} // namespace tl::test
