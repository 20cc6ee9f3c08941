// The volume label of a floppy, from the label of its [DISKn] line.
#pragma once

#include <string>
#include <string_view>

namespace tl::tools {

inline constexpr std::size_t kMaxVolumeLabel = 11;

// `label` in capitals, without the characters a FAT volume label cannot hold. When that is longer
// than 11 characters its last word (the disk's number, as in "#2") is kept and the words before
// it are cut to fit: "Telmora Font Disk #2" becomes "TELMORA #2". Empty when nothing is left.
std::string VolumeLabel(std::string_view label);

} // namespace tl::tools
