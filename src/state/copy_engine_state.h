// What the copy engine keeps between its runs, and the alternative place of the font files
// that a disk prompt may choose during a run.
#pragma once

#include <string>

namespace tl {

// Where font files are read after a disk prompt: 1 while the path still ends in the tag file's
// name, 2 once it holds the directory alone, 0 when the install disk's own path is used.
inline constexpr int kAltSourceUnused = 0;
inline constexpr int kAltSourceTagPath = 1;
inline constexpr int kAltSourceDirectory = 2;

struct CopyEngineState {
    // The install disk last confirmed for fonts, kept between runs.
    int diskInDrive = 1;
    // Confirmed disk changes plus one: the first number of the record keys, never reset.
    int diskCounter = 1;
    // While 1 an existing font file is replaced only after the CONFIRMDLG question; "Yes to all"
    // turns it off for the rest of the process.
    int replaceQuestion = 1;
    std::string altSourcePath;
    int altSourceState = kAltSourceUnused;
};

} // namespace tl
