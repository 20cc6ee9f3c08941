// What an unattended run's exit status tells a script that installs on many PCs, beside the
// program's own exit code that the transcript's end keeps.
#include "scenario.h"

namespace tl::test {
namespace {

TEST_F(Scenario, UnattendedExitStatusSaysHowTheRunWent) {
    struct Case {
        const char* what;
        const char* answers;
        bool brokenMonitor; // TLMON.DL_ cut short: the driver's copy fails
        int state;
        int status;
    };
    const Case cases[] = {
        {"everything, with the restart", "", false, 5, 3010},
        {"only the demonstration file", "[Messages]\n139=No\n143=No\n", false, 4, 0},
        {"nothing: every question declined", "[Messages]\n139=No\n142=No\n143=No\n", false, 0,
         1602},
        {"the driver's copy failed after SYSTEM.INI changed", "[Messages]\n142=No\n143=No\n", true,
         1, 1603},
    };
    WriteStandardDisk(disk);
    for (const Case& c : cases) { // the broken monitor comes last: it stays broken
        SCOPED_TRACE(c.what);
        if (c.brokenMonitor) {
            const std::string whole = disk.Read("WIN95/TLMON.DL_");
            disk.Write("WIN95/TLMON.DL_", whole.substr(0, whole.size() / 2));
        }
        MakeMachine();
        answers = c.answers;
        RunOutcome run = Run();
        // A POSIX parent sees the status modulo 256; the transcript keeps all of it.
        EXPECT_EQ(run.program.exitCode, c.status % 256) << run.program.err;
        EXPECT_EQ(run.transcript.End().value("status", -1), c.status);
        EXPECT_EQ(run.State(), c.state);
        EXPECT_EQ(run.transcript.End().value("exitCode", -1), 0);
        EXPECT_EQ(run.transcript.Events("error").empty(), c.status != 1603);
    }
}

} // namespace
} // namespace tl::test
