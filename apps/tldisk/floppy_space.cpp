#include "floppy_space.h"

#include <map>

namespace tl::tools {
namespace {

constexpr std::uintmax_t kEntryBytes = 32;

std::uintmax_t ClustersFor(std::uintmax_t bytes) {
    return (bytes + kClusterBytes - 1) / kClusterBytes;
}

// The folder part of a disk path ("" for the root) and each folder above it.
std::string Parent(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

FloppySpace SpaceFor(const Floppy& floppy) {
    FloppySpace space;
    // Entries of each folder: its files and its subfolders.
    std::map<std::string, std::uintmax_t> entries;
    std::map<std::string, bool> folders;
    for (const FloppyFile& file : floppy.files) {
        space.clusters += ClustersFor(file.size);
        ++entries[Parent(file.path)];
        for (std::string folder = Parent(file.path); !folder.empty(); folder = Parent(folder)) {
            if (folders[folder])
                break;
            folders[folder] = true;
            ++entries[Parent(folder)];
        }
    }
    space.rootEntries = entries[""] + (floppy.label.empty() ? 0 : 1);
    for (const auto& [folder, used] : folders) {
        // "." and ".." besides what the folder holds.
        space.clusters += ClustersFor((entries[folder] + 2) * kEntryBytes);
    }
    return space;
}

} // namespace tl::tools
