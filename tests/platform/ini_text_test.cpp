#include "platform/host/ini_text.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace tl::host {
namespace {

using namespace std::string_literals;

TEST(IniText, ReadsValuesWithBlanksQuotesAndCaseIgnored) {
    const IniText ini("; comment\r\n"
                      "[Install]\r\n"
                      "  DiskPath  =   A:\\  \r\n"
                      "Quoted=\" two words \"\r\n"
                      "Single='x'\r\n"
                      "Lonely=\"\r\n"
                      "Mixed=\"a'\r\n"
                      "Bare\r\n"
                      "[ other ]\n"
                      "k=v");
    EXPECT_EQ(ini.Get(" Install ", " diskpath "), "A:\\");
    EXPECT_EQ(ini.Get("Install", "Quoted"), " two words ");
    EXPECT_EQ(ini.Get("Install", "Single"), "x");
    EXPECT_EQ(ini.Get("Install", "Lonely"), "\"");
    EXPECT_EQ(ini.Get("Install", "Mixed"), "\"a'");
    EXPECT_EQ(ini.Get("Install", "Bare"), std::nullopt);
    EXPECT_EQ(ini.Get("Install", "; comment"), std::nullopt);
    EXPECT_EQ(ini.Get("Other", "K"), "v");
    EXPECT_EQ(ini.Get("", "k"), std::nullopt);
}

TEST(IniText, FirstSectionAndKeyOfANameWinListsSkipBrokenLinesAndDoubleBytesCompareExactly) {
    const IniText ini("[A]\nk=1\nk=2\n[a]\nk=3\nj=4\n");
    EXPECT_EQ(ini.Get("A", "k"), "1");
    // The second [a] is not consulted: only the first section of a name counts.
    EXPECT_EQ(ini.Get("A", "j"), std::nullopt);
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"A", "a"}));
    // A line without "=" still answers first for its name: the value behind it is not reached,
    // although the key list names it.
    const IniText bare("[S]\nk\nk=1\n");
    EXPECT_EQ(bare.Get("S", "k"), std::nullopt);
    EXPECT_EQ(bare.KeyNames("S"), std::vector<std::string>{"k"});

    const IniText lists("top=1\n[One]\nk1=a\n; note\nbare\n\nk2=\n[Two]\n[]\n[Broken\n");
    EXPECT_EQ(lists.SectionNames(), (std::vector<std::string>{"One", "Two"}));
    EXPECT_EQ(lists.KeyNames("one"), (std::vector<std::string>{"k1", "k2"}));
    EXPECT_EQ(lists.KeyNames("Two"), std::vector<std::string>{});

    // 0xB0 0x41 and 0xB0 0x61 are two different Hangul characters of code page 949: their trail
    // bytes must not be folded like ASCII letters.
    const IniText hangul("[\xB0\x41]\r\nkey=upper\r\n[\xB0\x61]\r\nkey=lower\r\n");
    EXPECT_EQ(hangul.Get("\xB0\x41", "KEY"), "upper");
    EXPECT_EQ(hangul.Get("\xB0\x61", "key"), "lower");
    EXPECT_TRUE(ProfileNameEquals("ab\xB0\x41", "AB\xB0\x41"));
    EXPECT_EQ(ProfileNameKey("ab\xB0\x61z"), "AB\xB0\x61Z");
}

TEST(IniText, UnchangedTextRoundTripsByteForByte) {
    const std::string bytes = "\xEF\xBB\xBF; odd start\n\n[S]\r\n  k = v \t\r\n\x1A junk\r\n[T]";
    EXPECT_EQ(IniText(bytes).Bytes(), bytes);
}

TEST(IniText, SetReplacesTheKeysLineOrAddsItAtTheEndOfItsSectionOrANewSection) {
    struct Case {
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    };
    const Case cases[] = {
        {"; head\n[Install]\n  DiskPath = A:\\ ;x\nOther=1\n[Next]\nDiskPath=keep\n", "INSTALL",
         "diskpath", "  B:\\",
         "; head\n[Install]\nDiskPath=B:\\\nOther=1\n[Next]\nDiskPath=keep\n"},
        // A last line without a line end stays without one; a bare key gets its value.
        {"[S]\r\nk=1", "S", "k", "2", "[S]\r\nk=2"},
        {"[S]\r\nk\r\n", "S", "K", "v", "[S]\r\nk=v\r\n"},
        // A new key goes after the section's last line that is not blank.
        {"[A]\r\nx=1\r\n; c\r\n\r\n[B]\r\n", "a", "New", "v",
         "[A]\r\nx=1\r\n; c\r\nNew=v\r\n\r\n[B]\r\n"},
        {"[B]\r\ny=2\r\n", "B", "z", "3", "[B]\r\ny=2\r\nz=3\r\n"},
        {"[A]\nx=1", "A", "y", "2", "[A]\nx=1\r\ny=2\r\n"},
        // A new section goes at the end after a blank line.
        {"", "386Enh", "device", "x.386", "[386Enh]\r\ndevice=x.386\r\n"},
        {"[A]\nx=1", "tlsetup", "LPT1", "0", "[A]\nx=1\r\n\r\n[tlsetup]\r\nLPT1=0\r\n"},
        {"[A]\r\n\r\n", " B ", "k", "v", "[A]\r\n\r\n[B]\r\nk=v\r\n"},
    };
    for (const Case& c : cases) {
        IniText ini(c.before);
        EXPECT_TRUE(ini.Set(c.section, c.key, c.value)) << c.before;
        EXPECT_EQ(ini.Bytes(), c.after);
        EXPECT_FALSE(ini.Set(c.section, c.key, c.value)) << "unchanged: " << c.before;
    }
    IniText ini("[B]\r\n");
    EXPECT_FALSE(ini.Set("", "k", "v"));
    EXPECT_FALSE(ini.Set("B", " ", "v"));
}

TEST(IniText, DeletesKeysAndSections) {
    IniText ini("; top\n[A]\nx=1\ny=2\n\n[B]\nz=3\n[C]\n");
    EXPECT_TRUE(ini.DeleteKey("a", "X"));
    EXPECT_FALSE(ini.DeleteKey("a", "X"));
    EXPECT_FALSE(ini.DeleteKey("Missing", "y"));
    EXPECT_EQ(ini.Bytes(), "; top\n[A]\ny=2\n\n[B]\nz=3\n[C]\n");
    EXPECT_TRUE(ini.DeleteSection("b"));
    EXPECT_FALSE(ini.DeleteSection("b"));
    EXPECT_EQ(ini.Bytes(), "; top\n[A]\ny=2\n\n[C]\n");
    EXPECT_TRUE(ini.DeleteSection("A"));
    EXPECT_EQ(ini.Bytes(), "; top\n[C]\n");
    // A value with a line break reads back as two lines.
    EXPECT_TRUE(ini.Set("S", "a", "1\r\nb=2"));
    EXPECT_EQ(ini.Get("S", "a"), "1");
    EXPECT_EQ(ini.Get("S", "b"), "2");
}

TEST(ProfileBuffers, SingleValueIsCutToTheBuffer) {
    std::array<char, 8> buffer{};
    buffer.fill('*');
    EXPECT_EQ(CopyProfileString("abc", buffer.data(), 1), 0u);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(CopyProfileString("abc", buffer.data(), 0), 0u);
    EXPECT_EQ(CopyProfileString("abc", nullptr, 8), 0u);
    // A double-byte character is never cut in half.
    EXPECT_EQ(CopyProfileString("ab\xB0\xA1", buffer.data(), 4), 2u);
    EXPECT_EQ(std::string(buffer.data()), "ab");
    EXPECT_EQ(CopyProfileString("ab\xB0\xA1", buffer.data(), 5), 4u);
}

TEST(ProfileBuffers, ListsEndInTwoNulsAndReportSizeMinusTwoWhenCut) {
    const std::vector<std::string> names{"ab", "cd"};
    struct Case {
        std::vector<std::string> names;
        DWORD size;
        DWORD length;
        std::string bytes;
    };
    for (const Case& c :
         {Case{names, 16, 6, "ab\0cd\0\0"s}, Case{names, 7, 6, "ab\0cd\0\0"s},
          Case{names, 6, 4, "ab\0c\0\0"s}, Case{names, 2, 0, "\0\0"s}, Case{{}, 4, 0, "\0\0"s}}) {
        std::array<char, 16> buffer{};
        buffer.fill('*');
        EXPECT_EQ(CopyProfileList(c.names, buffer.data(), c.size), c.length) << c.size;
        EXPECT_EQ(std::string(buffer.data(), c.bytes.size()), c.bytes) << c.size;
    }
}

} // namespace
} // namespace tl::host
