#include "disk_resolver.h"

#include "platform/win_types.h"
#include "text/ansi_text.h"

#include <optional>
#include <string>

namespace tl::tools {
namespace {

namespace fs = std::filesystem;

std::optional<fs::path> Entry(const fs::path& folder, std::string_view name) {
    std::error_code error;
    if (fs::exists(folder / std::string(name), error))
        return folder / std::string(name);
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (text::EqualsIgnoreCase(it->path().filename().string(), name))
            return it->path();
    }
    return std::nullopt;
}

} // namespace

std::optional<fs::path> FindOnDisk(const fs::path& disk, std::string_view path) {
    if (path.size() >= 2 && path[1] == ':')
        path.remove_prefix(2);
    fs::path found = disk;
    while (!path.empty()) {
        const std::size_t slash = path.find_first_of("\\/");
        const std::string_view part = path.substr(0, slash);
        path.remove_prefix(slash == std::string_view::npos ? path.size() : slash + 1);
        if (part.empty())
            continue;
        if (part == "." || part == "..")
            return std::nullopt;
        const std::optional<fs::path> next = Entry(found, part);
        if (!next)
            return std::nullopt;
        found = *next;
    }
    return found;
}

host::ResolvedPath DiskResolver::Resolve(std::string_view windowsPath, host::PathUse use) const {
    if (use == host::PathUse::Write)
        return {{}, kErrorAccessDenied};
    const std::optional<fs::path> found = FindOnDisk(disk_, windowsPath);
    if (found)
        return {*found, kErrorSuccess};
    // A missing last name still resolves, so that the caller sees "file not found".
    const std::size_t slash = windowsPath.find_last_of("\\/");
    const std::optional<fs::path> folder = slash == std::string_view::npos
                                               ? std::optional<fs::path>(disk_)
                                               : FindOnDisk(disk_, windowsPath.substr(0, slash));
    if (!folder)
        return {{}, kErrorPathNotFound};
    return {*folder / std::string(windowsPath.substr(slash + 1)), kErrorSuccess};
}

} // namespace tl::tools
