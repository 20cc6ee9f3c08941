// The final notices about backups of SYSTEM.INI and WIN.INI: they name what this run made,
// never a record an earlier installation left in the settings file.
#include "scenario.h"

#include <gmock/gmock.h>

namespace tl::test {
namespace {

using ::testing::Contains;
using ::testing::Not;

TEST_F(Scenario, BackupNoticesNameOnlyWhatThisRunBackedUp) {
    WriteStandardDisk(disk);
    ScenarioMachine& pc = MakeMachine();
    pc.Write(
        "C:\\WINDOWS\\tlsetup.ini",
        "[Install]\r\nBFileWinIni=C:\\WINDOWS\\WIN.B07\r\nBFileSysIni=C:\\WINDOWS\\SYSTEM.B09\r\n");
    answers = "[Messages]\n142=No\n143=No\n";

    RunOutcome run = Run();
    ASSERT_EQ(run.program.exitCode, kExitInstalledRestart) << run.program.err;
    // This run made no WIN.INI backup: the earlier record is not announced.
    EXPECT_THAT(run.Story(), Not(Contains("message 158 ok")));
    // The device line's SYSTEM.INI backup is this run's own.
    EXPECT_THAT(run.Story(), Contains("message 157 ok"));
    const std::string notice = run.transcript.Message("157").value("text", "");
    EXPECT_NE(notice.find("SYSTEM.B00"), std::string::npos) << notice;
    EXPECT_TRUE(pc.Exists("C:\\WINDOWS\\SYSTEM.B00"));
}

TEST_F(Scenario, TwoDeviceLinesRecordTheBackupOfSystemIniAsItWasBeforeTheRun) {
    WriteStandardDisk(disk);
    disk.Write("WIN95/OEMSETUP.INF",
               Replaced(Replaced(kCatalogue, "[TL.COMMON]\n", "[TL.COMMON]\nTLPM2.386\n"),
                        "[SourceDisksFiles]\n", "[SourceDisksFiles]\nTLPM2.386 = 1\n"));
    disk.WriteImage("WIN95/TLPM2.386", ImageKind::Le, {4, 10, 0, 1});
    ScenarioMachine& pc = MakeMachine();
    const std::string systemIni = pc.Read("C:\\WINDOWS\\SYSTEM.INI");
    answers = "[Messages]\n142=No\n143=No\n";

    RunOutcome run = Run();
    ASSERT_EQ(run.program.exitCode, kExitInstalledRestart) << run.program.err;
    EXPECT_NE(pc.Read("C:\\WINDOWS\\SYSTEM.INI").find("device=TLPM2.386"), std::string::npos);
    EXPECT_EQ(Setting("BFileSysIni"), "C:\\WINDOWS\\SYSTEM.B00");
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\SYSTEM.B00"), systemIni);
    // The second line's backup held only the first line's change.
    EXPECT_FALSE(pc.Exists("C:\\WINDOWS\\SYSTEM.B01"));
    const std::string notice = run.transcript.Message("157").value("text", "");
    EXPECT_NE(notice.find("SYSTEM.B00"), std::string::npos) << notice;
}

} // namespace
} // namespace tl::test
