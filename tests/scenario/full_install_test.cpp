// A whole installation answered with the defaults, and what it leaves on the PC.
#include "scenario.h"

#include <gmock/gmock.h>

namespace tl::test {
namespace {

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
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\FONTS\\TLMJ.TTF"), std::string(3000, 'M'));
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\FONTS\\TLGT.TTF"), std::string(2000, 'G'));

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

TEST_F(Scenario, DeclinedDriverStillGetsTheDemonstrationFileAndTheFonts) {
    WriteStandardDisk(disk);
    answers = "[Messages]\n139=No\n";

    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    EXPECT_THAT(run.Story(), ElementsAre("message 139 no", "message 142 yes", "dialog COPYING -",
                                         "message 143 yes", "dialog DIRECTORY 1", "dialog FONT 1",
                                         "addfont C:\\WINDOWS\\FONTS\\TLMJ.TTF",
                                         "addfont C:\\WINDOWS\\FONTS\\TLGT.TTF", "dialog COPYING -",
                                         "broadcast WM_FONTCHANGE", "message 156 ok", "end 4 0"));
    // The outcome names the printer by a fixed word, whatever the model.
    json finished = run.transcript.Message("156");
    EXPECT_EQ(finished.value("text", ""), "Printer 드라이버 설치를 마쳤습니다.");
    EXPECT_EQ(finished.value("caption", ""), "드라이버 설치");
    EXPECT_EQ(finished.value("icon", ""), "information");
    // The demonstration file named by INSTALL.INF, nothing of the driver.
    ScenarioMachine& pc = Machine();
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\SYSTEM\\TLDEMO.PRN"), "%!PS demonstration page\r\n");
    EXPECT_FALSE(pc.Exists("C:\\WINDOWS\\SYSTEM\\TL600.DRV"));
    json show = pc.Show();
    EXPECT_TRUE(show["drivers"].empty());
    EXPECT_TRUE(show["printers"].empty());
    EXPECT_EQ(Setting("DriverName"), "");
    EXPECT_EQ(Setting("BFileSysIni"), "");
}

TEST_F(Scenario, DriverFilesWithoutADemonstrationFileGiveNoneToTheDemonstrationStep) {
    // After a driver was installed, the demonstration step takes its "prn" file, not the one
    // INSTALL.INF names.
    WriteStandardDisk(disk);
    disk.Write("WIN95/OEMSETUP.INF",
               Replaced(kCatalogue, "TL600.DRV\nTLPM.386\nTLDEMO.prn\n", "TL600.DRV\nTLPM.386\n"));
    answers = "[Messages]\n143=No\n";

    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    EXPECT_EQ(run.State(), 5);
    EXPECT_NE(run.transcript.Message("142"), nullptr);
    EXPECT_FALSE(Machine().Exists("C:\\WINDOWS\\SYSTEM\\TLDEMO.PRN"));
    EXPECT_TRUE(Machine().Exists("C:\\WINDOWS\\SYSTEM\\TL600.DRV"));
}

} // namespace
} // namespace tl::test
