// The room a set of files takes on a 1.44 MB FAT12 floppy as mformat -f 1440 lays it out: 2880
// sectors of 512 bytes, one cluster a sector; 1 boot sector, two FATs of 9 sectors and a root
// folder of 224 entries leave 2847 clusters for files and folders.
#pragma once

#include "disk_plan.h"

#include <cstdint>
#include <string>

namespace tl::tools {

inline constexpr std::uintmax_t kClusterBytes = 512;
inline constexpr std::uintmax_t kDataClusters = 2847;
inline constexpr std::uintmax_t kRootEntries = 224;

struct FloppySpace {
    std::uintmax_t clusters = 0;    // taken by the files and the folders below the root
    std::uintmax_t rootEntries = 0; // the volume label, the files and folders at the root

    bool Fits() const { return clusters <= kDataClusters && rootEntries <= kRootEntries; }
};

FloppySpace SpaceFor(const Floppy& floppy);

} // namespace tl::tools
