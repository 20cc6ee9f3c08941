// Whole runs whose setup the scenario list cannot say: runs on what only a test can make (an
// expanded size, a read-only registry, a copied installation, a broken machine folder).
#include "scenario.h"

#include "support/folder_files.h"

#include <gmock/gmock.h>

#include <fstream>

namespace tl::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using ::testing::ElementsAre;

TEST_F(Scenario, DriverThatOnlyOutgrowsTheFreeSpaceWhenExpandedIsNotInstalled) {
    // The disk asks for 1 KB and the PC has a little more, so the space check lets the copy
    // start; the driver is small compressed and only its expanded form does not fit.
    WriteStandardDisk(disk);
    disk.Write("INSTALL.INF", Replaced(disk.Read("INSTALL.INF"), "[NEEDED.DiskSpace]\n300",
                                       "[NEEDED.DiskSpace]\n1"));
    disk.WriteCompressed(
        "WIN95/TL600.DR_",
        InstallDisk::ImageBytes(ImageKind::Ne, kDiskDriverVersion) + std::string(20000, '\0'), 'V');
    ASSERT_LT(disk.Read("WIN95/TL600.DR_").size(), 5000u);
    ScenarioMachine& pc = MakeMachine({"--free-bytes", "5000"});
    const std::set<std::string> before = pc.FileNames("C:\\WINDOWS\\SYSTEM");
    answers = "[Messages]\n142=No\n143=No\n";

    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    EXPECT_THAT(run.Story(), ElementsAre("message 139 yes", "message 175 ok", "dialog SELECTDRV 1",
                                         "error LZCopy C:\\WINDOWS\\SYSTEM\\TL600.DRV 29",
                                         "dialog COPYING -", "message 153 ok", "end 1 0"));
    // Neither the driver nor a part of it is left behind.
    EXPECT_EQ(pc.FileNames("C:\\WINDOWS\\SYSTEM"), before);
    EXPECT_TRUE(pc.Show()["printers"].empty());
}

TEST_F(Scenario, ARegistryThatCannotBeWrittenFailsTheRegistration) {
    WriteStandardDisk(disk);
    ScenarioMachine& pc = MakeMachine();
    fs::permissions(pc.Root() / "registry.reg", fs::perms::owner_write, fs::perm_options::remove);
    answers = "[Messages]\n142=No\n143=No\n";

    RunOutcome run = Run();
    ASSERT_EQ(run.program.exitCode, kExitInstallFailed) << run.program.err;
    EXPECT_EQ(run.State(), 1);
    const std::vector<json> errors = run.transcript.Events("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].value("operation", ""), "AddPrintProcessorA");
    EXPECT_EQ(errors[0].value("file", ""), "TLPROC");
    EXPECT_EQ(errors[0].value("code", 0), 5);
    EXPECT_FALSE(run.transcript.Message("153").is_null()) << "the failure is not told";
    EXPECT_TRUE(pc.Show()["printers"].empty());
}

TEST_F(Scenario, SecondFontDiskIsFoundByItsTagFileOnDriveA) {
    // The installation was copied to the hard disk, but for its second font disk: the private
    // settings file points there, and drive A: holds the second disk.
    InstallDisk copied;
    WriteStandardDisk(copied);
    copied.Remove("DISK2.TAG");
    copied.Remove("WIN95/TLGT.TT_");
    ScenarioMachine& pc = MakeMachine();
    pc.CopyIn(copied.Root(), "C:\\TLSETUP");
    pc.Write("C:\\WINDOWS\\tlsetup.ini", "[Install]\r\nDiskPath=C:\\TLSETUP\\\r\n");
    disk.Write("INSTALL.INF", copied.Read("INSTALL.INF"));
    disk.Write("DISK2.TAG", "Telmora Font Disk 2\r\n");
    disk.Write("TLGT.TTF", std::string(2000, 'g'));
    answers = "[Messages]\n139=No\n142=No\n";

    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    EXPECT_THAT(run.Story(),
                ElementsAre("message 139 no", "message 142 no", "message 143 yes",
                            "dialog DIRECTORY 1", "dialog FONT 1",
                            "addfont C:\\WINDOWS\\FONTS\\TLMJ.TTF", "beep", "message 128 ok",
                            "addfont C:\\WINDOWS\\FONTS\\TLGT.TTF", "dialog COPYING -",
                            "broadcast WM_FONTCHANGE", "message 156 ok", "end 4 0"));
    EXPECT_EQ(run.transcript.Message("128").value("text", ""),
              "삽입하세요 Telmora Font Disk 2 디스크 드라이브에 넣으세요.");
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\FONTS\\TLGT.TTF"), std::string(2000, 'g'));
    // The disk counter moved with the confirmed disk change.
    EXPECT_EQ(Setting("File0202"), "C:\\WINDOWS\\FONTS\\TLGT.TTF");
}

TEST_F(Scenario, InstallDiskIsNotWrittenToEvenWhenTheFontsAreSentThere) {
    WriteStandardDisk(disk);
    const auto before = FolderFiles(disk.Root());
    answers = "[Messages]\n139=No\n142=No\n[DIRECTORY]\n117=A:\\PWNFONTS\n";

    RunOutcome run = Run();
    // The installer finds the drive write-protected (152) and its directory dialog keeps
    // refusing the answer, which ends the unattended run (exit 3).
    EXPECT_EQ(run.program.exitCode, 3) << run.program.err;
    EXPECT_FALSE(run.transcript.Message("152").is_null());
    EXPECT_EQ(FolderDifferences(before, FolderFiles(disk.Root())), "");
    EXPECT_NE(run.State(), 4) << "fonts reported installed";
}

TEST_F(Scenario, ControlCharacterInTheWindowsDirectoryIsABrokenMachineFolder) {
    WriteStandardDisk(disk);
    ScenarioMachine& pc = MakeMachine();
    static constexpr char kIni[] = "[Machine]\nWindowsDirectory=C:\\WIN\0DOWS\n";
    std::ofstream(pc.Root() / "machine.ini", std::ios::binary | std::ios::trunc)
        << std::string(kIni, sizeof kIni - 1);

    RunOutcome run = Run();
    EXPECT_EQ(run.program.exitCode, 2);
    EXPECT_NE(run.program.err.find("WindowsDirectory"), std::string::npos) << run.program.err;
    EXPECT_FALSE(pc.Exists("C:\\WIN"));
}

} // namespace
} // namespace tl::test
