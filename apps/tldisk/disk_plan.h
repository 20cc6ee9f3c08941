// Which file of an install disk folder goes onto which floppy: read from the disk's INSTALL.INF
// exactly as the installer reads it. Disk 1 holds everything but what belongs to another disk:
// the tag file named in a [DISKn] section (n from 2) at the root of disk n, and every font that
// "<font>.TrueType" puts on disk n in the driver folder of disk n.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::tools {

// One file of a floppy: where it is on the host and its path on the disk ("WIN95/TL600.DR_").
struct FloppyFile {
    std::filesystem::path source;
    std::string path;
    std::uintmax_t size = 0;
};

struct Floppy {
    int number = 1;
    std::string label; // the volume label, from the [DISKn] line
    std::vector<FloppyFile> files;
};

struct DiskPlanResult {
    std::vector<Floppy> floppies; // disk 1 first, then by number; empty on failure
    std::string error;            // what makes the disk folder unusable
};

// The floppies of the install disk folder `disk`, with the host files `programs` added at the
// root of disk 1 under their names in capitals.
DiskPlanResult PlanFloppies(const std::filesystem::path& disk,
                            const std::vector<std::filesystem::path>& programs);

// Whether `name` is a file name a FAT disk holds as written: 1 to 8 characters, optionally "."
// and 1 to 3 more, of capital letters, digits and the punctuation FAT allows.
bool IsShortName(std::string_view name);

} // namespace tl::tools
