// The name under which LZOpenFile looks for a file to read that is missing under its own name:
// the name a compressed copy of it carries on an install disk.
#pragma once

#include <string>
#include <string_view>

namespace tl {

// The last character of the extension replaced by "_", "_" added to a shorter extension, "._"
// added to a name without one.
std::string CompressedName(std::string_view fileName);

} // namespace tl
