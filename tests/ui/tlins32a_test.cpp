// The host program as a user runs it: arguments, answers, transcript and exit codes.
#include "support/temp_machine.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>
#include <sys/wait.h>

namespace tl {
namespace {

using nlohmann::json;

class Program : public ::testing::Test {
protected:
    test::TempMachine machine;

    std::string Path(const char* name) const { return (machine.Root() / name).string(); }

    // Runs tlins32a with its input from /dev/null (no terminal); the exit code.
    int Run(const std::string& arguments) {
        const char* bin = std::getenv("TL_BIN");
        std::string program = std::string(bin ? bin : TL_BINARY_DIR "/bin") + "/tlins32a";
        std::string command =
            program + " " + arguments + " </dev/null >" + Path("out.txt") + " 2>" + Path("err.txt");
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::vector<json> Transcript() const {
        std::vector<json> lines;
        std::ifstream in(Path("t.jsonl"));
        std::string line;
        while (std::getline(in, line))
            lines.push_back(json::parse(line));
        return lines;
    }
};

TEST_F(Program, HelpAndUnusableArguments) {
    EXPECT_EQ(Run("--help"), 0);
    EXPECT_NE(machine.ReadFile("out.txt").find("--transcript FILE"), std::string::npos);
    EXPECT_EQ(Run(""), 2);
    EXPECT_EQ(Run("--machine " + Path("missing")), 2);
    EXPECT_EQ(Run("--machine " + machine.Root().string() + " --bogus"), 2);
    machine.WriteFile("bad.ini", "[Messages]\n139=Perhaps\n");
    EXPECT_EQ(Run("--machine " + machine.Root().string() + " --answers " + Path("bad.ini")), 2);
    EXPECT_NE(machine.ReadFile("err.txt").find("line 2"), std::string::npos);
}

TEST_F(Program, AnsweredRunWritesItsTranscript) {
    // No install disk: start-up reports the missing INSTALL.INF and ends.
    machine.WriteFile("a.ini", "[Messages]\n132=OK\n140=Yes\n[FONT#2]\nPress=1\n");
    ASSERT_EQ(Run("--machine " + machine.Root().string() + " --answers " + Path("a.ini") +
                  " --transcript " + Path("t.jsonl") + " -- /ND"),
              0);
    auto lines = Transcript();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]["key"], "132");
    EXPECT_EQ(lines[0]["caption"], "드라이버 설치");
    EXPECT_EQ(lines[0]["answer"], "ok");
    EXPECT_EQ(lines[1], json::parse(R"({"event":"end","state":0,"exitCode":0})"));
    std::string err = machine.ReadFile("err.txt");
    EXPECT_NE(err.find("answers [Messages] 140 were never asked for"), std::string::npos) << err;
    EXPECT_NE(err.find("answers [FONT#2] were never asked for"), std::string::npos) << err;
}

TEST_F(Program, AnAnswerThatCannotBeGivenStopsWithExitThree) {
    machine.WriteFile("a.ini", "[Messages]\n132=Yes\n");
    EXPECT_EQ(Run("--machine " + machine.Root().string() + " --answers " + Path("a.ini") +
                  " --transcript " + Path("t.jsonl")),
              3);
    auto lines = Transcript();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back()["event"], "end");
    EXPECT_EQ(lines.back()["exitCode"], 3);
    EXPECT_NE(lines.back()["error"].get<std::string>().find("message 132"), std::string::npos);
    EXPECT_NE(machine.ReadFile("err.txt").find("message 132"), std::string::npos);
}

} // namespace
} // namespace tl
