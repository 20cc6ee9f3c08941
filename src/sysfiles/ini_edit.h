// Taking a driver file out of a line of WIN.INI or SYSTEM.INI: the first item of a key in a
// section that names the file is removed (or its whole line is), and the old line stays in the
// file as a comment behind a prefix. The file is backed up first; the edited file replaces the
// old one in one step, so an interruption leaves either the old or the new file.
#pragma once

#include "copy/backup.h"
#include "platform/window_types.h"
#include "state/ini_edit_state.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tl {

struct Installer;

inline constexpr char kModeSkip = '0';
inline constexpr char kModeRemove = '3';
inline constexpr char kModeAsk = '5';
inline constexpr char kModeNotify = '6';

// True when the first n characters of a and b agree without regard to case; the comparison ends
// with true at the end of either text. Characters are compared with bit 0x20 set on both.
bool PrefixEqualsNoCase(std::string_view a, std::string_view b, std::size_t n);

// The line-by-line edit of one INI file, fed every line with its line end and giving what to
// write in its place. It removes at most one item in the whole file.
class IniLineEditor {
public:
    enum class State { Seeking, InSection, Changed, Passed };
    // Asked at the matching item: true to remove it, false to leave the file as it is.
    using Decide = std::function<bool()>;

    // removalMode: "1" at the start comments out the whole line, anything else only the item;
    // the file name to remove starts at its third character.
    IniLineEditor(std::string_view section, std::string_view key, std::string_view removalMode,
                  std::string_view commentPrefix, Decide decide);

    // Appends to `out` what stands in the new file for `line`.
    void Feed(std::string_view line, std::string& out);
    State GetState() const { return state_; }
    // After a change, for the removal program: the comment line written, the line it was (both
    // without their line ends), and the line left in its place without the item (empty when the
    // whole line became the comment).
    const std::string& CommentLine() const { return commentLine_; }
    const std::string& OriginalLine() const { return originalLine_; }
    const std::string& KeptLine() const { return keptLine_; }

private:
    void EditKeyLine(std::string_view line, std::size_t valueStart, std::string& out);

    std::string section_;
    std::string key_;
    bool wholeLine_ = false;
    std::string fileName_;
    std::string commentPrefix_;
    Decide decide_;
    State state_ = State::Seeking;
    std::string commentLine_;
    std::string originalLine_;
    std::string keptLine_;
};

// The product text of the mode text, with " or " put in the words of the language (index 0 to
// 8), at most 127 characters.
std::string ProductText(std::string_view modeText, int languageIndex);

// At the first matching item, by the mode character: "5" asks (Yes: remove, mode "3",
// installation state 5; No: keep, mode "0", declined), "6" tells and removes (mode "0"), any
// other removes. True to remove.
bool DecideRemoval(Installer& installer, WindowHandle owner);

// Edits the file that `fileField` names ("20:SYSTEM.INI": "2" the Windows directory, else the
// system directory; the change-bit digit, "0" SYSTEM.INI and "1" WIN.INI; a separator; the
// name). False when the file does not exist or cannot be backed up. A backup, read, write or
// replacement that fails is an error event and fails the installation (state 1); the INI file is
// then as it was.
[[nodiscard]] bool EditIniEntry(Installer& installer, WindowHandle owner,
                                std::string_view fileField, std::string_view section,
                                std::string_view key, std::string_view removalMode,
                                std::string_view commentPrefix);

// Writes `iniPath` anew from its backup with the edit made. The first form takes the backup
// into memory at once; the second reads it line by line. Both edit alike. False when the edit
// cannot start (the backup cannot be read, or for the first form is empty or too large).
// `changeBit` is the file's change bit and `backupKey` its record key.
[[nodiscard]] bool RewriteIniFile(Installer& installer, WindowHandle owner,
                                  std::string_view section, std::string_view key,
                                  std::string_view removalMode, std::string_view commentPrefix,
                                  std::string_view backupPath, std::string_view iniPath,
                                  unsigned changeBit, const char* backupKey);
[[nodiscard]] bool RewriteIniFileByLine(Installer& installer, WindowHandle owner,
                                        std::string_view section, std::string_view key,
                                        std::string_view removalMode,
                                        std::string_view commentPrefix, std::string_view backupPath,
                                        std::string_view iniPath, unsigned changeBit,
                                        const char* backupKey);

} // namespace tl
