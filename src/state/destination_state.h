// What the destination dialogs and the space check keep for the rest of the run. The resolved
// font directory itself lives with the other paths (Paths::fontDir).
#pragma once

#include <string>

namespace tl {

struct DestinationState {
    // Kilobytes the next copy needs, as decimal text (the setup script's figure, "400" for the
    // demonstration files, "1" for a font directory).
    std::string spaceNeeded = "1";
    // The DIRECTORY dialog's text exactly as confirmed, possibly relative: installed fonts are
    // named from it.
    std::string typedFontDir;
    // The DIRECTORY dialog's first proposal: the Windows directory's FONTS folder.
    std::string proposedFontDir;
    // The DIRECTORY dialog was confirmed with the proposal unchanged.
    bool fontDirKept = false;
};

} // namespace tl
