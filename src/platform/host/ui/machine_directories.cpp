#include "platform/host/ui/machine_directories.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace tl::host {

bool MatchesPattern(std::string_view name, std::string_view pattern) {
    if (pattern == "*.*" || pattern == "*")
        return true;
    if (pattern.empty())
        return name.empty();
    if (pattern.front() == '*') {
        for (std::size_t skip = 0; skip <= name.size(); ++skip) {
            if (MatchesPattern(name.substr(skip), pattern.substr(1)))
                return true;
        }
        return false;
    }
    if (name.empty())
        return false;
    bool same =
        pattern.front() == '?' || std::toupper(static_cast<unsigned char>(pattern.front())) ==
                                      std::toupper(static_cast<unsigned char>(name.front()));
    return same && MatchesPattern(name.substr(1), pattern.substr(1));
}

DirectoryLister MachineDirectoryLister(MachinePathResolver& resolver, const MachineConfig& config,
                                       const CodePage& codePage) {
    return
        [&resolver, &config, &codePage](std::string_view spec) -> std::optional<DirectoryListing> {
            std::error_code error;
            // The full path of a directory that `path` names, or none.
            auto directoryOf = [&](std::string_view path) -> std::optional<std::string> {
                FullPath full = resolver.GetFullPathName(path.empty() ? "." : path);
                if (!full)
                    return std::nullopt;
                ResolvedPath resolved = resolver.Resolve(full.path, PathUse::Read);
                if (!resolved || !std::filesystem::is_directory(resolved.path, error))
                    return std::nullopt;
                return full.path;
            };
            // As DlgDirList reads a path: a directory, else a directory and a file pattern after
            // the last separator (a pattern alone lies in the current directory).
            std::string pattern = "*.*";
            std::optional<std::string> found = directoryOf(spec);
            if (!found) {
                std::size_t start = spec.size() > 1 && spec[1] == ':' ? 2 : 0;
                std::size_t separator = spec.find_last_of("\\/");
                if (separator == std::string_view::npos || separator < start) {
                    pattern = std::string(spec.substr(start));
                    found = directoryOf(start ? std::string(spec.substr(0, 2)) : std::string("."));
                } else {
                    pattern = std::string(spec.substr(separator + 1));
                    std::string_view parent = spec.substr(0, separator);
                    found = directoryOf(parent.size() == start
                                            ? std::string(spec.substr(0, separator + 1))
                                            : std::string(parent));
                }
            }
            if (!found)
                return std::nullopt;
            std::string directory = *found;
            if (resolver.SetCurrentDirectory(directory) != kErrorSuccess)
                return std::nullopt;
            DirectoryListing listing;
            listing.directory = directory;
            listing.pattern = pattern;
            ResolvedPath resolved = resolver.Resolve(directory, PathUse::Read);
            for (const auto& entry : std::filesystem::directory_iterator(resolved.path, error)) {
                std::string name = codePage.FromUtf8(entry.path().filename().string());
                if (entry.is_directory(error))
                    listing.directories.push_back(name);
                else if (MatchesPattern(name, pattern))
                    listing.files.push_back(name);
            }
            std::sort(listing.files.begin(), listing.files.end());
            std::sort(listing.directories.begin(), listing.directories.end());
            for (char letter = 'A'; letter <= 'Z'; ++letter) {
                if (config.Drive(letter).state != DriveConfig::State::Missing)
                    listing.drives.push_back(letter);
            }
            return listing;
        };
}

} // namespace tl::host
