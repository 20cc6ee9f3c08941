// The host program as a user runs it: arguments, answers, transcript and exit codes; --dry-run,
// the installation on a throwaway copy of the machine folder, and what it lists is what a real run
// then changes.
#include "support/folder_files.h"
#include "support/program_run.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>
#include <strings.h>

namespace tl::test {
namespace {

namespace fs = std::filesystem;
const fs::path kBin = ProgramDir(TL_BINARY_DIR "/bin");

struct Program : ::testing::Test {
    TempMachine machine;

    std::string Path(const char* name) const { return (machine.Root() / name).string(); }
    // Runs tlins32a on the machine folder with its input from /dev/null (no terminal).
    ProgramRun Run(std::vector<std::string> arguments, bool onMachine = true) const {
        if (onMachine)
            arguments.insert(arguments.begin(), {"--machine", machine.Root().string()});
        return RunProgram(kBin / "tlins32a", arguments);
    }
};

TEST_F(Program, HelpAndUnusableArguments) {
    const ProgramRun help = Run({"--help"}, false);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--transcript FILE"), std::string::npos);
    EXPECT_EQ(Run({}, false).exitCode, 2);
    EXPECT_EQ(Run({"--machine", Path("missing")}, false).exitCode, 2);
    EXPECT_EQ(Run({"--bogus"}).exitCode, 2);
    machine.WriteFile("bad.ini", "[Messages]\n139=Perhaps\n");
    const ProgramRun bad = Run({"--answers", Path("bad.ini")});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("line 2"), std::string::npos);
    // A folder is neither an answers file nor a place for a transcript.
    machine.MakeDirectory("folder");
    for (const char* option : {"--answers", "--transcript"}) {
        const ProgramRun folder = Run({option, Path("folder")});
        EXPECT_EQ(folder.exitCode, 2) << option;
        EXPECT_NE(folder.err.find("is a folder"), std::string::npos) << option << folder.err;
    }
}

TEST_F(Program, AMachineWhoseRegistryNestsTooDeepIsRefusedBeforeAnythingChanges) {
    std::string deep = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE";
    for (int i = 0; i < 30000; ++i)
        deep += "\\k";
    machine.WriteFile("registry.reg", deep + "]\r\n");
    machine.WriteFile("drive_c/WINDOWS/SYSTEM.INI", "[386Enh]\r\n");
    const ProgramRun run = Run({});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("a key nested deeper than 512 levels"), std::string::npos) << run.err;
    EXPECT_EQ(machine.ReadFile("drive_c/WINDOWS/SYSTEM.INI"), "[386Enh]\r\n");
}

// No install disk: start-up reports the missing INSTALL.INF and ends (status 1603). Answers never
// asked for are named; one that cannot be given stops the run with exit 3.
TEST_F(Program, AnsweredRunNamesUnusedAnswersAndStopsOnOneItCannotGive) {
    machine.WriteFile("a.ini", "[Messages]\n132=OK\n140=Yes\n[FONT#2]\nPress=1\n");
    const ProgramRun run = Run({"--answers", Path("a.ini"), "--", "/ND"});
    EXPECT_EQ(run.exitCode, 1603 % 256);
    EXPECT_NE(run.err.find("answers [Messages] 140 were never asked for"), std::string::npos);
    EXPECT_NE(run.err.find("answers [FONT#2] were never asked for"), std::string::npos) << run.err;
    machine.WriteFile("a.ini", "[Messages]\n132=Yes\n");
    const ProgramRun refused = Run({"--answers", Path("a.ini")});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_NE(refused.err.find("message 132"), std::string::npos);
}

using nlohmann::json;
using Set = std::multiset<std::string>;

const std::string kDisk = TL_SOURCE_DIR "/examples/disk";

// The sample PC of the demo: an ECP port, a foreign port monitor and status window for
// [DeleteIni] to take out.
void MakeSamplePc(const fs::path& pc) {
    ASSERT_EQ(RunProgram("/bin/bash", {TL_SOURCE_DIR "/examples/machine/make-machine.sh",
                                       (kBin / "tlmachine").string(), pc.string()})
                  .exitCode,
              0);
    std::ofstream(pc / "machine.ini", std::ios::app) << "[Drive.C]\nFreeBytes=50000000\n";
}

// The strings of a list, or its items' `key`.
Set Strings(const json& list, const char* key = "path") {
    Set texts;
    for (const json& item : list)
        texts.insert(item.is_string() ? item.get<std::string>() : item[key].get<std::string>());
    return texts;
}

// The INI lines of a list as "file|line".
Set IniListed(const json& list) {
    Set lines;
    for (const json& item : list)
        lines.insert(item["file"].get<std::string>() + "|" + item["line"].get<std::string>());
    return lines;
}

Set Minus(const Set& a, const Set& b) {
    Set rest;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::inserter(rest, rest.end()));
    return rest;
}

// "drive_c/WINDOWS/WIN.INI" -> "C:\WINDOWS\WIN.INI"; "" for the machine folder's own files.
std::string WindowsPath(std::string relative) {
    if (relative.rfind("drive_", 0) != 0 || relative.size() < 9)
        return "";
    std::replace(relative.begin(), relative.end(), '/', '\\');
    return std::string(1, static_cast<char>(std::toupper(relative[6]))) + ":\\" +
           relative.substr(8);
}

// Each line of the INI files of a folder as "file|line".
Set IniLines(const std::map<std::string, std::string>& files) {
    Set lines;
    for (const auto& [relative, bytes] : files) {
        const std::string path = WindowsPath(relative);
        if (path.size() < 4 || strcasecmp(path.c_str() + path.size() - 4, ".INI") != 0)
            continue;
        std::istringstream in(bytes);
        for (std::string line; std::getline(in, line);)
            lines.insert(path + "|" + line.substr(0, line.find('\r')));
    }
    return lines;
}

json Show(const fs::path& pc) {
    const ProgramRun show = RunProgram(kBin / "tlmachine", {"show", pc.string(), "--json"});
    EXPECT_EQ(show.exitCode, 0) << show.err;
    return json::parse(show.out);
}

using DryRun = Program;

TEST_F(DryRun, ListsExactlyWhatTheRealRunThenChangesAndLeavesThePcAsItWas) {
    const fs::path pc = machine.Root() / "pc";
    MakeSamplePc(pc);
    const auto before = FolderFiles(pc);
    const json shownBefore = Show(pc);
    const ProgramRun dry = RunProgram(
        kBin / "tlins32a", {"--machine", pc.string(), "--disk", kDisk, "--dry-run", "--json"});
    ASSERT_EQ(dry.exitCode, 3010 % 256) << dry.err;
    EXPECT_EQ(FolderDifferences(before, FolderFiles(pc)), "");
    const json report = json::parse(dry.out);
    EXPECT_EQ(report["exitStatus"], 3010);
    EXPECT_EQ(report["restart"], json::parse(R"({"asked":true,"restart":true})"));

    const ProgramRun real =
        RunProgram(kBin / "tlins32a", {"--machine", pc.string(), "--disk", kDisk});
    EXPECT_EQ(real.exitCode, dry.exitCode) << real.err;
    const auto after = FolderFiles(pc);

    // Files: added, replaced and removed, by the PC's paths.
    Set added, replaced, removed;
    for (const auto& [relative, bytes] : after) {
        const auto old = before.find(relative);
        if (old == before.end())
            added.insert(WindowsPath(relative));
        else if (old->second != bytes)
            replaced.insert(WindowsPath(relative));
    }
    for (const auto& [relative, bytes] : before)
        if (!after.count(relative))
            removed.insert(WindowsPath(relative));
    for (Set* set : {&added, &replaced, &removed})
        set->erase(""); // the machine folder's own files
    EXPECT_EQ(Strings(report["files"]["added"]), added);
    EXPECT_EQ(Strings(report["files"]["replaced"]), replaced);
    EXPECT_EQ(Strings(report["files"]["removed"]), removed);
    ASSERT_FALSE(report["files"]["backedUp"].empty());
    for (const std::string& backup : Strings(report["files"]["backedUp"], "backup"))
        EXPECT_TRUE(added.count(backup)) << backup;
    EXPECT_NE(std::find(report["files"]["replaced"].begin(), report["files"]["replaced"].end(),
                        json::parse(R"({"path":"C:\\WINDOWS\\SYSTEM\\lpt.vxd",
                                        "versionBefore":"4.0.0.950","version":"4.0.0.1111"})")),
              report["files"]["replaced"].end());

    // INI lines: what the real run's INI files gained and lost, line for line. A line commented
    // out is lost, and its comment (a gained line ending with it) is not listed as added.
    const Set was = IniLines(before), is = IniLines(after);
    Set gained = Minus(is, was);
    const Set commented = IniListed(report["ini"]["commentedOut"]);
    for (const std::string& line : commented) {
        const std::string file = line.substr(0, line.find('|')) + "|;";
        const auto comment = std::find_if(gained.begin(), gained.end(), [&](const std::string& g) {
            return g.starts_with(file) && g.ends_with(line.substr(line.find('|') + 1));
        });
        ASSERT_NE(comment, gained.end()) << line;
        gained.erase(comment);
    }
    EXPECT_EQ(IniListed(report["ini"]["added"]), gained);
    Set lost = IniListed(report["ini"]["removed"]);
    lost.insert(commented.begin(), commented.end());
    EXPECT_EQ(lost, Minus(was, is));

    // The spooler's records and the fonts, as tlmachine reads them.
    const json shownAfter = Show(pc);
    const auto addedNames = [&](const char* list) {
        return Minus(Strings(shownAfter[list], "name"), Strings(shownBefore[list], "name"));
    };
    for (const char* list : {"printers", "drivers", "monitors", "printProcessors"})
        EXPECT_EQ(Strings(report["spooler"][list]["added"]), addedNames(list)) << list;
    Set fonts;
    for (const std::string& font : Strings(report["fonts"]["added"]))
        fonts.insert(font.substr(0, font.find(" = ")));
    EXPECT_EQ(fonts, addedNames("fonts"));
    EXPECT_FALSE(fonts.empty());
}

TEST_F(DryRun, DrivesOutsideTheMachineFolderAreWriteProtectedForTheRun) {
    const fs::path pc = machine.Root() / "pc";
    MakeSamplePc(pc);
    machine.WriteFile("outside/TTF/KEEP.TXT", "kept");
    std::ofstream(pc / "machine.ini", std::ios::app)
        << "[Drives]\nD=" << (machine.Root() / "outside").string() << "\n";
    machine.WriteFile("a.ini", "[DIRECTORY]\n117=D:\\TTF\nPress=1\n");
    const auto files = FolderFiles(machine.Root());
    const ProgramRun dry = RunProgram(
        kBin / "tlins32a", {"--machine", pc.string(), "--disk", kDisk, "--answers", Path("a.ini"),
                            "--transcript", Path("t.jsonl"), "--dry-run"});
    auto filesAfter = FolderFiles(machine.Root());
    filesAfter.erase("t.jsonl");
    EXPECT_EQ(FolderDifferences(files, filesAfter), "");
    // The font folder on D: is refused as on a read-only drive (message 152), again and again:
    // the answers cannot be given and the run stops.
    EXPECT_EQ(dry.exitCode, 3) << dry.out << dry.err;
    EXPECT_NE(machine.ReadFile("t.jsonl").find(R"("key":"152")"), std::string::npos);
}

TEST_F(DryRun, JsonGoesOnlyWithDryRunAndTheDiskStaysWriteProtected) {
    EXPECT_EQ(Run({"--json"}).exitCode, 2);
    EXPECT_EQ(Run({"--dry-run", "--disk-writable"}).exitCode, 2);
}

} // namespace
} // namespace tl::test
