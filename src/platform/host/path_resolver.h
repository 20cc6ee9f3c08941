// How the host adapters find the host file behind a Windows path of the simulated PC.
#pragma once

#include "platform/win_types.h"

#include <filesystem>
#include <string_view>

namespace tl::host {

struct ResolvedPath {
    std::filesystem::path path;  // valid when error == kErrorSuccess
    DWORD error = kErrorSuccess; // 3 for a missing drive, 5 for writing to a read-only drive
    explicit operator bool() const { return error == kErrorSuccess; }
};

enum class PathUse { Read, Write };

class PathResolver {
public:
    virtual ~PathResolver() = default;
    // Maps an ANSI Windows path (drive letter or relative to the current directory, '\' or '/')
    // to the host path, matching existing names case-insensitively; new names keep their case.
    virtual ResolvedPath Resolve(std::string_view windowsPath, PathUse use) const = 0;
};

} // namespace tl::host
