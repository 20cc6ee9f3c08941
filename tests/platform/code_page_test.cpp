#include "platform/host/iconv_code_page.h"

#include <gtest/gtest.h>

namespace tl::host {
namespace {

// "한글 Test" in code page 949.
constexpr std::string_view kHangulAnsi = "\xC7\xD1\xB1\xDB Test";
constexpr std::string_view kHangulUtf8 = "한글 Test";

TEST(CodePage, RoundTripsHangulAndAscii) {
    IconvCodePage codePage;
    EXPECT_EQ(codePage.ToUtf8(kHangulAnsi), kHangulUtf8);
    EXPECT_EQ(codePage.FromUtf8(kHangulUtf8), kHangulAnsi);
    EXPECT_EQ(codePage.ToUtf8("plain\r\n"), "plain\r\n");
    EXPECT_EQ(codePage.ToUtf8(""), "");
}

TEST(CodePage, ConvertsTheExtendedHangulOfCodePage949) {
    // "똠" lies outside KS X 1001 (EUC-KR) but inside the Unified Hangul Code of code page 949.
    IconvCodePage codePage;
    EXPECT_EQ(codePage.FromUtf8("똠"), "\x8C\x63");
    EXPECT_EQ(codePage.ToUtf8("\x8C\x63"), "똠");
}

TEST(CodePage, DamagedInputIsReplacedNotDropped) {
    IconvCodePage codePage;
    // A lead byte at the end and a lead byte with an impossible trail byte.
    EXPECT_EQ(codePage.ToUtf8("A\xC7"), "A\xEF\xBF\xBD");
    EXPECT_EQ(codePage.ToUtf8("\xC7\x0A"
                              "B"),
              "\xEF\xBF\xBD\nB");
    // Characters the code page lacks, and broken UTF-8, become '?', one per character.
    EXPECT_EQ(codePage.FromUtf8("x\xE0\xB8\x81\xF0\x9F\x98\x80y"), "x??y");
    EXPECT_EQ(codePage.FromUtf8("a\xE2\x82"
                                "b\xFF"),
              "a?b?");
}

} // namespace
} // namespace tl::host
