#include "port_contract.h"

namespace tl::test {
namespace {

TEST_P(CodePageContract, ConvertsHangulBothWaysAndReplacesWhatItCannot) {
    const CodePage& codePage = Ports().codePage;
    EXPECT_EQ(codePage.ToUtf8("\xC7\xD1\xB1\xDB Test"), "한글 Test");
    EXPECT_EQ(codePage.FromUtf8("한글 Test"), "\xC7\xD1\xB1\xDB Test");
    // Hangul beyond EUC-KR, in the Unified Hangul Code of code page 949.
    EXPECT_EQ(codePage.FromUtf8("똠"), "\x8C\x63");
    EXPECT_EQ(codePage.ToUtf8("\x8C\x63"), "똠");

    EXPECT_EQ(codePage.ToUtf8("A\xC7"), "A\xEF\xBF\xBD");
    EXPECT_EQ(codePage.ToUtf8("\xC7\x0A"
                              "B"),
              "\xEF\xBF\xBD\nB");
    EXPECT_EQ(codePage.FromUtf8("x\xE0\xB8\x81\xF0\x9F\x98\x80y"), "x??y");
    // A letter the code page lacks is never written as a look-alike: a typed path keeps naming
    // what was typed.
    EXPECT_EQ(codePage.FromUtf8("C:\\TÜF"), "C:\\T?F");
    EXPECT_EQ(codePage.FromUtf8("é"), "?");
    EXPECT_EQ(codePage.FromUtf8("a\xE2\x82"
                                "b\xFF"),
              "a?b?");
}

} // namespace
} // namespace tl::test
