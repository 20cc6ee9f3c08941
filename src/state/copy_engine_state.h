// What the copy engine keeps between its runs, and the alternative place of the font files
// that a disk prompt may choose during a run.
#pragma once

#include <string>

namespace tl {

// Where font files are read after a disk prompt.
enum class AltSource {
    Unused,    // the install disk's own path
    TagPath,   // altSourcePath still ends in the tag file's name
    Directory, // altSourcePath holds the directory alone
};

struct CopyEngineState {
    // The install disk last confirmed for fonts, kept between runs.
    int diskInDrive = 1;
    // Confirmed disk changes plus one: the first number of the record keys, never reset.
    int diskCounter = 1;
    // While set an existing font file is replaced only after the CONFIRMDLG question; "Yes to
    // all" clears it for the rest of the process.
    bool askBeforeReplacing = true;
    std::string altSourcePath;
    AltSource altSourceState = AltSource::Unused;
};

} // namespace tl
