// --dry-run: the installation on a throwaway copy of the machine folder, and what it lists is
// what a real run then changes.
#include "support/folder_files.h"
#include "support/program_run.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

namespace tl {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

fs::path Bin() {
    return test::ProgramDir(TL_BINARY_DIR "/bin");
}

std::string SampleDisk() {
    return (fs::path(TL_SOURCE_DIR) / "examples/disk").string();
}

// The sample PC of the demo: an ECP port, a foreign port monitor and status window for
// [DeleteIni] to take out.
void MakeSamplePc(const fs::path& pc) {
    ASSERT_EQ(
        test::RunProgram("/bin/bash",
                         {(fs::path(TL_SOURCE_DIR) / "examples/machine/make-machine.sh").string(),
                          (Bin() / "tlmachine").string(), pc.string()})
            .exitCode,
        0);
    std::ofstream(pc / "machine.ini", std::ios::app) << "[Drive.C]\nFreeBytes=50000000\n";
}

std::set<std::string> Strings(const json& array) {
    std::set<std::string> texts;
    for (const json& item : array)
        texts.insert(item.is_string() ? item.get<std::string>() : item["path"].get<std::string>());
    return texts;
}

// "drive_c/WINDOWS/WIN.INI" -> "C:\WINDOWS\WIN.INI"; none for the machine folder's own files.
std::optional<std::string> WindowsPath(const std::string& relative) {
    if (relative.rfind("drive_", 0) != 0 || relative.size() < 9)
        return std::nullopt;
    std::string path =
        std::string(1, static_cast<char>(std::toupper(relative[6]))) + ":\\" + relative.substr(8);
    for (char& c : path)
        c = c == '/' ? '\\' : c;
    return path;
}

std::multiset<std::string> LinesOf(const std::string& text) {
    std::multiset<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.insert(line);
    }
    return lines;
}

std::multiset<std::string> Minus(const std::multiset<std::string>& a,
                                 const std::multiset<std::string>& b) {
    std::multiset<std::string> rest;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::inserter(rest, rest.end()));
    return rest;
}

std::set<std::string> Names(const json& report, const char* list) {
    std::set<std::string> names;
    for (const json& item : report[list])
        names.insert(item["name"].get<std::string>());
    return names;
}

bool IsIniFile(const std::string& path) {
    if (path.size() < 4)
        return false;
    std::string extension = path.substr(path.size() - 4);
    for (char& c : extension)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return extension == ".INI";
}

std::set<std::string> Added(const std::set<std::string>& before,
                            const std::set<std::string>& after) {
    std::set<std::string> added;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::inserter(added, added.end()));
    return added;
}

json Show(const fs::path& pc) {
    const test::ProgramRun show =
        test::RunProgram(Bin() / "tlmachine", {"show", pc.string(), "--json"});
    EXPECT_EQ(show.exitCode, 0) << show.err;
    return json::parse(show.out);
}

TEST(DryRun, ListsExactlyWhatTheRealRunThenChangesAndLeavesThePcAsItWas) {
    test::TempMachine scratch;
    const fs::path pc = scratch.Root() / "pc";
    MakeSamplePc(pc);
    const auto before = test::FolderFiles(pc);
    const json shownBefore = Show(pc);

    const test::ProgramRun dry =
        test::RunProgram(Bin() / "tlins32a",
                         {"--machine", pc.string(), "--disk", SampleDisk(), "--dry-run", "--json"});
    ASSERT_EQ(dry.exitCode, 3010 % 256) << dry.err;
    EXPECT_EQ(test::FolderDifferences(before, test::FolderFiles(pc)), "");
    const json report = json::parse(dry.out);
    EXPECT_EQ(report["exitStatus"], 3010);
    EXPECT_EQ(report["restart"], json::parse(R"({"asked":true,"restart":true})"));

    const test::ProgramRun real =
        test::RunProgram(Bin() / "tlins32a", {"--machine", pc.string(), "--disk", SampleDisk()});
    EXPECT_EQ(real.exitCode, dry.exitCode) << real.err;
    const auto after = test::FolderFiles(pc);

    // Files: added, replaced and removed, by the PC's paths.
    std::set<std::string> added, replaced, removed;
    for (const auto& [relative, bytes] : after) {
        const auto path = WindowsPath(relative);
        const auto old = before.find(relative);
        if (path && old == before.end())
            added.insert(*path);
        else if (path && old->second != bytes)
            replaced.insert(*path);
    }
    for (const auto& [relative, bytes] : before) {
        if (WindowsPath(relative) && !after.count(relative))
            removed.insert(*WindowsPath(relative));
    }
    EXPECT_EQ(Strings(report["files"]["added"]), added);
    EXPECT_EQ(Strings(report["files"]["replaced"]), replaced);
    EXPECT_EQ(Strings(report["files"]["removed"]), removed);
    ASSERT_FALSE(report["files"]["backedUp"].empty());
    for (const json& backup : report["files"]["backedUp"])
        EXPECT_TRUE(added.count(backup["backup"].get<std::string>())) << backup;
    for (const json& file : report["files"]["replaced"]) {
        if (file["path"] == "C:\\WINDOWS\\SYSTEM\\lpt.vxd") {
            EXPECT_EQ(file, json::parse(R"({"path":"C:\\WINDOWS\\SYSTEM\\lpt.vxd",
                                            "versionBefore":"4.0.0.950","version":"4.0.0.1111"})"));
        }
    }

    // INI lines: what the real run's INI files gained and lost, line for line.
    std::map<std::string, std::multiset<std::string>> gained, lost;
    for (const auto& [relative, bytes] : after) {
        const auto path = WindowsPath(relative);
        if (!path || !IsIniFile(*path))
            continue;
        const auto old = before.find(relative);
        const std::multiset<std::string> was = LinesOf(old == before.end() ? "" : old->second);
        const std::multiset<std::string> is = LinesOf(bytes);
        gained[*path] = Minus(is, was);
        lost[*path] = Minus(was, is);
    }
    std::map<std::string, std::multiset<std::string>> listedGained, listedLost;
    for (const json& line : report["ini"]["added"])
        listedGained[line["file"]].insert(line["line"].get<std::string>());
    for (const json& line : report["ini"]["commentedOut"]) {
        listedLost[line["file"]].insert(line["line"].get<std::string>());
        // Its comment is a line gained that ends with it.
        const auto& lines = gained[line["file"]];
        const std::string text = line["line"];
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.front() == ';' && l.size() > text.size() &&
                   l.compare(l.size() - text.size(), text.size(), text) == 0;
        })) << text;
    }
    for (const json& line : report["ini"]["removed"])
        listedLost[line["file"]].insert(line["line"].get<std::string>());
    for (const auto& [file, lines] : gained) {
        std::multiset<std::string> plain;
        for (const std::string& line : lines) {
            const bool comment = std::any_of(
                report["ini"]["commentedOut"].begin(), report["ini"]["commentedOut"].end(),
                [&](const json& c) {
                    const std::string text = c["line"];
                    return c["file"] == file && line.size() > text.size() && line.front() == ';' &&
                           line.compare(line.size() - text.size(), text.size(), text) == 0;
                });
            if (!comment)
                plain.insert(line);
        }
        EXPECT_EQ(plain, listedGained[file]) << file;
        EXPECT_EQ(lost[file], listedLost[file]) << file;
    }

    // The spooler's records and the fonts, as tlmachine reads them.
    const json shownAfter = Show(pc);
    for (const char* list : {"printers", "drivers", "monitors", "printProcessors"})
        EXPECT_EQ(Strings(report["spooler"][list]["added"]),
                  Added(Names(shownBefore, list), Names(shownAfter, list)))
            << list;
    std::set<std::string> fonts;
    for (const std::string& font : Strings(report["fonts"]["added"]))
        fonts.insert(font.substr(0, font.find(" = ")));
    EXPECT_EQ(fonts, Added(Names(shownBefore, "fonts"), Names(shownAfter, "fonts")));
    EXPECT_FALSE(fonts.empty());
}

TEST(DryRun, DrivesOutsideTheMachineFolderAreWriteProtectedForTheRun) {
    test::TempMachine scratch;
    const fs::path pc = scratch.Root() / "pc";
    const fs::path outside = scratch.Root() / "outside";
    MakeSamplePc(pc);
    fs::create_directories(outside / "TTF");
    std::ofstream(outside / "TTF" / "KEEP.TXT") << "kept";
    std::ofstream(pc / "machine.ini", std::ios::app) << "[Drives]\nD=" << outside.string() << "\n";
    std::ofstream(scratch.Root() / "a.ini") << "[DIRECTORY]\n117=D:\\TTF\nPress=1\n";
    const auto pcBefore = test::FolderFiles(pc);
    const auto outsideBefore = test::FolderFiles(outside);

    const fs::path transcript = scratch.Root() / "t.jsonl";
    const test::ProgramRun dry =
        test::RunProgram(Bin() / "tlins32a", {"--machine", pc.string(), "--disk", SampleDisk(),
                                              "--answers", (scratch.Root() / "a.ini").string(),
                                              "--transcript", transcript.string(), "--dry-run"});
    EXPECT_EQ(test::FolderDifferences(pcBefore, test::FolderFiles(pc)), "");
    EXPECT_EQ(test::FolderDifferences(outsideBefore, test::FolderFiles(outside)), "");
    // The font folder on D: is refused as on a read-only drive (message 152), again and again:
    // the answers cannot be given and the run stops.
    EXPECT_EQ(dry.exitCode, 3) << dry.out << dry.err;
    std::ifstream lines(transcript);
    std::string text((std::istreambuf_iterator<char>(lines)), {});
    EXPECT_NE(text.find(R"("key":"152")"), std::string::npos) << text;
}

TEST(DryRun, JsonGoesOnlyWithDryRunAndTheDiskStaysWriteProtected) {
    test::TempMachine scratch;
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"--json"}, {"--dry-run", "--disk-writable"}}) {
        std::vector<std::string> args{"--machine", scratch.Root().string()};
        args.insert(args.end(), wrong.begin(), wrong.end());
        EXPECT_EQ(test::RunProgram(Bin() / "tlins32a", args).exitCode, 2) << wrong[0];
    }
}

} // namespace
} // namespace tl
