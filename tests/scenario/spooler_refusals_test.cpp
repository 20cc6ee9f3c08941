// Runs whose files are copied but which the spooler refuses to register: a failed installation,
// with the refused call, the name and the error code in the transcript.
#include "scenario.h"

#include <gmock/gmock.h>

namespace tl::test {
namespace {

namespace fs = std::filesystem;

const char* const kDriverOnly = "[Messages]\n142=No\n143=No\n";

nlohmann::json OnlyError(const RunOutcome& run) {
    const std::vector<nlohmann::json> errors = run.transcript.Events("error");
    EXPECT_EQ(errors.size(), 1u);
    return errors.empty() ? nlohmann::json() : errors.front();
}

TEST_F(Scenario, ARegistryThatCannotBeWrittenFailsTheRegistration) {
    WriteStandardDisk(disk);
    ScenarioMachine& pc = MakeMachine();
    fs::permissions(pc.Root() / "registry.reg", fs::perms::owner_write, fs::perm_options::remove);
    answers = kDriverOnly;

    RunOutcome run = Run();
    ASSERT_EQ(run.program.exitCode, kExitInstallFailed) << run.program.err;
    EXPECT_EQ(run.State(), 1);
    const nlohmann::json error = OnlyError(run);
    EXPECT_EQ(error.value("operation", ""), "AddPrintProcessorA");
    EXPECT_EQ(error.value("file", ""), "TLPROC");
    EXPECT_EQ(error.value("code", 0), 5);
    EXPECT_FALSE(run.transcript.Message("153").is_null()) << "the failure is not told";
    EXPECT_TRUE(pc.Show()["printers"].empty());
}

TEST_F(Scenario, AModelNameTheSpoolerRefusesFailsTheInstallation) {
    WriteStandardDisk(disk);
    disk.Write("WIN95/OEMSETUP.INF", Replaced(kCatalogue, "\"Telmora 600\"", "\"Telmora\\600\""));
    ScenarioMachine& pc = MakeMachine();
    answers = kDriverOnly;

    RunOutcome run = Run();
    ASSERT_EQ(run.program.exitCode, kExitInstallFailed) << run.program.err;
    EXPECT_EQ(run.State(), 1);
    EXPECT_TRUE(pc.Show()["printers"].empty());
    // The files are there and SYSTEM.INI loads the new virtual device: the restart is offered.
    EXPECT_TRUE(pc.Exists("C:\\WINDOWS\\SYSTEM\\TL600.DRV"));
    EXPECT_THAT(run.Story(), ::testing::ElementsAre("message 139 yes", "message 175 ok",
                                                    "dialog SELECTDRV 1", "dialog COPYING -",
                                                    "error AddPrinterDriverA Telmora\\600 87",
                                                    "message 157 ok", "message 153 ok", "restart 0",
                                                    "dialog WIN_RESTART 1", "end 1 0"));
}

} // namespace
} // namespace tl::test
