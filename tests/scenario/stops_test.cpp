// Runs that cannot go on: a question that would come back for ever, an answer a dialog refuses.
// They stop with exit code 3, and the transcript's last line says where the installation stood.
#include "scenario.h"

#include <gmock/gmock.h>

namespace tl::test {
namespace {

TEST_F(Scenario, AFontDiskThatIsNowhereStopsAnUnansweredRunNamingTheQuestion) {
    std::filesystem::copy(TL_SOURCE_DIR "/examples/disk", disk.Root(),
                          std::filesystem::copy_options::recursive);
    disk.Remove("DISK2.TAG");

    RunOutcome run = Run();
    EXPECT_EQ(run.program.exitCode, 3) << run.program.err;
    EXPECT_NE(run.program.err.find("dialog SELECTDRIVE has opened 20 times"), std::string::npos)
        << run.program.err;
    const nlohmann::json end = run.transcript.End();
    EXPECT_EQ(end.value("exitCode", -1), 3);
    EXPECT_NE(end.value("error", "").find("SELECTDRIVE"), std::string::npos) << end.dump();
    EXPECT_EQ(run.transcript.Events("dialog").size() < 60, true);
    // The driver was installed before the fonts: the end says so.
    EXPECT_EQ(run.State(), 5);
}

TEST_F(Scenario, ARefusedAnswerAfterThePrinterWasInstalledEndsWithTheRealState) {
    WriteStandardDisk(disk);
    answers = "[Messages]\n142=No\n[FONT]\n999=x\n";

    RunOutcome run = Run();
    EXPECT_EQ(run.program.exitCode, 3) << run.program.err;
    EXPECT_EQ(Machine().Show()["printers"].size(), 1u);
    EXPECT_EQ(run.State(), 5);
    EXPECT_EQ(run.transcript.End().value("exitCode", -1), 3);
}

} // namespace
} // namespace tl::test
