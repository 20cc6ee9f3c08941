#include "text/ansi_text.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tl::text {
namespace {

// "\xB0\xA1" is a Hangul syllable of the common range; "\xB0\x41" and "\xB0\x61" are two
// syllables of the extended range whose trail bytes are the letters 'A' and 'a'.
TEST(AnsiText, FoldsTheCaseOfSingleByteLettersOnly) {
    const std::tuple<std::string_view, std::string_view, bool> cases[] = {
        {"Telmora 600", "TELMORA 600", true},
        {"Telmora 600", "Telmora 60", false},
        {"\xB0\xA1 Printer", "\xB0\xA1 PRINTER", true},
        {"\xB0\x41", "\xB0\x61", false},
        {"x\xB0\x41", "X\xB0\x41", true},
        {"\xB0\x41z", "\xB0\x41Z", true},
        {"\xB0", "\xB0", true}, // a lead byte without its trail byte
        {"", "", true}};
    for (const auto& [a, b, equal] : cases) {
        EXPECT_EQ(EqualsIgnoreCase(a, b), equal) << a << " / " << b;
        EXPECT_EQ(EqualsIgnoreCase(b, a), equal) << b << " / " << a;
    }
    // Upper case only for single-byte letters.
    EXPECT_EQ(UpperAnsi("c:\\windows\\\xB0\x61z"), "C:\\WINDOWS\\\xB0\x61Z");
    EXPECT_EQ(UpperAnsi("a\xB0"), "A\xB0");
}

TEST(AnsiText, CutsOnlyBetweenCharacters) {
    struct Case {
        std::string_view text;
        std::size_t limit;
        std::size_t length;
    };
    const Case cases[] = {
        {"abc", 2, 2},       {"a\xB0\xA1", 2, 1}, // the cut would split the syllable
        {"a\xB0\xA1", 3, 3}, {"a\xB0\x5C", 2, 1}, // the trail byte is a backslash
        {"ab\xB0", 3, 3},                         // a lead byte at the end stands for itself
        {"", 5, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CharacterPrefixLength(c.text, c.limit), c.length) << c.text << " " << c.limit;
        EXPECT_EQ(TruncateAnsi(c.text, c.limit), c.text.substr(0, c.length));
    }
}

} // namespace
} // namespace tl::text
