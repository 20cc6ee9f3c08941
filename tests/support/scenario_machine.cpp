#include "support/scenario_machine.h"

#include "support/program_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <random>
#include <sstream>

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
    std::random_device random;
    fs::path parent = fs::temp_directory_path();
    do {
        root_ = parent / ("tlscenario-" + std::to_string(random()));
    } while (fs::exists(root_));
    std::vector<std::string> args{"init", root_.string()};
    args.insert(args.end(), initOptions.begin(), initOptions.end());
    ProgramRun init = RunProgram(programDir_ / "tlmachine", args);
    ready_ = init.exitCode == 0;
    if (!ready_)
        ADD_FAILURE() << "tlmachine init failed (" << init.exitCode << "): " << init.err;
}

ScenarioMachine::~ScenarioMachine() {
    std::error_code ec;
    fs::remove_all(root_, ec);
}

fs::path ScenarioMachine::HostPath(std::string_view windowsPath) const {
    char drive = 0;
    std::vector<std::string> parts;
    if (!SplitWindowsPath(windowsPath, drive, parts))
        return {};
    fs::path path = root_ / (std::string("drive_") + drive);
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
    if (path.empty() || !fs::exists(path, ec))
        return std::nullopt;
    return path;
}

std::string ScenarioMachine::Read(std::string_view windowsPath) const {
    std::optional<fs::path> path = Find(windowsPath);
    if (!path)
        return {};
    std::ifstream in(*path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void ScenarioMachine::Write(std::string_view windowsPath, std::string_view bytes) const {
    fs::path path = HostPath(windowsPath);
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void ScenarioMachine::CopyIn(const fs::path& hostFolder, std::string_view windowsDirectory) const {
    fs::path target = HostPath(windowsDirectory);
    fs::create_directories(target);
    fs::copy(hostFolder, target,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

std::set<std::string> ScenarioMachine::FileNames(std::string_view windowsDirectory) const {
    std::set<std::string> names;
    std::optional<fs::path> directory = Find(windowsDirectory);
    if (!directory)
        return names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(*directory, ec)) {
        if (entry.is_regular_file())
            names.insert(Upper(entry.path().filename().string()));
    }
    return names;
}

nlohmann::json ScenarioMachine::Show() const {
    ProgramRun show = RunProgram(programDir_ / "tlmachine", {"show", root_.string(), "--json"});
    if (show.exitCode != 0) {
        ADD_FAILURE() << "tlmachine show failed (" << show.exitCode << "): " << show.err;
        return nullptr;
    }
    return nlohmann::json::parse(show.out, nullptr, false);
}

} // namespace tl::test
