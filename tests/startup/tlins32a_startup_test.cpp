// The built tlins32a starting up on the sample install disk.
#include "support/temp_machine.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tl {
namespace {

using nlohmann::json;

class SampleDisk : public ::testing::Test {
protected:
    SampleDisk() { machine.MakeDirectory("drive_c/WINDOWS/SYSTEM"); }

    std::string Path(const char* name) const { return (machine.Root() / name).string(); }

    int Run(const std::string& commandLine = "") {
        const char* bin = std::getenv("TL_BIN");
        std::string program = std::string(bin ? bin : TL_BINARY_DIR "/bin") + "/tlins32a";
        std::string command = program + " --machine " + machine.Root().string() +
                              " --disk " TL_SOURCE_DIR "/examples/disk --transcript " +
                              Path("t.jsonl") + (commandLine.empty() ? "" : " -- " + commandLine) +
                              " </dev/null >/dev/null 2>" + Path("err.txt");
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

    test::TempMachine machine;
};

TEST_F(SampleDisk, StartsUpAndEndsCleanly) {
    machine.WriteFile("drive_c/WINDOWS/~TL00001.txt", "C:\\WINDOWS\\tlsetup.ini");
    EXPECT_EQ(Run(), 0) << machine.ReadFile("err.txt");
    auto lines = Transcript();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back()["event"], "end");
    EXPECT_EQ(lines.back()["exitCode"], 0);
    EXPECT_FALSE(machine.Exists("drive_c/WINDOWS/~TL00001.txt"));
    // The ECP search ran at start and left its answer in WIN.INI.
    EXPECT_NE(machine.ReadFile("drive_c/WINDOWS/WIN.INI").find("[tlsetup]"), std::string::npos);
}

TEST_F(SampleDisk, NoDriverSwitchWaitsForTheTimerAndSkipsTheEcpSearch) {
    EXPECT_EQ(Run("/ND"), 0);
    auto lines = Transcript();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0]["event"], "timer");
    EXPECT_EQ(lines[0]["delay"], 2000);
    EXPECT_EQ(lines.back()["event"], "end");
    EXPECT_EQ(lines.back()["exitCode"], 0);
    // Only the fonts step ran: nobody was asked about the driver.
    for (const json& line : lines)
        EXPECT_NE(line.value("key", ""), "139");
    EXPECT_TRUE(!machine.Exists("drive_c/WINDOWS/WIN.INI") ||
                machine.ReadFile("drive_c/WINDOWS/WIN.INI").find("[tlsetup]") == std::string::npos);
}

TEST_F(SampleDisk, ASecondInstallerOnTheSameMachineIsRefused) {
    // What a running installer holds for as long as it runs.
    int fd = ::open(Path("tlins32a.lock").c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    EXPECT_EQ(Run(), 0);
    ::close(fd);
    auto lines = Transcript();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]["key"], "134");
    EXPECT_EQ(lines[0]["caption"], "경고");
    EXPECT_EQ(lines[0]["icon"], "information");
    EXPECT_EQ(lines[1]["exitCode"], 0);

    // Once the other one has ended, the next run goes ahead.
    EXPECT_EQ(Run(), 0);
    lines = Transcript();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[0].value("key", ""), "134");
}

} // namespace
} // namespace tl
