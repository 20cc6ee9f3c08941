#include "text/ansi_text.h"
#include "text/disk_name.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

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

TEST(DiskName, GivesTheFault) {
    using F = DiskNameFault;
    // clang-format off
    const std::pair<std::string, DiskNameFault> cases[] = {
        {"TLCORE.DLL", F::None}, {"tlsetup.ini", F::None}, {"LPT.BZ", F::None},
        {"CONFIG.SYS", F::None}, {"COM10", F::None}, {"LPT0.DLL", F::None},
        {"NULL.DLL", F::None}, {".HIDDEN", F::None},
        // Code page 949 text is a name like any other.
        {"\xB1\xDB\xB2\xC3.TTF", F::None}, {std::string(255, 'A'), F::None},
        {std::string(256, 'A'), F::TooLong}, {"", F::Empty}, {"..\\WIN.INI", F::Separator},
        {"../WIN.INI", F::Separator}, {"C:\\AUTOEXEC.BAT", F::Separator},
        {"A:X.DLL", F::Separator}, {"SUB\\X", F::Separator}, {".", F::DotName},
        {"..", F::DotName}, {"TLCORE.DLL.", F::TrailingDot}, {"TLCORE.DLL ", F::TrailingDot},
        {"X\tY.DLL", F::ControlCharacter}, {std::string("X\0Y", 3), F::ControlCharacter},
        {"X\x7FY", F::ControlCharacter}, {"CON", F::DeviceName}, {"nul", F::DeviceName},
        {"Prn.txt", F::DeviceName}, {"AUX.DLL", F::DeviceName}, {"com1", F::DeviceName},
        {"COM9.INI", F::DeviceName}, {"LPT1", F::DeviceName}, {"lpt9.386", F::DeviceName},
        {"CON .TXT", F::DeviceName}};
    // clang-format on
    for (const auto& [name, fault] : cases)
        EXPECT_EQ(CheckDiskName(name), fault) << name;
}

TEST(DirectoryPath, SaysWhetherUsable) {
    // clang-format off
    const std::pair<const char*, bool> cases[] = {
        {"C:\\WINDOWS\\FONTS", true}, {"d:\\ttf", true}, {"A:\\", true}, {"A:", true},
        {"C:\\CONSOLE\\FONTS", true}, {"C:\\FONTS\\", true}, {"\\\\SERVER\\SHARE\\FONTS", false},
        {"//SERVER/SHARE", false}, {"C:\\\\SERVER\\SHARE", false}, {"C:FONTS", false},
        {"FONTS", false}, {"1:\\FONTS", false}, {"C:\\NUL", false}, {"C:\\nul.txt\\FONTS", false},
        {"A:\\LPT1", false}, {"C:\\FONTS\\COM3", false}, {"C:\\FO\nNTS", false},
        {"C:\\FONTS:X", false}};
    // clang-format on
    for (const auto& [path, usable] : cases)
        EXPECT_EQ(IsUsableDirectoryPath(path), usable) << path;
}

} // namespace
} // namespace tl::text
