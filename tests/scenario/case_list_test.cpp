// The scenario list: every file of tests/scenario/cases is one case (docs/testing.md describes
// the format), run here with the host program. scripts/differential.sh runs the same cases with
// the Windows program under Wine and compares both runs; DISABLED_Export hands it a case's disk,
// answers and starting files.
#include "scenario.h"

#include "support/folder_files.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace tl::test {
namespace {

namespace fs = std::filesystem;
using Line = std::pair<std::string, std::string>; // key, value

struct Case {
    std::string name;
    std::vector<std::vector<Line>> runs; // split at "then:"; the first holds the setup too
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

// "\n", "\r" and "\0" in a value stand for those bytes; every other backslash is itself.
std::string Unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : ' ';
        if (text[i] == '\\' && (next == 'n' || next == 'r' || next == '0')) {
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : '\0';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// "A: B" -> {"A", "B"} (the first ": "; a drive's "C:\" does not split).
std::pair<std::string, std::string> Split(const std::string& value, std::string_view at = ": ") {
    const std::size_t pos = value.find(at);
    if (pos == std::string::npos) // "A:" at the line's end: an empty B
        return {value.ends_with(at[0]) ? value.substr(0, value.size() - 1) : value, ""};
    return {value.substr(0, pos), value.substr(pos + at.size())};
}

// {windows}, {system} and {fonts} in a path: the default PC's directories.
std::string WindowsPath(std::string path) {
    for (const auto& [from, to] : {std::pair{"{windows}", "C:\\WINDOWS"},
                                   {"{system}", "C:\\WINDOWS\\SYSTEM"},
                                   {"{fonts}", "C:\\WINDOWS\\FONTS"}})
        if (path.starts_with(from))
            path = to + path.substr(std::string_view(from).size());
    return path;
}

std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (const auto& entry : fs::directory_iterator(TL_SOURCE_DIR "/tests/scenario/cases")) {
        Case c{entry.path().stem().string(), {{}}};
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) {
            if (line.empty() || line[0] == '#')
                continue;
            auto [key, value] = Split(line, ":");
            value.erase(0, value.find_first_not_of(' '));
            if (key == "then")
                c.runs.emplace_back();
            else
                c.runs.back().emplace_back(key, value);
        }
        cases.push_back(std::move(c));
    }
    std::sort(cases.begin(), cases.end(),
              [](const Case& a, const Case& b) { return a.name < b.name; });
    return cases;
}

// "NE 4.0.3.7" -> the bytes of such an image (NE, LE or PE); "NE 4.0.3.7 + N": N NULs behind.
std::string Image(const std::string& description) {
    unsigned v[4] = {}, padding = 0;
    std::sscanf(description.c_str() + 3, "%u.%u.%u.%u + %u", &v[0], &v[1], &v[2], &v[3], &padding);
    const ImageKind kind = description[0] == 'N'   ? ImageKind::Ne
                           : description[0] == 'L' ? ImageKind::Le
                                                   : ImageKind::Pe;
    return ImageBytes(kind, {static_cast<std::uint16_t>(v[0]), static_cast<std::uint16_t>(v[1]),
                             static_cast<std::uint16_t>(v[2]), static_cast<std::uint16_t>(v[3])}) +
           std::string(padding, '\0');
}

// The disk as the case's setup lines make it.
void MakeDisk(const TempFolder& disk, const std::vector<Line>& lines) {
    for (const auto& [key, value] : lines) {
        const auto [path, text] = Split(value);
        if (key == "disk" && value == "sample")
            fs::copy(TL_SOURCE_DIR "/examples/disk", disk.Root(), fs::copy_options::recursive);
        else if (key == "disk")
            WriteStandardDisk(disk, value == "flat" ? "" : "WIN95");
        else if (key == "edit") {
            const auto [from, to] = Split(text, " => ");
            disk.WriteFile(path, Replaced(disk.ReadFile(path), Unescaped(from), Unescaped(to)));
        } else if (key == "remove")
            fs::remove(disk.Root() / value);
        else if (key == "write")
            disk.WriteFile(path, Unescaped(text));
        else if (key == "image")
            disk.WriteFile(path, Image(text));
        else if (key == "pack") // "FILE: C": SZDD-compressed, C the missing last letter
            disk.WriteFile(path, Compressed(disk.ReadFile(path), text[0]));
        else if (key == "cut")
            disk.WriteFile(value, disk.ReadFile(value).substr(0, disk.ReadFile(value).size() / 2));
    }
}

// The answers and command line of a run.
std::pair<std::string, std::string> Input(const std::vector<Line>& lines) {
    std::string answersText, command;
    for (const auto& [key, value] : lines) {
        if (key == "answer")
            answersText += value + "\n";
        else if (key == "answers") {
            std::ifstream in(std::string(TL_SOURCE_DIR) + "/" + value, std::ios::binary);
            answersText += std::string(std::istreambuf_iterator<char>(in), {});
        } else if (key == "command")
            command = value;
    }
    return {answersText, command};
}

class ScenarioCase : public Scenario, public ::testing::WithParamInterface<Case> {
protected:
    // The PC as the case's setup lines make it: tlmachine's options, files and INI lines placed.
    void MakePc(const std::vector<Line>& lines) {
        std::vector<std::string> init;
        for (const auto& [key, value] : lines) {
            const auto [option, argument] = Split(value, " ");
            if (key == "machine")
                init.push_back(option);
            if (key == "machine" && !argument.empty())
                init.push_back(argument);
        }
        ScenarioMachine& pc = MakeMachine(init);
        for (const auto& [key, value] : lines) {
            const auto [path, text] = Split(value);
            if (key == "place")
                pc.Write(WindowsPath(path), Unescaped(text));
            else if (key == "place-image")
                pc.Write(WindowsPath(path), Image(text));
            else if (key == "ini") // "FILE: [Section] line": the line first in its section
                AddIniLine(pc, WindowsPath(path), Split(text, "] ").first + "]",
                           Split(text, "] ").second);
            else if (key == "readonly")
                fs::permissions(*pc.Find(WindowsPath(value)), fs::perms::owner_write,
                                fs::perm_options::remove);
        }
        for (const auto& [key, value] : lines) {
            const auto [file, was] = Split(value, " = "); // "was: FILE = what OTHER held"
            if (key == "readonly" || key == "unchanged" || key == "was")
                kept[WindowsPath(file)] = pc.Read(WindowsPath(key == "was" ? was : file));
        }
    }

    static void AddIniLine(ScenarioMachine& pc, const std::string& file, const std::string& section,
                           const std::string& line) {
        std::string text = pc.Read(file);
        const std::size_t at = text.find(section + "\r\n");
        if (at == std::string::npos)
            text += section + "\r\n" + line + "\r\n";
        else
            text.insert(at + section.size() + 2, line + "\r\n");
        pc.Write(file, text);
    }

    void Check(const RunOutcome& run, const std::vector<Line>& lines) {
        std::vector<std::string> story;
        bool stops = false;
        ScenarioMachine& pc = Machine();
        for (const auto& [key, value] : lines) {
            SCOPED_TRACE(key + ": " + value);
            const auto [path, text] = Split(value, " = ");
            if (key == "story")
                story.push_back(value);
            else if (key == "shows")
                EXPECT_THAT(run.Story(), ::testing::Contains(value));
            else if (key == "lacks")
                EXPECT_THAT(run.Story(), ::testing::Not(::testing::Contains(value)));
            else if (key == "exit") {
                EXPECT_EQ(run.program.exitCode, std::stoi(value) % 256) << run.program.err;
                if (std::stoi(value) != 3) {
                    EXPECT_EQ(run.transcript.End().value("status", -1), std::stoi(value));
                }
            } else if (key == "state")
                EXPECT_EQ(run.State(), std::stoi(value));
            else if (key == "stops" || key == "refused") { // this on the error output
                stops = true;
                EXPECT_EQ(run.program.exitCode, key == "stops" ? 3 : 2);
                EXPECT_THAT(run.program.err, ::testing::HasSubstr(value));
            } else if (key == "exists")
                EXPECT_TRUE(pc.Exists(WindowsPath(value)));
            else if (key == "absent")
                EXPECT_FALSE(pc.Exists(WindowsPath(value)));
            else if (key == "file" && text.empty()) // "PATH ~ TEXT": the file holds TEXT
                EXPECT_THAT(pc.Read(WindowsPath(Split(value, " ~ ").first)),
                            ::testing::HasSubstr(Unescaped(Split(value, " ~ ").second)));
            else if (key == "file") // "PATH = TEXT" or "PATH = image KIND VERSION"
                EXPECT_EQ(pc.Read(WindowsPath(path)),
                          text.starts_with("image ") ? Image(text.substr(6)) : Unescaped(text));
            else if (key == "setting")
                EXPECT_EQ(Setting(path), text);
            else if (key == "printers") {
                std::vector<std::string> names;
                const nlohmann::json show = pc.Show();
                for (const nlohmann::json& printer : show["printers"])
                    names.push_back(printer["name"]);
                EXPECT_EQ(::testing::PrintToString(names), value);
            } else if (key == "show") { // "/JSON/POINTER = VALUE" of tlmachine show --json
                const nlohmann::json show = pc.Show();
                const nlohmann::json::json_pointer pointer(path);
                EXPECT_EQ(show.contains(pointer) ? show[pointer].dump() : "(none)", text)
                    << show.dump();
            } else if (key == "message" || key == "dialog") { // "KEY FIELD = TEXT" or "~ TEXT"
                const bool within = text.empty();
                const auto [where, expected] = within ? Split(value, " ~ ") : Split(value, " = ");
                const auto [name, field] = Split(where, " ");
                nlohmann::json event =
                    key == "message" ? run.transcript.Message(name) : run.transcript.Dialog(name);
                if (key == "dialog" && std::isdigit(static_cast<unsigned char>(field[0])))
                    event = event["opened"]["controls"][Split(field, " ").first]; // "ID [checked]"
                const std::string member = field.ends_with(" checked") ? "checked"
                                           : std::isdigit(static_cast<unsigned char>(field[0]))
                                               ? "text"
                                               : field;
                const std::string shown = !event.is_object() || !event.contains(member) ? "(none)"
                                          : event[member].is_string()
                                              ? event[member].get<std::string>()
                                              : event[member].dump();
                EXPECT_TRUE(within ? shown.find(Unescaped(expected)) != std::string::npos
                                   : shown == Unescaped(expected))
                    << shown;
            }
        }
        EXPECT_TRUE(stops || run.Ended()) << run.program.err;
        EXPECT_TRUE(story.empty() || run.Story() == story) << ::testing::PrintToString(run.Story());
        for (const auto& [file, bytes] : kept)
            EXPECT_EQ(pc.Read(file), bytes) << file << " changed";
        for (const auto& [key, value] : setup) {
            const auto file = key == "readonly" ? pc.Find(WindowsPath(value)) : std::nullopt;
            EXPECT_TRUE(!file || (fs::status(*file).permissions() & fs::perms::owner_write) ==
                                     fs::perms::none)
                << value << " is no longer read-only";
        }
    }

    std::map<std::string, std::string> kept; // files and the bytes they must hold after a run
    std::vector<Line> setup;
};

TEST_P(ScenarioCase, Runs) {
    const Case& c = GetParam();
    MakeDisk(disk, c.runs.front());
    MakePc(c.runs.front());
    setup = c.runs.front();
    const auto diskFiles = FolderFiles(disk.Root());
    for (std::size_t n = 0; n < c.runs.size(); ++n) {
        SCOPED_TRACE("run " + std::to_string(n + 1));
        std::string command;
        std::tie(answers, command) = Input(c.runs[n]);
        Check(Run(command), c.runs[n]);
        EXPECT_EQ(FolderDifferences(diskFiles, FolderFiles(disk.Root())), "") << "disk written";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ScenarioCase, ::testing::ValuesIn(Cases()),
                         [](const auto& param) { return param.param.name; });

// For the Windows build's run of case TL_CASE: its disk, each run's answers and command line, and
// the files and INI lines placed on the PC, written to TL_CASE_EXPORT.
TEST(ScenarioCases, DISABLED_Export) {
    const char* name = std::getenv("TL_CASE");
    const char* out = std::getenv("TL_CASE_EXPORT");
    ASSERT_TRUE(name && out);
    const std::vector<Case> cases = Cases();
    const auto c =
        std::find_if(cases.begin(), cases.end(), [&](const Case& x) { return x.name == name; });
    ASSERT_NE(c, cases.end()) << "no case " << name;
    const fs::path folder(out);
    TempFolder made;
    MakeDisk(made, c->runs.front());
    fs::copy(made.Root(), folder / "disk", fs::copy_options::recursive);
    std::ofstream placed(folder / "place.lst", std::ios::binary);
    std::ofstream lines(folder / "ini.lst", std::ios::binary);
    int n = 0;
    for (const auto& [key, value] : c->runs.front()) {
        const auto [path, text] = Split(value);
        if (key == "place" || key == "place-image") {
            placed << path << "\t" << ++n << "\n";
            std::ofstream(folder / ("place-" + std::to_string(n)), std::ios::binary)
                << (key == "place" ? Unescaped(text) : Image(text));
        } else if (key == "ini") {
            lines << path << "\t" << Split(text, "] ").first << "]\t" << Split(text, "] ").second
                  << "\n";
        }
    }
    for (std::size_t run = 0; run < c->runs.size(); ++run) {
        const auto [answersText, command] = Input(c->runs[run]);
        std::ofstream(folder / ("run-" + std::to_string(run + 1) + ".ini"), std::ios::binary)
            << answersText;
        std::ofstream(folder / ("run-" + std::to_string(run + 1) + ".cmd"), std::ios::binary)
            << command;
    }
}

} // namespace
} // namespace tl::test
