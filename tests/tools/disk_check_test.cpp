// tldisk check: the sample disk is clean, and each kind of fault put into a copy of it is found
// with the script line that leads the installer to it.
#include "tool_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace tl::test {
namespace {

const std::string kCatalogue = "disk/WIN95/OEMSETUP.INF";
const std::string kInstall = "disk/INSTALL.INF";

TEST(DiskCheck, SampleDiskHasNoFindings) {
    const ProgramRun run = RunTool("tldisk", {"check", kSampleDisk.string()});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("no findings"), std::string::npos) << run.out;
}

// The 1-based number of the first line of the text that is `line`, else of the first that holds it.
int LineOf(const std::string& text, const std::string& line) {
    std::istringstream lines(text);
    int number = 0, holding = 0;
    for (std::string l; std::getline(lines, l);) {
        ++number;
        if (!l.empty() && l.back() == '\r')
            l.pop_back();
        if (l == line)
            return number;
        if (holding == 0 && l.find(line) != std::string::npos)
            holding = number;
    }
    return holding;
}

struct Fault {
    const char* name;
    std::string file; // below the scratch folder; removed when `from` is empty
    std::string from; // replaced by `to`; "half" cuts the file short
    std::string to;
    const char* script;   // the file the finding names, below the disk
    const char* line;     // text of the line it names, as the file holds it after breaking
    const char* reported; // "[SECTION] kind"
};

std::string ManyNames() {
    std::string lines;
    for (int i = 0; i < 160; ++i)
        lines += "EXTRA" + std::to_string(i) + ".DLL\n";
    return lines;
}

TEST(DiskCheck, FindsEachKindOfFaultInABrokenCopyOfTheSampleDisk) {
    const Fault faults[] = {
        {"file missing in plain and compressed form", "disk/WIN95/TLCORE.DL_", "", "",
         "WIN95/OEMSETUP.INF", "TLCORE.DLL", "[TL.CORE] missing-file"},
        {"font file missing", "disk/WIN95/TLGS.TT_", "", "", "INSTALL.INF", "3:TLGS.TTF",
         "[Telmora_Gungseo.TrueType] missing-file"},
        {"compressed file cut short", "disk/WIN95/TLLMON.DL_", "half", "", "WIN95/OEMSETUP.INF",
         "TLLMON.DLL", "[TL.BIDI] bad-compressed"},
        {"driver without a version resource", "disk/WIN95/TLPM.386", "all", std::string(600, 'x'),
         "WIN95/OEMSETUP.INF", "TLPM.386", "[TL.CORE] no-version"},
        {"name with a path in a copy section", kCatalogue, "TLPRN.HLP, TLPRNDEU.HLP",
         "TLPRN.HLP, ..\\TLPRNDEU.HLP", "WIN95/OEMSETUP.INF", "..\\TLPRNDEU.HLP",
         "[TL.DEU] refused-name"},
        {"copy-list name over 140 bytes", kCatalogue, "[TL300.FILES]\r\nTL300.DRV",
         "[TL300.FILES]\r\n" + std::string(137, 'A') + ".DRV", "WIN95/OEMSETUP.INF", "AAAA.DRV",
         "[TL300.FILES] refused-name"},
        {"device name as the demonstration file", kInstall, "1:TLDEMO.PRN", "1:NUL.PRN",
         "INSTALL.INF", "1:NUL.PRN", "[DEMOFILE] refused-name"},
        {"copy list over 160 entries", kCatalogue, "[TL.CORE]\r\n", "[TL.CORE]\r\n" + ManyNames(),
         "WIN95/OEMSETUP.INF", "\"Telmora LP 600\"  = TL600.ENU", "[Telmora.ENU] list-too-long"},
        {"model name over 39 characters", kCatalogue, "\"Telmora LP 1200\" = TL1200.ENU",
         "\"Telmora LP 1200 with a name far too long\" = TL1200.ENU", "WIN95/OEMSETUP.INF",
         "far too long", "[Telmora.ENU] model-name-too-long"},
        {"disk without its tag file", "disk/DISK2.TAG", "", "", "INSTALL.INF",
         "\"Telmora Font Disk #2\"", "[DISK2] missing-tag"},
        {"font space figure below its files", kInstall, "Telmora_Gothic   = 2,0",
         "Telmora_Gothic = 0,0", "INSTALL.INF", "Telmora_Gothic = 0,0",
         "[NEEDED.SPACE] space-too-small"},
        {"driver space figure below its files", kInstall,
         "[NEEDED.DiskSpace]\r\n; kilobytes that the driver needs on the Windows drive\r\n60",
         "[NEEDED.DiskSpace]\r\n1 ; too small", "INSTALL.INF", "1 ; too small",
         "[NEEDED.DiskSpace] space-too-small"},
        {"language edition without its model list", kCatalogue, "= Telmora.DEU", "= Telmora.FRA",
         "WIN95/OEMSETUP.INF", "Telmora.FRA", "[Manufacturer] missing-section"},
        {"[DeleteIni] line removing a path", kInstall, "0:TLSTAT.EXE", "0:C:\\TLSTAT.EXE",
         "INSTALL.INF", "C:\\TLSTAT.EXE", "[DeleteIni] bad-deleteini"},
        {"[DeleteIni] line without its file digit", kInstall, "21:WIN.INI", "2WIN.INI",
         "INSTALL.INF", "2WIN.INI", "[DeleteIni] bad-deleteini"},
        {"blanks inside an unquoted value", kCatalogue,
         "LanguageMonitor = \"Telmora Language Monitor\", TLLMON.DLL",
         "LanguageMonitor = Telmora Language Monitor, TLLMON.DLL", "WIN95/OEMSETUP.INF",
         "LanguageMonitor = Telmora", "[TL600.ENU] blank-in-value"},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        TempMachine scratch;
        const auto disk = CopySampleDisk(scratch);
        std::string text = scratch.ReadFile(fault.file);
        if (fault.from.empty()) {
            std::filesystem::remove(scratch.Root() / fault.file);
        } else if (fault.from == "half" || fault.from == "all") {
            scratch.WriteFile(fault.file,
                              fault.from == "half" ? text.substr(0, text.size() / 2) : fault.to);
        } else {
            const std::size_t at = text.find(fault.from);
            ASSERT_NE(at, std::string::npos) << fault.from;
            scratch.WriteFile(fault.file, text.replace(at, fault.from.size(), fault.to));
        }
        const ProgramRun run = RunTool("tldisk", {"check", disk.string()});
        EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
        std::string script = fault.script;
        std::replace(script.begin(), script.end(), '/', '\\');
        const int line = LineOf(scratch.ReadFile(std::string("disk/") + fault.script), fault.line);
        ASSERT_NE(line, 0) << fault.line;
        const std::string expected =
            script + ":" + std::to_string(line) + ": " + fault.reported + ":";
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << " in\n" << run.out;
    }
}

TEST(DiskCheck, ADiskWhoseInstallInfCannotBeReadIsUnreadable) {
    TempMachine scratch;
    const auto disk = CopySampleDisk(scratch);
    scratch.WriteFile("disk/INSTALL.INF", "");
    EXPECT_EQ(RunTool("tldisk", {"check", disk.string()}).exitCode, 2);
    std::filesystem::remove(disk / "INSTALL.INF");
    EXPECT_EQ(RunTool("tldisk", {"check", disk.string()}).exitCode, 2);
    EXPECT_EQ(RunTool("tldisk", {"check", (scratch.Root() / "none").string()}).exitCode, 2);
}

} // namespace
} // namespace tl::test
