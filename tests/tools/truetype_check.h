// An independent reader of TrueType files for tests: whether a font is whole (its tables listed
// in order, inside the file, with the checksums the font loaders verify) and the full name it
// would be registered under.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tl::test {

struct TrueTypeCheck {
    std::string fault;    // empty when the font is whole
    std::string fullName; // name 4 of the Windows (3, 1) names, ASCII
};

TrueTypeCheck CheckTrueType(const std::vector<std::uint8_t>& font);

} // namespace tl::test
