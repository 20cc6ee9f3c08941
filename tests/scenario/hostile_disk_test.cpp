// Install disks whose scripts name files outside their directory, drives, devices or names
// Windows would change: each run is refused with the line named, and nothing outside the
// Windows, system and font directories changes, in the machine folder or beside it.
#include "scenario.h"

#include <gmock/gmock.h>

#include <fstream>

namespace tl::test {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kBadNameKey = "The setup script names a file that cannot be used";
// Written into a case's text: the folder beside the machine folder that holds the canary.
constexpr std::string_view kOutside = "{OUT}";

const char* const kDriverOnly = "[Messages]\n142=No\n143=No\n";
const char* const kFontsOnly = "[Messages]\n139=No\n142=No\n";
const char* const kDemoOnly = "[Messages]\n139=No\n143=No\n";

struct Hostile {
    std::string name;
    bool atStart;     // refused before the first step: nothing at all is written
    std::string file; // the disk file changed: INSTALL.INF or WIN95/OEMSETUP.INF
    std::string from;
    std::string to;
    std::string shown; // what the report shows of the line
    std::string answers;
    std::string sourceDisksFiles = {}; // a [SourceDisksFiles] line the catalogue gets too
};

void PrintTo(const Hostile& hostile, std::ostream* out) {
    *out << hostile.name;
}

std::map<std::string, std::string> Kept(std::map<std::string, std::string> files,
                                        bool windowsDirectories) {
    std::erase_if(files,
                  [&](const auto& file) { return MayChange(file.first, windowsDirectories); });
    return files;
}

std::string WithOutside(std::string text, const std::string& outside) {
    for (std::size_t at = text.find(kOutside); at != std::string::npos;
         at = text.find(kOutside, at + outside.size()))
        text.replace(at, kOutside.size(), outside);
    return text;
}

const std::string kCatalogueFile = "WIN95/OEMSETUP.INF";

// A line added to the catalogue's [TL.COMMON], its target listed in [SourceDisksFiles].
Hostile CommonLine(const char* name, const std::string& line) {
    Hostile row{name,
                false,
                kCatalogueFile,
                "[TL.COMMON]\n",
                "[TL.COMMON]\n" + line + "\n",
                "TL.COMMON: " + line,
                kDriverOnly};
    row.sourceDisksFiles = line.substr(0, line.find(',')) + " = 1";
    return row;
}

class HostileDisk : public Scenario, public ::testing::WithParamInterface<Hostile> {};

TEST_P(HostileDisk, IsRefusedAndChangesNothingOutside) {
    const Hostile& hostile = GetParam();
    WriteStandardDisk(disk);
    ScenarioMachine& pc = MakeMachine();
    ASSERT_TRUE(pc.Ready());
    pc.Write("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\n");
    const std::string outsideName = pc.Root().filename().string() + ".outside";
    const fs::path outside = pc.Root().parent_path() / outsideName;
    fs::create_directories(outside);
    std::ofstream(outside / "CANARY.TXT", std::ios::binary) << "canary";
    const std::string original = disk.ReadFile(hostile.file);
    disk.WriteFile(hostile.file,
                   Replaced(original, hostile.from, WithOutside(hostile.to, outsideName)));
    if (!hostile.sourceDisksFiles.empty())
        disk.WriteFile(kCatalogueFile,
                       Replaced(disk.ReadFile(kCatalogueFile), "[SourceDisksFiles]\n",
                                "[SourceDisksFiles]\n" +
                                    WithOutside(hostile.sourceDisksFiles, outsideName) + "\n"));
    // Files a script may name on the disk's root, so that a copy would find its source.
    disk.WriteFile("TLMJ.TTF", std::string(100, 'm'));
    disk.WriteFile("TLPROC.DLL", "not a driver");
    const std::map<std::string, std::string> before = Listing(pc.Root());
    const std::string winIni = pc.Read("C:\\WINDOWS\\WIN.INI");
    const std::string systemIni = pc.Read("C:\\WINDOWS\\SYSTEM.INI");
    answers = hostile.answers;

    RunOutcome run = Run();
    ASSERT_EQ(run.program.exitCode, kExitInstallFailed) << run.program.err;
    EXPECT_THAT(run.Story(), ::testing::Contains("message " + std::string(kBadNameKey) + " ok"));
    const nlohmann::json report = run.transcript.Message(kBadNameKey);
    EXPECT_TRUE(report.is_object());
    const std::string caption = report.is_object() ? report.value("caption", "") : "";
    const std::string text = report.is_object() ? report.value("text", "") : "";
    EXPECT_EQ(caption, "Error");
    // The report names the line.
    EXPECT_NE(text.find(WithOutside(hostile.shown, outsideName)), std::string::npos) << text;
    bool recorded = false;
    for (const nlohmann::json& error : run.transcript.Events("error"))
        recorded = recorded || (error.value("operation", "") == "CheckDiskName" &&
                                error.value("code", 0) == 123);
    EXPECT_TRUE(recorded);
    if (!hostile.atStart) {
        EXPECT_EQ(run.State(), 1);
    }

    EXPECT_EQ(Listing(outside)["CANARY.TXT"], "canary");
    EXPECT_EQ(Listing(outside).size(), 1u);
    fs::remove_all(outside);
    EXPECT_EQ(Kept(Listing(pc.Root()), !hostile.atStart), Kept(before, !hostile.atStart));
    // WIN.INI keeps all it had (the start-up's port search may add its own section behind).
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\WIN.INI").rfind(winIni, 0), 0u);
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\SYSTEM.INI"), systemIni);
    EXPECT_TRUE(pc.Show()["printers"].empty());
}

INSTANTIATE_TEST_SUITE_P(
    Names, HostileDisk,
    ::testing::Values(
        CommonLine("BackslashUp", "..\\WIN.INI,TLPROC.DLL"),
        CommonLine("BackslashToOutside", "..\\..\\..\\..\\{OUT}\\CANARY.TXT,TLPROC.DLL"),
        CommonLine("SlashUp", "../../../PWN.DLL,TLPROC.DLL"),
        CommonLine("AbsoluteTarget", "C:\\AUTOEXEC.BAT,TLPROC.DLL"),
        CommonLine("DriveRelativeSource", "TLX.DLL,A:TLPROC.DLL"),
        CommonLine("DeviceTarget", "LPT1,TLPROC.DLL"),
        CommonLine("DeviceWithExtension", "nul.dll,TLPROC.DLL"),
        Hostile{"TrailingDot", false, kCatalogueFile, "TLPROC.DLL\nTLHELP",
                "TLPROC.DLL\nTLPROC.DLL.\nTLHELP", "TL.COMMON: TLPROC.DLL.", kDriverOnly,
                "TLPROC.DLL. = 1"},
        Hostile{"SourceDisksFilesEntry", false, kCatalogueFile, "TLPM.386\nTLDEMO.prn\n\n[TL300",
                "TLPM.386\nTLDEMO.prn\n..\\..\\AUTOEXEC.BAT\n\n[TL300",
                "TL600.FILES: ..\\..\\AUTOEXEC.BAT", kDriverOnly, "..\\..\\AUTOEXEC.BAT = 1"},
        Hostile{"FontFileUp", false, "INSTALL.INF", "1:TLMJ.TTF", "1:..\\..\\..\\TLMJ.TTF",
                "1:..\\..\\..\\TLMJ.TTF", kFontsOnly},
        Hostile{"DemoFileUp", false, "INSTALL.INF", "1:TLDEMO.PRN", "1:..\\..\\TLDEMO.PRN",
                "1:..\\..\\TLDEMO.PRN", kDemoOnly},
        Hostile{"DeleteIniFileUp", true, "INSTALL.INF", "20:SYSTEM.INI, 386Enh",
                "20:..\\..\\{OUT}\\CANARY.TXT, 386Enh", "20:..\\..\\{OUT}\\CANARY.TXT",
                kDriverOnly},
        Hostile{"VxdDevice", true, "INSTALL.INF", "0:TLPM.386", "0:AUX.386", "VxD: 0:AUX.386",
                kDriverOnly},
        Hostile{"PrivateIniEscapes", true, "INSTALL.INF", "[PRIVATE.INI]\ntlsetup.ini",
                "[PRIVATE.INI]\n..\\..\\X.INI", "..\\..\\X.INI", kDriverOnly},
        Hostile{"PrivateIniIsSystemIni", true, "INSTALL.INF", "[PRIVATE.INI]\ntlsetup.ini",
                "[PRIVATE.INI]\nsystem.ini", "system.ini", kDriverOnly}),
    [](const ::testing::TestParamInfo<Hostile>& param) { return param.param.name; });

} // namespace
} // namespace tl::test
