// `tldisk check`: an install disk read the way the installer reads it (its setup-script reader,
// catalogue walk, LZ expansion, version records and name checks), reporting what would fail.
#pragma once

#include "disk_finding.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tl::tools {

struct DiskCheckResult {
    bool readable = false; // INSTALL.INF could be loaded
    std::string error;     // why not
    std::vector<Finding> findings;
};

DiskCheckResult CheckDisk(const std::filesystem::path& disk);

} // namespace tl::tools
