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
}

} // namespace
} // namespace tl::test
