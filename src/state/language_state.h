// What the language selection keeps (selection/language.h): the language table and the answer.
#pragma once

#include <vector>

namespace tl {

struct LanguageEntry {
    int language = 0; // the language index k, 0..8
    // The "Manufacturer" line the entry came from (0-based). It differs from the entry's table
    // position when an unrecognised line was skipped before it; the choice names this line.
    int manufacturerLine = 0;
};

struct LanguageState {
    // The recognised "Manufacturer" lines in line order, at most nine are used.
    std::vector<LanguageEntry> table;
    // The answer: the chosen entry's "Manufacturer" line.
    int manufacturerLine = 0;
};

} // namespace tl
