#include "machine_changes.h"

#include "platform/host/machine_config.h"
#include "platform/host/machine_path_resolver.h"
#include "platform/host/version_host.h"
#include "platform/version_info.h"

#include <fstream>
#include <map>
#include <sstream>

namespace tl::app {
namespace {

namespace fs = std::filesystem;

// The registry of a machine folder.
constexpr std::string_view kRegistryFile = "registry.reg";

std::optional<std::string> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool EndsWithNoCase(std::string_view text, std::string_view end) {
    if (text.size() < end.size())
        return false;
    for (std::size_t i = 0; i < end.size(); ++i) {
        if (Lower(text[text.size() - end.size() + i]) != Lower(end[i]))
            return false;
    }
    return true;
}

// "name.Bnn": a backup's name; the stem it keeps.
std::optional<std::string> BackupStem(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || name.size() - dot != 4)
        return std::nullopt;
    const std::string_view extension = name.substr(dot + 1);
    if (Lower(extension[0]) != 'b' || extension[1] < '0' || extension[1] > '9' ||
        extension[2] < '0' || extension[2] > '9')
        return std::nullopt;
    return std::string(name.substr(0, dot + 1));
}

// The PC's files of one machine folder: the folders of the drives inside it, by drive.
struct DriveFiles {
    char letter = 0;
    std::map<std::string, fs::path> files; // relative path ("WINDOWS/WIN.INI") -> host file
};

std::vector<DriveFiles> FilesOf(const fs::path& machine, const host::MachineConfig& config,
                                const fs::path& copy) {
    std::vector<DriveFiles> drives;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const host::DriveConfig& drive = config.Drive(letter);
        // Drives outside the copy were write-protected during the run: they cannot have changed.
        if (drive.state != host::DriveConfig::State::Present || drive.readOnly)
            continue;
        std::error_code error;
        const fs::path relative = drive.folder.lexically_relative(copy);
        if (relative.empty() || *relative.begin() == "..")
            continue;
        DriveFiles files{letter, {}};
        const fs::path folder = machine / relative;
        for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            if (it->is_regular_file(error))
                files.files[it->path().lexically_relative(folder).generic_string()] = it->path();
        }
        drives.push_back(std::move(files));
    }
    return drives;
}

std::string WindowsPath(char letter, const std::string& relative) {
    std::string path = std::string(1, letter) + ":\\" + relative;
    for (char& c : path)
        c = c == '/' ? '\\' : c;
    return path;
}

// The file version "a.b.c.d" as the version functions read it, or none.
std::optional<std::string> VersionOf(const host::PathResolver& resolver, std::string_view path) {
    host::HostVersionInfo versions(resolver);
    DWORD handle = 0;
    const DWORD size = versions.GetFileVersionInfoSize(path, &handle);
    if (size == 0)
        return std::nullopt;
    std::vector<BYTE> block(size);
    const void* value = nullptr;
    UINT length = 0;
    if (!versions.GetFileVersionInfo(path, handle, size, block.data()) ||
        !versions.VerQueryValue(block.data(), "\\", &value, &length))
        return std::nullopt;
    const std::optional<FixedFileInfo> fixed = ReadFixedFileInfo(value, length);
    if (!fixed)
        return std::nullopt;
    return std::to_string(fixed->dwFileVersionMS >> 16) + "." +
           std::to_string(fixed->dwFileVersionMS & 0xFFFF) + "." +
           std::to_string(fixed->dwFileVersionLS >> 16) + "." +
           std::to_string(fixed->dwFileVersionLS & 0xFFFF);
}

} // namespace

std::optional<MachineChanges> CompareMachines(const fs::path& before, const fs::path& after,
                                              const CodePage& codePage, std::string& error) {
    host::MachineConfigResult beforeConfig = host::LoadMachineConfig(before, codePage);
    host::MachineConfigResult afterConfig = host::LoadMachineConfig(after, codePage);
    if (!beforeConfig.config || !afterConfig.config) {
        error = beforeConfig.config ? afterConfig.error : beforeConfig.error;
        return std::nullopt;
    }
    const host::MachinePathResolver beforeFiles(*beforeConfig.config, codePage);
    const host::MachinePathResolver afterFiles(*afterConfig.config, codePage);
    MachineChanges changes;
    const std::vector<DriveFiles> old = FilesOf(before, *afterConfig.config, after);
    const std::vector<DriveFiles> now = FilesOf(after, *afterConfig.config, after);
    for (std::size_t d = 0; d < now.size(); ++d) {
        const DriveFiles& drive = now[d];
        const auto& oldFiles = old[d].files;
        for (const auto& [relative, host] : drive.files) {
            const std::string path = WindowsPath(drive.letter, relative);
            const std::string ansi = codePage.FromUtf8(path);
            const auto previous = oldFiles.find(relative);
            if (previous == oldFiles.end()) {
                changes.added.push_back({path, std::nullopt, VersionOf(afterFiles, ansi)});
                const std::optional<std::string> stem = BackupStem(relative);
                if (!stem)
                    continue;
                // The file it is a copy of: beside it under the same stem, there before the run.
                const std::optional<std::string> bytes = ReadFile(host);
                for (const auto& [name, file] : oldFiles) {
                    if (name.size() > stem->size() && name.compare(0, stem->size(), *stem) == 0 &&
                        ReadFile(file) == bytes) {
                        changes.backups.push_back({WindowsPath(drive.letter, name), path});
                        break;
                    }
                }
                continue;
            }
            const std::optional<std::string> was = ReadFile(previous->second);
            const std::optional<std::string> is = ReadFile(host);
            if (was == is)
                continue;
            changes.replaced.push_back(
                {path, VersionOf(beforeFiles, ansi), VersionOf(afterFiles, ansi)});
            if (EndsWithNoCase(relative, ".ini") && was && is)
                CompareIniText(path, *was, *is, codePage, changes);
        }
        for (const auto& [relative, host] : oldFiles) {
            if (!drive.files.count(relative))
                changes.removed.push_back(WindowsPath(drive.letter, relative));
        }
        for (const FileChange& file : changes.added) {
            if (EndsWithNoCase(file.path, ".ini") && file.path[0] == drive.letter) {
                const std::string relative = file.path.substr(3);
                std::string host = relative;
                for (char& c : host)
                    c = c == '\\' ? '/' : c;
                if (const auto bytes = ReadFile(drive.files.at(host)))
                    CompareIniText(file.path, "", *bytes, codePage, changes);
            }
        }
    }
    const std::optional<std::string> registryBefore = ReadFile(before / kRegistryFile);
    const std::optional<std::string> registryAfter = ReadFile(after / kRegistryFile);
    if (!CompareRegistryText(registryBefore.value_or(""), registryAfter.value_or(""), codePage,
                             changes.registry, error))
        return std::nullopt;
    return changes;
}

} // namespace tl::app
