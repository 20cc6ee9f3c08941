// Whole runs whose checks the scenario list cannot say: everything a default installation leaves
// on the PC, and runs on what only a test can make (an expanded size, a read-only registry, a
// copied installation, a broken machine folder).
#include "scenario.h"

#include "support/folder_files.h"

#include <gmock/gmock.h>

#include <fstream>

namespace tl::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsSupersetOf;
using ::testing::Not;

std::vector<std::string> Names(const json& list) {
    std::vector<std::string> names;
    for (const json& item : list)
        names.push_back(item.value("name", ""));
    return names;
}

TEST_F(Scenario, DefaultAnswersInstallDriverDemonstrationAndFontsThenOfferTheRestart) {
    WriteStandardDisk(disk);
    ScenarioMachine& pc = MakeMachine({"--free-bytes", "50000000", "--ecp", "LPT1"});
    const std::string systemIni = Replaced(pc.Read("C:\\WINDOWS\\SYSTEM.INI"), "device=*vcd\r\n",
                                           "device=*vcd\r\ndevice=BIDI.386\r\n");
    pc.Write("C:\\WINDOWS\\SYSTEM.INI", systemIni);
    pc.Write("C:\\WINDOWS\\WIN.INI", Replaced(pc.Read("C:\\WINDOWS\\WIN.INI"), "load=\r\n",
                                              "load=TLSTAT.EXE OTHER.EXE\r\n"));
    const std::string oldPortDriver = pc.Read("C:\\WINDOWS\\SYSTEM\\lpt.vxd");

    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    EXPECT_THAT(run.Story(),
                ElementsAre("message 139 yes", "message 175 ok", "dialog SELECTDRV 1",
                            "dialog COPYING -", "broadcast WM_DEVMODECHANGE", "message 142 yes",
                            "dialog COPYING -", "message 143 yes", "dialog DIRECTORY 1",
                            "dialog FONT 1", "addfont C:\\WINDOWS\\FONTS\\TLMJ.TTF",
                            "addfont C:\\WINDOWS\\FONTS\\TLGT.TTF", "dialog COPYING -",
                            "broadcast WM_FONTCHANGE", "message 101 yes", "message 107 ok",
                            "dialog WAITING -", "message 157 ok", "message 165 ok", "restart 0",
                            "dialog WIN_RESTART 1", "end 5 0"));
    std::vector<json> broadcasts = run.transcript.Events("broadcast");
    ASSERT_FALSE(broadcasts.empty());
    EXPECT_EQ(broadcasts[0].value("text", ""), "Telmora 600");
    json restart = run.transcript.Dialog("WIN_RESTART");
    EXPECT_EQ(restart["pressed"], 1020);

    // The driver files, expanded where the disk holds them compressed, in the system directory.
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\SYSTEM\\TL600.DRV"),
              InstallDisk::ImageBytes(ImageKind::Ne, kDiskDriverVersion));
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\SYSTEM\\TLHELP.HLP"), "help text of the Telmora drivers\r\n");
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\SYSTEM\\TLMON.DLL"),
              InstallDisk::ImageBytes(ImageKind::Pe, {1, 2, 0, 0}));
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\SYSTEM\\TLDEMO.prn"), "%!PS demonstration page\r\n");
    EXPECT_THAT(pc.FileNames("C:\\WINDOWS\\SYSTEM"),
                IsSupersetOf({"TL600.DRV", "TLPM.386", "TLMON.DLL", "TLPROC.DLL", "TLHELP.HLP",
                              "TLDEMO.PRN", "LPT.BZ", "LPT.VXZ"}));
    EXPECT_THAT(pc.FileNames("C:\\WINDOWS\\SYSTEM"), Not(Contains("TL300.DRV")));
    for (const char* font : {"C:\\WINDOWS\\FONTS\\TLMJ.TTF", "C:\\WINDOWS\\FONTS\\TLGT.TTF"})
        EXPECT_EQ(pc.Read(font).substr(0, 4), std::string("\0\1\0\0", 4)) << font; // expanded

    // The spooler, the fonts and the device lines as tlmachine reads them.
    json show = pc.Show();
    ASSERT_TRUE(show.is_object());
    ASSERT_EQ(show["printers"].size(), 1u);
    const json& printer = show["printers"][0];
    EXPECT_EQ(printer["name"], "Telmora 600");
    EXPECT_EQ(printer["port"], "LPT1:");
    EXPECT_EQ(printer["driver"], "Telmora 600");
    EXPECT_EQ(printer["printProcessor"], "TLPROC");
    EXPECT_EQ(printer["attributes"], 0x804);
    ASSERT_EQ(show["drivers"].size(), 1u);
    const json& driver = show["drivers"][0];
    EXPECT_EQ(driver["driver"], "TL600.DRV");
    EXPECT_EQ(driver["helpFile"], "TLHELP.HLP");
    EXPECT_EQ(driver["monitor"], "TLMonitor");
    EXPECT_EQ(driver["datatype"], "RAW");
    EXPECT_THAT(driver["dependentFiles"].get<std::vector<std::string>>(),
                ElementsAre("TL600.DRV", "TLPM.386", "TLDEMO.prn", "TLMON.DLL", "TLPROC.DLL",
                            "TLHELP.HLP", "LPT.BZ"));
    EXPECT_THAT(Names(show["monitors"]), Contains("TLMonitor"));
    EXPECT_THAT(Names(show["printProcessors"]), Contains("TLPROC"));
    EXPECT_THAT(show["fonts"], Contains(json{{"name", "Telmora Myeongjo (TrueType)"},
                                             {"file", "C:\\WINDOWS\\FONTS\\TLMJ.TTF"},
                                             {"present", true}}));
    EXPECT_THAT(show["fonts"], Contains(json{{"name", "Telmora Gothic (TrueType)"},
                                             {"file", "C:\\WINDOWS\\FONTS\\TLGT.TTF"},
                                             {"present", true}}));
    std::vector<std::string> devices = show["devices"].get<std::vector<std::string>>();
    EXPECT_THAT(devices, Contains("TLPM.386"));
    EXPECT_THAT(devices, Not(Contains("BIDI.386")));

    // SYSTEM.INI: the removed driver stays as a comment; the first backup is the one reported.
    const std::string edited = pc.Read("C:\\WINDOWS\\SYSTEM.INI");
    EXPECT_NE(edited.find(";Removed by Telmora Printer Driver Setup: device=BIDI.386\r\n"),
              std::string::npos)
        << edited;
    const std::string backup = Setting("BFileSysIni");
    ASSERT_FALSE(backup.empty());
    EXPECT_EQ(pc.Read(backup), systemIni);
    const std::string backupName = backup.substr(backup.rfind('\\') + 1);
    EXPECT_NE(run.transcript.Message("157")["text"].get<std::string>().find(backupName + "로"),
              std::string::npos);
    // WIN.INI: the ports found at start, and the removal the user was told about. The driver was
    // installed in this run, so its backup is not kept and not reported.
    host::IniText winIni = pc.Ini("C:\\WINDOWS\\WIN.INI");
    EXPECT_EQ(winIni.Get("tlsetup", "LPT1"), "1");
    EXPECT_EQ(winIni.Get("tlsetup", "LPT2"), "0");
    EXPECT_EQ(winIni.Get("windows", "load"), "OTHER.EXE");
    EXPECT_NE(winIni.Bytes().find(
                  ";Removed by Telmora Printer Driver Setup: load=TLSTAT.EXE OTHER.EXE\r\n"),
              std::string::npos);
    EXPECT_EQ(Setting("BFileWinIni"), "");
    EXPECT_TRUE(run.transcript.Message("158").is_null());

    // The known old parallel-port driver was replaced by the one shipped, and kept aside.
    EXPECT_EQ(show["lptVxd"]["version"], "4.0.0.1111");
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\SYSTEM\\lpt.vxz"), oldPortDriver);

    // The private settings file: language, driver, font directory and the copy records.
    EXPECT_EQ(Setting("Language"), "0");
    EXPECT_EQ(Setting("DriverName"), "Telmora 600");
    EXPECT_EQ(Setting("FontPath"), "C:\\WINDOWS\\FONTS");
    EXPECT_EQ(Setting("File0100"), "C:\\WINDOWS\\FONTS\\TLMJ.TTF");
    EXPECT_EQ(Setting("File0202"), "C:\\WINDOWS\\FONTS\\TLGT.TTF");
}

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
