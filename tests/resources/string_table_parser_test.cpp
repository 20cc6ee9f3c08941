// The reader of the string table's source: what it accepts, what it turns escapes into, and
// which line it blames when a source is malformed.
#include "resources/string_table_parser.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace tl::strings {
namespace {

using namespace std::string_view_literals;

struct RecordingSink {
    std::map<unsigned, std::string> texts;
    unsigned current = 0;
    void Begin(std::uint16_t id) {
        current = id;
        texts[id];
    }
    void Put(unsigned char byte) { texts[current].push_back(static_cast<char>(byte)); }
};

struct Parsed {
    SourceSummary summary;
    std::map<unsigned, std::string> texts;
};

Parsed Parse(std::string_view source) {
    RecordingSink sink;
    const auto* bytes = reinterpret_cast<const unsigned char*>(source.data());
    const SourceSummary summary = ParseStringSource(std::span(bytes, source.size()), sink);
    return {summary, std::move(sink.texts)};
}

TEST(StringTableParser, ReadsTextsAndResolvesEscapes) {
    const Parsed parsed = Parse("# comment\n"
                                "\n"
                                "11 \"INSTALL.INF\"\n"
                                "12 \"\"\n"
                                "13 \"a\\nb \\\"c\\\" d\\\\e\"\r\n"
                                "14 \"&Fran\\0ais\"\n"
                                "15 \" # not a comment;  \"\n"
                                "163 \"\xb0\xe6\xb0\xed\"\n"); // code page 949 passes through
    ASSERT_EQ(parsed.summary.error, SourceError::kNone);
    EXPECT_EQ(parsed.summary.entries, 6u);
    EXPECT_EQ(parsed.summary.bytes, 11u + 0u + 11u + 9u + 19u + 4u);
    EXPECT_EQ(parsed.texts.at(11), "INSTALL.INF");
    EXPECT_EQ(parsed.texts.at(12), "");
    EXPECT_EQ(parsed.texts.at(13), "a\nb \"c\" d\\e");
    EXPECT_EQ(parsed.texts.at(14), "&Fran\0ais"sv);
    EXPECT_EQ(parsed.texts.at(15), " # not a comment;  ");
    EXPECT_EQ(parsed.texts.at(163), "\xb0\xe6\xb0\xed");
}

TEST(StringTableParser, NamesTheFirstMalformedLine) {
    struct Case {
        std::string_view source;
        SourceError error;
        std::size_t line;
    };
    const Case cases[] = {
        {"x \"a\"\n", SourceError::kBadId, 1},
        {"# c\n11 \"a\"\n \"b\"\n", SourceError::kBadId, 3},
        {"65536 \"a\"\n", SourceError::kIdTooLarge, 1},
        {"12 \"a\"\n11 \"b\"\n", SourceError::kIdNotAscending, 2},
        {"12 \"a\"\n12 \"b\"\n", SourceError::kIdNotAscending, 2},
        {"12\"a\"\n", SourceError::kMissingBlank, 1},
        {"12  \"a\"\n", SourceError::kMissingQuote, 1},
        {"12\n", SourceError::kMissingBlank, 1},
        {"12 a\n", SourceError::kMissingQuote, 1},
        {"12 \"a\\t\"\n", SourceError::kUnknownEscape, 1},
        {"12 \"a\tb\"\n", SourceError::kControlByte, 1},
        {"12 \"a\rb\"\n", SourceError::kControlByte, 1},
        {"12 \"abc\n13 \"d\"\n", SourceError::kUnterminatedText, 1},
        {"12 \"abc\\\"\n", SourceError::kUnterminatedText, 1},
        {"12 \"abc\\", SourceError::kUnterminatedText, 1},
        {"12 \"a\" # note\n", SourceError::kTrailingText, 1},
    };
    for (const Case& c : cases) {
        const SourceSummary summary = Parse(c.source).summary;
        EXPECT_EQ(std::pair(summary.error, summary.errorLine), std::pair(c.error, c.line))
            << c.source;
    }
}

} // namespace
} // namespace tl::strings
