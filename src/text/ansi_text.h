// Text as the installer keeps it: ANSI bytes of code page 949 (Korean), where a byte from 0x81
// to 0xFE starts a double-byte character whose second byte can look like anything, a letter or
// a backslash included. Everything that walks, cuts, upper-cases or compares such text without
// regard to case goes through here, so that no routine folds a trail byte or cuts a character
// in two.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tl::text {

// A code page 949 lead byte.
constexpr bool IsLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}
constexpr bool IsLeadByte(char byte) {
    return IsLeadByte(static_cast<unsigned char>(byte));
}

// Bytes of the character that starts at `at`: 2 for a lead byte with a byte after it, else 1.
constexpr std::size_t CharacterWidth(std::string_view text, std::size_t at) {
    return IsLeadByte(text[at]) && at + 1 < text.size() ? 2 : 1;
}

// How many bytes of `text` fit in `limit` without ending inside a double-byte character.
std::size_t CharacterPrefixLength(std::string_view text, std::size_t limit);

// At most `count` bytes of `text`, never ending inside a double-byte character.
std::string TruncateAnsi(std::string_view text, std::size_t count);

// Upper-cases the single-byte letters a..z, leaving double-byte characters alone.
std::string UpperAnsi(std::string_view text);

// Equal without regard to the case of single-byte letters; double-byte characters compare
// byte for byte (0x41..0x5A and 0x61..0x7A are trail bytes too, and never fold).
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

} // namespace tl::text
