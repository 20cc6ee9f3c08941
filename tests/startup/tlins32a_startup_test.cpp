// The built tlins32a starting up on the sample install disk while another installer runs. How
// a run starts and ends otherwise is shown by the scenarios.
#include "support/program_run.h"
#include "support/temp_machine.h"
#include "support/transcript_lines.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tl {
namespace {

TEST(SampleDisk, ASecondInstallerOnTheSameMachineIsRefused) {
    test::TempMachine machine;
    machine.MakeDirectory("drive_c/WINDOWS/SYSTEM");
    const std::string transcript = (machine.Root() / "t.jsonl").string();
    const auto run = [&] {
        return test::RunProgram(test::ProgramDir(TL_BINARY_DIR "/bin") / "tlins32a",
                                {"--machine", machine.Root().string(), "--disk",
                                 TL_SOURCE_DIR "/examples/disk", "--transcript", transcript});
    };
    // What a running installer holds for as long as it runs.
    const int fd = ::open((machine.Root() / "tlins32a.lock").c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    // Nothing installed, nothing failed: a run without a terminal says so by its status
    // (1602, which the exit code shows modulo 256).
    EXPECT_EQ(run().exitCode, 1602 % 256);
    ::close(fd);
    auto lines = test::TranscriptLines::Read(transcript).Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]["key"], "134");
    EXPECT_EQ(lines[0]["caption"], "경고");
    EXPECT_EQ(lines[0]["icon"], "information");
    EXPECT_EQ(lines[1]["exitCode"], 0);

    // Once the other one has ended, the next run goes ahead.
    const test::ProgramRun next = run();
    EXPECT_EQ(next.exitCode, 3010 % 256) << next.err; // installed; Windows must restart
    lines = test::TranscriptLines::Read(transcript).Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[0].value("key", ""), "134");
}

} // namespace
} // namespace tl
