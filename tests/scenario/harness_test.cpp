// The scenario harness itself: a program that hangs is stopped, not waited for.
#include "support/program_run.h"

#include <gtest/gtest.h>

namespace tl::test {
namespace {

TEST(ScenarioHarness, AProgramThatHangsIsKilledAtTheTimeOut) {
    const auto start = std::chrono::steady_clock::now();
    ProgramRun run = RunProgram("/bin/sleep", {"30"}, std::chrono::milliseconds(200));
    EXPECT_TRUE(run.timedOut);
    EXPECT_EQ(run.exitCode, -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

    run = RunProgram("/bin/sh", {"-c", "echo out; echo err >&2; exit 7"});
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 7);
    EXPECT_EQ(run.out, "out\n");
    EXPECT_EQ(run.err, "err\n");
}

} // namespace
} // namespace tl::test
