// INI (profile) text: the bytes of an INI file, read and edited the way the Windows 95 profile
// functions read and edit it, without disturbing any line that an edit does not touch.
//
// A file is a sequence of lines, each kept byte for byte with its own line end (CR LF, LF or
// none for a last line). A line is, after its surrounding blanks are trimmed:
//   - a section header: "[" ... "]" (the name is the text between "[" and the last "]",
//     blanks trimmed);
//   - a key line: "name=value" (blanks around the name and before the value are ignored) or a
//     bare "name" without "=", which names a key without a value;
//   - a comment (";" first) or a blank line: kept, never matched.
// Names compare without regard to case (ASCII letters; double-byte characters of code page 949
// compare exactly). Only the first section of a name is looked at, and in it the first key.
#pragma once

#include "platform/win_types.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::host {

// True when the two names are equal without regard to the case of ASCII letters. A lead byte of
// code page 949 and its trail byte are compared exactly, so that a trail byte in 'A'..'Z' is not
// folded into another character.
bool ProfileNameEquals(std::string_view a, std::string_view b);

// A form of the name that two names share exactly when ProfileNameEquals calls them equal (ASCII
// letters upper-cased, double-byte characters kept), for use as a lookup key.
std::string ProfileNameKey(std::string_view name);

// Whether a byte is a profile blank: space, tab, CR, LF, VT, FF or ^Z (a DOS end-of-file mark).
bool IsProfileBlank(char c);

// The text without profile blanks at either end.
std::string_view TrimProfileBlanks(std::string_view text);

// A value as the profile functions hand it out: one pair of enclosing quotes ("..." or '...')
// removed.
std::string_view StripProfileQuotes(std::string_view value);

// Copies a text into a caller's buffer the way GetPrivateProfileString returns a single value:
// at most size - 1 bytes and a NUL; the result is the number of bytes copied. A double-byte
// character that does not fit whole is left out rather than cut in half.
DWORD CopyProfileString(std::string_view text, char* buffer, DWORD size);

// Copies a list of names as a double-NUL list (each name NUL-ended, one more NUL at the end).
// When it fits, the result is the number of bytes written without the final NUL. When it does
// not, the last name that fits is cut, the buffer ends with two NULs and the result is size - 2.
DWORD CopyProfileList(const std::vector<std::string>& names, char* buffer, DWORD size);

class IniText {
public:
    IniText() = default;
    explicit IniText(std::string_view bytes);

    // The file's bytes: the lines as read, with the edits made since.
    std::string Bytes() const;

    // The value of a key as read by GetPrivateProfileString (blanks and one pair of quotes
    // removed); none when the section or the key is missing or the key has no "=".
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    bool HasSection(std::string_view section) const;
    // Every named section, in file order (a repeated name appears each time).
    std::vector<std::string> SectionNames() const;
    // The keys of the section that have a value ("=") in file order, as written; none when the
    // section is missing.
    std::optional<std::vector<std::string>> KeyNames(std::string_view section) const;

    // WritePrivateProfileString with a value. Leading blanks of the value are dropped. An
    // existing key's line is rewritten as name=value with its line end; a new key goes after the
    // last non-blank line of the section; a new section is appended at the end of the file,
    // after a blank line. New lines end in CR LF. Returns whether the bytes changed.
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    // WritePrivateProfileString with no value: removes the key's line. Returns whether it did.
    bool DeleteKey(std::string_view section, std::string_view key);
    // WritePrivateProfileString with no key: removes the section's header and every line up to
    // the next section. Returns whether it did.
    bool DeleteSection(std::string_view section);

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        std::string raw; // bytes with the line end
        Kind kind = Kind::Other;
        std::string name;                 // section or key name, blanks trimmed
        std::optional<std::string> value; // after "=", blanks trimmed; none without "="
    };

    static Line ParseLine(std::string raw);
    // Index range [first, end) of the lines inside the first section of that name (after its
    // header); none when there is no such section.
    struct Range {
        std::size_t header;
        std::size_t first;
        std::size_t end;
    };
    std::optional<Range> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKey(const Range& range, std::string_view key) const;
    void EnsureLastLineEnded();
    bool SetLine(std::string_view section, std::string_view key, std::string_view value);

    std::vector<Line> lines_;
};

} // namespace tl::host
