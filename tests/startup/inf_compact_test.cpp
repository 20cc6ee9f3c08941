#include "state/inf_compact.h"

#include <gtest/gtest.h>

#include <string>

namespace tl {
namespace {

using namespace std::string_literals;

TEST(CompactInf, TheBufferTheQueriesRead) {
    const struct {
        const char* rule;
        std::string file;
        std::string compact;
    } cases[] = {
        {"comments, blanks and CRs go; sections marked",
         "[A]\r\nKey = \"x y\" ; note\r\n\r\n[B]\r\nK=1\r\n",
         "[A]\0Key=\"x y\"\0\0[B]\0K=1\0\0\x1a"s},
        {"no extra NUL before a header at the start", "[A]\nx\n", "[A]\0x\0\0\x1a"s},
        {"an empty first line leaves its line end", "\r\nK=1\r\n", "\0K=1\0\0\x1a"s},
        {"a header after it gets its extra NUL", "\r\n[A]\r\n", "\0\0[A]\0\0\x1a"s},
        {"blanks before a header are skipped", "a\n  \t[B]\nb\n", "a\0\0[B]\0b\0\0\x1a"s},
        {"whole-line comments leave no trace", "[A]\r\n; one\r\n  ; two\r\n\r\nx=1\r\n",
         "[A]\0x=1\0\0\x1a"s},
        {"a comment first ends the empty line", "; head\r\n[A]\r\nx\r\n", "\0\0[A]\0x\0\0\x1a"s},
        {"a comment's line feed ends its line", "a;x\nb\n", "a\0b\0\0\x1a"s},
        {"quotes keep blanks", "K=\"a b\"\t c\n", "K=\"a b\"c\0\0\x1a"s},
        {"';' starts a comment inside quotes", "K=\"a;b\"\n", "K=\"a\0\0\x1a"s},
        {"a line end clears an open quote", "K=\"a\nL = b\n", "K=\"a\0L=b\0\0\x1a"s},
        {"a comment stops at NUL", "a;x\0b\n"s, "a\0b\0\0\x1a"s},
        {"a comment stops at 1A",
         "a;x\x1a"
         "b\n",
         "a\x1a"
         "b\0\0\x1a"s},
        {"last line feed", "K=1\n", "K=1\0\0\x1a"s},
        {"last 1A", "K=1\x1a", "K=1\0\0\x1a"s},
        {"1A after the line end", "K=1\r\n\x1a", "K=1\0\0\0\x1a"s},
        {"trailing blank line", "K=1\r\n\r\n", "K=1\0\0\0\x1a"s},
        {"trailing blanks", "K=1\n  ", "K=1\0\0\0\x1a"s},
        {"no line feed keeps the last character", "[A]\r\nK=12", "[A]\0K=12\0\0\x1a"s},
        {"no line feed after a quote", "[A]\r\nK=\"1\"", "[A]\0K=\"1\"\0\0\x1a"s},
        {"one character", "x", "x\0\0\x1a"s},
        {"last CR", "K=1\r", "K=1\0\0\x1a"s},
        {"one line feed", "\n", "\0\0\x1a"s},
        {"empty", "", "\0\0\x1a"s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompactInf(c.file), c.compact) << c.rule;
}

} // namespace
} // namespace tl
