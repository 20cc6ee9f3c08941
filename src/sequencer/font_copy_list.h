// The copy list of the fonts step: the font pairs of the chosen fonts, ordered by disk.
#pragma once

#include "state/copy_list.h"
#include "state/inf_scripts.h"

#include <string>
#include <string_view>
#include <vector>

namespace tl {

// One font of a "<font>.TrueType" section: its file on disk `disk` and its registry name.
struct FontPair {
    char disk = '1';
    std::string fileName;
    std::string registryName;
    std::string line; // "<section>: <line>", the script line it came from, for reports
};

// What a section line offered that cannot be installed, for the report.
struct FontListFault {
    std::string section;
    std::string field;
};

// The names of the selected-font list, in order ("," separates them; blanks and quotes around
// a name are dropped; empty names are left out).
std::vector<std::string> SplitSelectedFonts(std::string_view selectedFonts);

// The pairs of every chosen font's "<font>.TrueType" section of the current script, in script
// order. Each line holds pairs of fields: "d:file" (d from 1 to 9) followed by "0:name"; a field
// that is neither ends the line. A file field not followed by a name field is left out and
// named in `faults`. A font without a section adds nothing.
std::vector<FontPair> CollectFontPairs(const SetupScripts& scripts,
                                       const std::vector<std::string>& fonts,
                                       std::vector<FontListFault>& faults);

// Fills the copy list from its start with the pairs, ordered by disk and within a disk by
// their order. What the list refused, with nothing of the refused pair written; the pairs
// before it are in the list.
CopyListError FillFontCopyList(CopyList& list, std::vector<FontPair> pairs,
                               FontPair* refused = nullptr);

} // namespace tl
