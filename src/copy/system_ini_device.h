// SYSTEM.INI device lines: a virtual device driver is made known to Windows by a line
// "device=<file>" in section [386Enh] of SYSTEM.INI. The file is backed up, then rewritten from
// the backup with the new line first in the section; an identical line further down becomes a
// comment.
#pragma once

#include <string>
#include <string_view>

namespace tl {

struct Installer;

// The line-by-line edit that InsertIniLine makes, without the files: feed every line of the old
// file (with its line end) and write what comes out; then Finish.
class IniLineInserter {
public:
    enum class State {
        BeforeSection, // the section has not been seen yet
        AfterHeader,   // its header was the last line
        InSection,     // the new line is written; looking for the same line further down
        FoundSame,     // the same line was there already and is now a comment
        AfterSection,  // the section has ended
    };

    // `line` is key + "=" + value.
    IniLineInserter(std::string_view section, std::string_view line);

    // Appends to `out` what the old file's `line` becomes.
    void Feed(std::string_view line, std::string& out);
    // Appends to `out` what ends the file. A last line without line end is ended first when
    // something is added behind it.
    void Finish(std::string& out);

    State GetState() const { return state_; }

private:
    std::string section_;
    std::string line_;
    State state_ = State::BeforeSection;
    bool lastLineOpen_ = false; // the last line fed has no line feed
};

// Rewrites the INI file `iniPath` from its backup copy `backupPath` with key + "=" + value as
// the first line of `section`; the section is added at the end when the file lacks it. The new
// text goes to a temporary file beside the INI file, which then replaces it, so that the INI file
// is at every moment either the old one or the new one.
// When the same line was there already, the backup copy is deleted; otherwise the SYSTEM.INI
// change bit is set and, for the first backup of the run, the backup path recorded as
// "BFileSysIni" in the private settings file (a later backup is deleted: the record keeps naming
// SYSTEM.INI as it was before the run). True when the INI file was rewritten; false when the backup
// cannot be opened, or reading, writing or replacing fails: the INI file is then untouched, with
// no record and no change bit, and the backup copy is deleted, unless the replacement left
// SYSTEM.INI set aside (see SafeReplace): then the backup copy stays.
[[nodiscard]] bool InsertIniLine(Installer& installer, std::string_view section,
                                 std::string_view key, std::string_view value,
                                 std::string_view backupPath, std::string_view iniPath);

// Makes SYSTEM.INI (in the Windows directory) load `deviceFileName` from section [386Enh]. A
// missing SYSTEM.INI is created through the profile functions, without a backup. Otherwise the
// file is backed up and rewritten by InsertIniLine; when no backup can be made (all hundred
// backup names taken, or the copy failed) SYSTEM.INI is left as it is, because rewriting it from
// anything but a fresh copy could lose lines. True when SYSTEM.INI loads the device; false, with
// the failed call on record, when the line could not be added (a driver Windows does not load is
// not installed).
[[nodiscard]] bool AddSystemIniDevice(Installer& installer, std::string_view deviceFileName);

// The temporary file an INI rewrite writes before it replaces `iniPath`.
std::string RewriteTemporaryPath(std::string_view iniPath);

} // namespace tl
