// Runs that cannot finish the driver: the user is told, the run ends, and what was installed
// before stays whole.
#include "scenario.h"

#include <gmock/gmock.h>

namespace tl::test {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

const char* const kDriverOnly = "[Messages]\n142=No\n143=No\n";

TEST_F(Scenario, BrokenCompressedFileLeavesTheInstalledOneAsItWas) {
    WriteStandardDisk(disk);
    const std::string whole = disk.Read("WIN95/TLMON.DL_");
    disk.Write("WIN95/TLMON.DL_", whole.substr(0, whole.size() / 2));
    ScenarioMachine& pc = MakeMachine();
    pc.Write("C:\\WINDOWS\\SYSTEM\\TLMON.DLL", "the monitor installed before");
    answers = kDriverOnly;

    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    EXPECT_THAT(run.Story(), ElementsAre("message 139 yes", "message 175 ok", "dialog SELECTDRV 1",
                                         "error LZCopy C:\\WINDOWS\\SYSTEM\\TLMON.DLL 30",
                                         "dialog COPYING -", "message 157 ok", "message 153 ok",
                                         "restart 0", "dialog WIN_RESTART 1", "end 1 0"));
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\SYSTEM\\TLMON.DLL"), "the monitor installed before");
    // The files copied before the failure stay; nothing half-made lies beside them, only the
    // removal copy of the monitor that was there.
    EXPECT_THAT(pc.FileNames("C:\\WINDOWS\\SYSTEM"),
                UnorderedElementsAre("LPT.VXD", "TL600.DRV", "TLPM.386", "TLMON.DLL", "TLMON.R00"));
    EXPECT_TRUE(pc.Show()["printers"].empty());
}

TEST_F(Scenario, DriverThatOnlyOutgrowsTheFreeSpaceWhenExpandedIsNotInstalled) {
    // The disk asks for 1 KB and the PC has a little more, so the space check lets the copy
    // start; the driver is small compressed and only its expanded form does not fit.
    WriteStandardDisk(disk);
    disk.Write("INSTALL.INF",
               Replaced(kInstallInf, "[NEEDED.DiskSpace]\n300", "[NEEDED.DiskSpace]\n1"));
    disk.WriteCompressed(
        "WIN95/TL600.DR_",
        InstallDisk::ImageBytes(ImageKind::Ne, kDiskDriverVersion) + std::string(20000, '\0'), 'V');
    ASSERT_LT(disk.Read("WIN95/TL600.DR_").size(), 5000u);
    ScenarioMachine& pc = MakeMachine({"--free-bytes", "5000"});
    const std::set<std::string> before = pc.FileNames("C:\\WINDOWS\\SYSTEM");
    answers = kDriverOnly;

    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    EXPECT_THAT(run.Story(), ElementsAre("message 139 yes", "message 175 ok", "dialog SELECTDRV 1",
                                         "error LZCopy C:\\WINDOWS\\SYSTEM\\TL600.DRV 29",
                                         "dialog COPYING -", "message 153 ok", "end 1 0"));
    EXPECT_EQ(run.State(), 1);
    EXPECT_EQ(run.transcript.Message("153").value("text", ""),
              "Printer 드라이버 설치에 실패했습니다.");
    // Neither the driver nor a part of it is left behind.
    EXPECT_FALSE(pc.Exists("C:\\WINDOWS\\SYSTEM\\TL600.DRV"));
    EXPECT_EQ(pc.FileNames("C:\\WINDOWS\\SYSTEM"), before);
    EXPECT_TRUE(pc.Show()["printers"].empty());
}

TEST_F(Scenario, DriverInUseByWindowsIsNotReplaced) {
    WriteStandardDisk(disk);
    ScenarioMachine& pc = MakeMachine({"--in-use", "C:\\WINDOWS\\SYSTEM\\TL600.DRV"});
    pc.Write("C:\\WINDOWS\\SYSTEM\\TL600.DRV", "the driver Windows has open");

    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    // Not the user's choice: a failed installation, with the file and the sharing violation.
    EXPECT_THAT(run.Story(), ElementsAre("message 139 yes", "message 175 ok", "dialog SELECTDRV 1",
                                         "error CreateFile C:\\WINDOWS\\SYSTEM\\TL600.DRV 32",
                                         "message 135 ok", "message 153 ok", "end 1 0"));
    EXPECT_EQ(run.program.exitCode, kExitInstallFailed);
    nlohmann::json inUse = run.transcript.Message("135");
    EXPECT_EQ(inUse.value("caption", ""), "경고");
    EXPECT_EQ(inUse.value("icon", ""), "warning");
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\SYSTEM\\TL600.DRV"), "the driver Windows has open");
    EXPECT_FALSE(pc.Exists("C:\\WINDOWS\\SYSTEM\\TLPM.386"));
}

TEST_F(Scenario, SampleDiskInstallsWithDefaultAnswers) {
    // The disk that ships in examples/, installed as the demonstration installs it.
    std::filesystem::copy(TL_SOURCE_DIR "/examples/disk", disk.Root(),
                          std::filesystem::copy_options::recursive);
    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    EXPECT_EQ(run.State(), 5);
    for (const nlohmann::json& message : run.transcript.Events("message"))
        EXPECT_NE(message.value("icon", ""), "error") << message.dump();
    EXPECT_TRUE(run.transcript.Events("prompt").empty());
    nlohmann::json show = Machine().Show();
    EXPECT_EQ(show["printers"].size(), 1u);
    EXPECT_EQ(show["drivers"].size(), 1u);
    EXPECT_EQ(run.transcript.Events("addfont").size(), 4u);
    EXPECT_TRUE(show["problems"].empty()) << show["problems"].dump();
}

TEST_F(Scenario, APortDriverThatCannotBeReplacedFailsTheInstallation) {
    // Windows holds lpt.vxd open: the new driver cannot take its place. The printer is
    // registered, but the installation has failed and says where.
    WriteStandardDisk(disk);
    ScenarioMachine& pc = MakeMachine({"--in-use", "C:\\WINDOWS\\SYSTEM\\LPT.VXD"});
    const std::string before = pc.Read("C:\\WINDOWS\\SYSTEM\\LPT.VXD");
    answers = kDriverOnly;

    RunOutcome run = Run();
    ASSERT_EQ(run.program.exitCode, kExitInstallFailed) << run.program.err;
    EXPECT_EQ(run.State(), 1);
    const std::vector<nlohmann::json> errors = run.transcript.Events("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].value("operation", ""), "LZOpenFile");
    EXPECT_EQ(errors[0].value("file", ""), "C:\\WINDOWS\\SYSTEM\\lpt.vxd");
    EXPECT_EQ(errors[0].value("code", 0), 32);
    EXPECT_FALSE(run.transcript.Message("153").is_null());
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\SYSTEM\\LPT.VXD"), before);
    EXPECT_FALSE(pc.Show()["printers"].empty());
}

} // namespace
} // namespace tl::test
