#include "support/scenario_machine.h"

#include "support/folder_files.h"
#include "support/program_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace tl::test {

namespace fs = std::filesystem;

namespace {

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The Windows path's drive letter and its components: "C:\A\B" -> 'c', {"A", "B"}.
bool SplitWindowsPath(std::string_view path, char& drive, std::vector<std::string>& parts) {
    if (path.size() < 2 || path[1] != ':')
        return false;
    drive = static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])));
    std::string part;
    for (char c : path.substr(2)) {
        if (c == '\\' || c == '/') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
            continue;
        }
        part += c;
    }
    if (!part.empty())
        parts.push_back(part);
    return true;
}

} // namespace

ScenarioMachine::ScenarioMachine(const fs::path& programDir,
                                 const std::vector<std::string>& initOptions)
    : programDir_(programDir) {
    std::vector<std::string> args{"init", Root().string()};
    args.insert(args.end(), initOptions.begin(), initOptions.end());
    ProgramRun init = RunProgram(programDir_ / "tlmachine", args);
    ready_ = init.exitCode == 0;
    if (!ready_)
        ADD_FAILURE() << "tlmachine init failed (" << init.exitCode << "): " << init.err;
}

fs::path ScenarioMachine::HostPath(std::string_view windowsPath) const {
    char drive = 0;
    std::vector<std::string> parts;
    if (!SplitWindowsPath(windowsPath, drive, parts))
        return Root() / windowsPath;
    fs::path path = Root() / (std::string("drive_") + drive);
    for (const std::string& part : parts) {
        fs::path exact = path / part;
        std::error_code ec;
        if (!fs::exists(exact, ec) && fs::is_directory(path, ec)) {
            for (const auto& entry : fs::directory_iterator(path, ec)) {
                if (Upper(entry.path().filename().string()) == Upper(part)) {
                    exact = entry.path();
                    break;
                }
            }
        }
        path = exact;
    }
    return path;
}

std::optional<fs::path> ScenarioMachine::Find(std::string_view windowsPath) const {
    fs::path path = HostPath(windowsPath);
    std::error_code ec;
    if (!fs::exists(path, ec))
        return std::nullopt;
    return path;
}

std::string ScenarioMachine::Read(std::string_view windowsPath) const {
    std::optional<fs::path> path = Find(windowsPath);
    return path ? ReadBytes(*path) : std::string();
}

void ScenarioMachine::Write(std::string_view windowsPath, std::string_view bytes) const {
    WriteBytes(HostPath(windowsPath), bytes);
}

nlohmann::json ScenarioMachine::Show() const {
    ProgramRun show = RunProgram(programDir_ / "tlmachine", {"show", Root().string(), "--json"});
    if (show.exitCode != 0) {
        ADD_FAILURE() << "tlmachine show failed (" << show.exitCode << "): " << show.err;
        return nullptr;
    }
    return nlohmann::json::parse(show.out, nullptr, false);
}

} // namespace tl::test
