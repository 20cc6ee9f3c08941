// tldisk check: the sample disk is clean, and each kind of fault put into a copy of it is found
// with the script line that leads the installer to it.
#include "support/program_run.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

fs::path Tool() {
    return tl::test::ProgramDir(TL_BINARY_DIR "/bin") / "tldisk";
}

fs::path SampleDisk() {
    return fs::path(TL_SOURCE_DIR) / "examples/disk";
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Replaces the first `from` of the file with `to`; the test fails when it is not there.
void Replace(const fs::path& path, const std::string& from, const std::string& to) {
    std::string text = Read(path);
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from << " is not in " << path;
    text.replace(at, from.size(), to);
    Write(path, text);
}

// The 1-based number of the first line of the file that is `text`, else of the first that
// holds it.
int LineOf(const fs::path& path, const std::string& text) {
    std::istringstream lines(Read(path));
    int number = 0;
    int holding = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == text)
            return number;
        if (holding == 0 && line.find(text) != std::string::npos)
            holding = number;
    }
    if (holding != 0)
        return holding;
    ADD_FAILURE() << text << " is not in " << path;
    return 0;
}

TEST(DiskCheck, SampleDiskHasNoFindings) {
    const tl::test::ProgramRun run = tl::test::RunProgram(Tool(), {"check", SampleDisk().string()});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("no findings"), std::string::npos) << run.out;
}

struct BrokenCopy {
    const char* name;
    std::function<void(const fs::path& disk)> breakIt;
    const char* script;   // the file the finding names, below the disk
    const char* lineText; // text of the line it names, as the file holds it after breaking
    const char* reported; // "[SECTION] kind"
};

const std::string kCatalogue = "WIN95/OEMSETUP.INF";

std::string ManyNames() {
    std::string lines;
    for (int i = 0; i < 160; ++i)
        lines += "EXTRA" + std::to_string(i) + ".DLL\n";
    return lines;
}

const BrokenCopy kBrokenCopies[] = {
    {"file missing in plain and compressed form",
     [](const fs::path& d) { fs::remove(d / "WIN95/TLCORE.DL_"); }, "WIN95/OEMSETUP.INF",
     "TLCORE.DLL", "[TL.CORE] missing-file"},
    {"font file missing", [](const fs::path& d) { fs::remove(d / "WIN95/TLGS.TT_"); },
     "INSTALL.INF", "3:TLGS.TTF", "[Telmora_Gungseo.TrueType] missing-file"},
    {"compressed file cut short",
     [](const fs::path& d) {
         const std::string bytes = Read(d / "WIN95/TLLMON.DL_");
         Write(d / "WIN95/TLLMON.DL_", bytes.substr(0, bytes.size() / 2));
     },
     "WIN95/OEMSETUP.INF", "TLLMON.DLL", "[TL.BIDI] bad-compressed"},
    {"driver without a version resource",
     [](const fs::path& d) { Write(d / "WIN95/TLPM.386", std::string(600, 'x')); },
     "WIN95/OEMSETUP.INF", "TLPM.386", "[TL.CORE] no-version"},
    {"name with a path in a copy section",
     [](const fs::path& d) {
         Replace(d / kCatalogue, "TLPRN.HLP, TLPRNDEU.HLP", "TLPRN.HLP, ..\\TLPRNDEU.HLP");
     },
     "WIN95/OEMSETUP.INF", "..\\TLPRNDEU.HLP", "[TL.DEU] refused-name"},
    {"copy-list name over 140 bytes",
     [](const fs::path& d) {
         Replace(d / kCatalogue, "[TL300.FILES]\r\nTL300.DRV",
                 "[TL300.FILES]\r\n" + std::string(137, 'A') + ".DRV");
     },
     "WIN95/OEMSETUP.INF", "AAAA.DRV", "[TL300.FILES] refused-name"},
    {"device name as the demonstration file",
     [](const fs::path& d) { Replace(d / "INSTALL.INF", "1:TLDEMO.PRN", "1:NUL.PRN"); },
     "INSTALL.INF", "1:NUL.PRN", "[DEMOFILE] refused-name"},
    {"copy list over 160 entries",
     [](const fs::path& d) {
         Replace(d / kCatalogue, "[TL.CORE]\r\n", "[TL.CORE]\r\n" + ManyNames());
     },
     "WIN95/OEMSETUP.INF", "\"Telmora LP 600\"  = TL600.ENU", "[Telmora.ENU] list-too-long"},
    {"model name over 39 characters",
     [](const fs::path& d) {
         Replace(d / kCatalogue, "\"Telmora LP 1200\" = TL1200.ENU",
                 "\"Telmora LP 1200 with a name far too long\" = TL1200.ENU");
     },
     "WIN95/OEMSETUP.INF", "far too long", "[Telmora.ENU] model-name-too-long"},
    {"disk without its tag file", [](const fs::path& d) { fs::remove(d / "DISK2.TAG"); },
     "INSTALL.INF", "\"Telmora Font Disk #2\"", "[DISK2] missing-tag"},
    {"font space figure below its files",
     [](const fs::path& d) {
         Replace(d / "INSTALL.INF", "Telmora_Gothic   = 2,0", "Telmora_Gothic = 0,0");
     },
     "INSTALL.INF", "Telmora_Gothic = 0,0", "[NEEDED.SPACE] space-too-small"},
    {"driver space figure below its files",
     [](const fs::path& d) {
         Replace(
             d / "INSTALL.INF",
             "[NEEDED.DiskSpace]\r\n; kilobytes that the driver needs on the Windows drive\r\n60",
             "[NEEDED.DiskSpace]\r\n1 ; too small");
     },
     "INSTALL.INF", "1 ; too small", "[NEEDED.DiskSpace] space-too-small"},
    {"language edition without its model list",
     [](const fs::path& d) { Replace(d / kCatalogue, "= Telmora.DEU", "= Telmora.FRA"); },
     "WIN95/OEMSETUP.INF", "Telmora.FRA", "[Manufacturer] missing-section"},
    {"[DeleteIni] line removing a path",
     [](const fs::path& d) { Replace(d / "INSTALL.INF", "0:TLSTAT.EXE", "0:C:\\TLSTAT.EXE"); },
     "INSTALL.INF", "C:\\TLSTAT.EXE", "[DeleteIni] bad-deleteini"},
    {"[DeleteIni] line without its file digit",
     [](const fs::path& d) { Replace(d / "INSTALL.INF", "21:WIN.INI", "2WIN.INI"); }, "INSTALL.INF",
     "2WIN.INI", "[DeleteIni] bad-deleteini"},
    {"blanks inside an unquoted value",
     [](const fs::path& d) {
         Replace(d / kCatalogue, "LanguageMonitor = \"Telmora Language Monitor\", TLLMON.DLL",
                 "LanguageMonitor = Telmora Language Monitor, TLLMON.DLL");
     },
     "WIN95/OEMSETUP.INF", "LanguageMonitor = Telmora", "[TL600.ENU] blank-in-value"},
};

TEST(DiskCheck, FindsEachKindOfFaultInABrokenCopyOfTheSampleDisk) {
    for (const BrokenCopy& broken : kBrokenCopies) {
        SCOPED_TRACE(broken.name);
        tl::test::TempMachine scratch;
        const fs::path disk = scratch.Root() / "disk";
        fs::copy(SampleDisk(), disk, fs::copy_options::recursive);
        broken.breakIt(disk);
        const tl::test::ProgramRun run = tl::test::RunProgram(Tool(), {"check", disk.string()});
        EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
        std::string script = broken.script;
        for (char& c : script)
            c = c == '/' ? '\\' : c;
        const std::string expected = script + ":" +
                                     std::to_string(LineOf(disk / broken.script, broken.lineText)) +
                                     ": " + broken.reported + ":";
        EXPECT_NE(run.out.find(expected), std::string::npos) << "expected " << expected << " in\n"
                                                             << run.out;
    }
}

TEST(DiskCheck, ADiskWhoseInstallInfCannotBeReadIsUnreadable) {
    tl::test::TempMachine scratch;
    const fs::path disk = scratch.Root() / "disk";
    fs::copy(SampleDisk(), disk, fs::copy_options::recursive);
    Write(disk / "INSTALL.INF", "");
    EXPECT_EQ(tl::test::RunProgram(Tool(), {"check", disk.string()}).exitCode, 2);
    fs::remove(disk / "INSTALL.INF");
    EXPECT_EQ(tl::test::RunProgram(Tool(), {"check", disk.string()}).exitCode, 2);
    EXPECT_EQ(tl::test::RunProgram(Tool(), {"check", (scratch.Root() / "none").string()}).exitCode,
              2);
}

} // namespace
