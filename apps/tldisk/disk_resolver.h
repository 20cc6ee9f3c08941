// Paths of an install disk as the installer's readers name them ("A:\WIN95\TL600.DR_" or
// "WIN95\TL600.DR_") -> files of the disk folder, names matched without regard to case as a
// FAT disk matches them. The disk is read-only: a path for writing is refused (5).
#pragma once

#include "platform/host/path_resolver.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace tl::tools {

class DiskResolver final : public host::PathResolver {
public:
    explicit DiskResolver(std::filesystem::path disk) : disk_(std::move(disk)) {}

    host::ResolvedPath Resolve(std::string_view windowsPath, host::PathUse use) const override;

    const std::filesystem::path& Disk() const { return disk_; }

private:
    std::filesystem::path disk_;
};

// The file of the disk folder at `path` (components separated by "\"), matched without case;
// none when a component is missing or is "." or "..".
std::optional<std::filesystem::path> FindOnDisk(const std::filesystem::path& disk,
                                                std::string_view path);

} // namespace tl::tools
