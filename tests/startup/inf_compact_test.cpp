#include "state/inf_compact.h"

#include <gtest/gtest.h>

#include <string>

namespace tl {
namespace {

using namespace std::string_literals;

TEST(CompactInf, DropsCommentsBlanksAndCarriageReturnsAndMarksSections) {
    const std::string file = "[A]\r\nKey = \"x y\" ; note\r\n\r\n[B]\r\nK=1\r\n";
    EXPECT_EQ(CompactInf(file), "[A]\0Key=\"x y\"\0\0[B]\0K=1\0\0\x1a"s);
}

TEST(CompactInf, ExtraNulStandsBeforeEveryHeaderButOneAtTheStart) {
    EXPECT_EQ(CompactInf("[A]\nx\n"), "[A]\0x\0\0\x1a"s);
    // An empty first line leaves its line end; a header after it gets its extra NUL.
    EXPECT_EQ(CompactInf("\r\nK=1\r\n"), "\0K=1\0\0\x1a"s);
    EXPECT_EQ(CompactInf("\r\n[A]\r\n"), "\0\0[A]\0\0\x1a"s);
    // Leading blanks of a header line are skipped before the header is recognised.
    EXPECT_EQ(CompactInf("a\n  \t[B]\nb\n"), "a\0\0[B]\0b\0\0\x1a"s);
}

TEST(CompactInf, WholeLineCommentsAndBlankLinesLeaveNoTrace) {
    EXPECT_EQ(CompactInf("[A]\r\n; one\r\n  ; two\r\n\r\nx=1\r\n"), "[A]\0x=1\0\0\x1a"s);
    // A comment before the first line ends the (empty) line before it like a blank line does.
    EXPECT_EQ(CompactInf("; head\r\n[A]\r\nx\r\n"), "\0\0[A]\0x\0\0\x1a"s);
    // A comment's own line feed still ends the line that holds it.
    EXPECT_EQ(CompactInf("a;x\nb\n"), "a\0b\0\0\x1a"s);
}

TEST(CompactInf, QuotesKeepBlanksButNotComments) {
    EXPECT_EQ(CompactInf("K=\"a b\"\t c\n"), "K=\"a b\"c\0\0\x1a"s);
    // ';' starts a comment inside quotes too.
    EXPECT_EQ(CompactInf("K=\"a;b\"\n"), "K=\"a\0\0\x1a"s);
    // A line end clears an unbalanced quote.
    EXPECT_EQ(CompactInf("K=\"a\nL = b\n"), "K=\"a\0L=b\0\0\x1a"s);
}

TEST(CompactInf, CommentStopsAtNulAnd1AInsideTheFile) {
    EXPECT_EQ(CompactInf("a;x\0b\n"s), "a\0b\0\0\x1a"s);
    EXPECT_EQ(CompactInf("a;x\x1a"
                         "b\n"),
              "a\x1a"
              "b\0\0\x1a"s);
}

TEST(CompactInf, LastByteThatMarksTheEndIsNotText) {
    EXPECT_EQ(CompactInf("K=1\n"), "K=1\0\0\x1a"s);
    EXPECT_EQ(CompactInf("K=1\x1a"), "K=1\0\0\x1a"s);
    EXPECT_EQ(CompactInf("K=1\r\n\x1a"), "K=1\0\0\0\x1a"s);
    // Trailing blank lines still end the last line, whatever byte closes the file.
    EXPECT_EQ(CompactInf("K=1\r\n\r\n"), "K=1\0\0\0\x1a"s);
    EXPECT_EQ(CompactInf("K=1\n  "), "K=1\0\0\0\x1a"s);
}

TEST(CompactInf, LastLineWithoutLineFeedKeepsItsLastCharacter) {
    EXPECT_EQ(CompactInf("[A]\r\nK=12"), "[A]\0K=12\0\0\x1a"s);
    EXPECT_EQ(CompactInf("[A]\r\nK=\"1\""), "[A]\0K=\"1\"\0\0\x1a"s);
    EXPECT_EQ(CompactInf("x"), "x\0\0\x1a"s);
    EXPECT_EQ(CompactInf("K=1\r"), "K=1\0\0\x1a"s);
    EXPECT_EQ(CompactInf("\n"), "\0\0\x1a"s);
    EXPECT_EQ(CompactInf(""), "\0\0\x1a"s);
}

} // namespace
} // namespace tl
