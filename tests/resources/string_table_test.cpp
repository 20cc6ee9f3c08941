// The built-in string table against texts written here as UTF-8 (fixed_texts.txt): the build's
// code-page-949 conversion, the escapes of the table's source and the embedding must reproduce
// every byte. And the reader of the table's source: what it accepts, what it turns escapes into,
// and which line it blames when a source is malformed.
#include "resources/string_table.h"
#include "resources/string_table_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <iconv.h>

namespace tl {
namespace {

using namespace std::string_view_literals;

// ID "TEXT" a line, \n for a line break; # comments.
std::vector<std::pair<unsigned, std::string>> FixedTexts() {
    std::ifstream in(TL_SOURCE_DIR "/tests/resources/fixed_texts.txt");
    std::vector<std::pair<unsigned, std::string>> texts;
    for (std::string line; std::getline(in, line);) {
        const std::size_t open = line.find('"');
        if (line.empty() || line[0] == '#' || open == std::string::npos)
            continue;
        std::string text = line.substr(open + 1, line.rfind('"') - open - 1);
        for (std::size_t at; (at = text.find("\\n")) != std::string::npos;)
            text.replace(at, 2, "\n");
        texts.emplace_back(static_cast<unsigned>(std::stoul(line)), text);
    }
    EXPECT_EQ(texts.size(), 140u);
    return texts;
}

std::optional<std::string> Convert(std::string input, const char* from, const char* to) {
    iconv_t cd = iconv_open(to, from);
    std::string output(input.size() * 4 + 16, '\0');
    char* in = input.data();
    char* out = output.data();
    std::size_t inLeft = input.size(), outLeft = output.size();
    const bool ok = cd != reinterpret_cast<iconv_t>(-1) &&
                    iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1) &&
                    inLeft == 0;
    if (cd != reinterpret_cast<iconv_t>(-1))
        iconv_close(cd);
    if (!ok)
        return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}

// Each fixed text exactly; the table holds those, DISK1-9, three empty texts, the port driver's
// restart notice, the printer wizard directions and the removal program's texts, and no more.
TEST(StringTable, FixedTextsAreStoredExactlyInCodePage949) {
    std::vector<unsigned> expected = {42,  43,  44,  45,  46,  47,  48,  49,  50, 121,
                                      122, 147, 165, 166, 167, 178, 179, 180, 181};
    for (unsigned id = 300; id <= 313; ++id)
        expected.push_back(id);
    for (const auto& [id, utf8] : FixedTexts()) {
        SCOPED_TRACE(id);
        expected.push_back(id);
        const auto cp949 = Convert(utf8, "UTF-8", "CP949");
        ASSERT_TRUE(cp949.has_value());
        EXPECT_EQ(LookupString(id), *cp949);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(StringTableIds(), expected);
    for (unsigned id : {121u, 122u, 147u})
        EXPECT_EQ(LookupString(id), ""sv) << id;
    for (unsigned id = 60; id <= 68; ++id) // radio-button labels in 32-byte table entries
        EXPECT_LT(LookupStringBytes(id)->size(), 32u) << id;
}

// Well-formed code page 949, loaded into 256-byte buffers, used as printf formats with at most
// one text argument (any other "%" would read an argument that is not there).
TEST(StringTable, EveryTextIsCodePage949ThatFitsItsBufferWithAtMostOnePercentS) {
    for (unsigned id : StringTableIds()) {
        SCOPED_TRACE(id);
        const std::string_view text = *LookupString(id);
        const auto utf8 = Convert(std::string(text), "CP949", "UTF-8");
        ASSERT_TRUE(utf8.has_value()) << "not CP949";
        EXPECT_EQ(Convert(*utf8, "UTF-8", "CP949"), std::string(text));
        EXPECT_LE(LookupStringBytes(id)->size(), 255u);
        std::size_t directives = 0;
        for (std::size_t at = text.find('%'); at != std::string_view::npos;
             at = text.find('%', at + 1), ++directives)
            EXPECT_EQ(text.substr(at, 2), "%s");
        EXPECT_LE(directives, 1u);
    }
    const auto joined = [](std::initializer_list<unsigned> ids) {
        std::size_t length = 0;
        for (unsigned id : ids)
            length += LookupString(id).value_or("").size();
        return length;
    };
    EXPECT_LT(LookupString(133)->size(), 128u); // the system-modal memory message
    EXPECT_LT(joined({115, 116, 117, 118, 119, 120, 121, 122}), 2048u); // font help
    EXPECT_LT(joined({165, 166, 167}), 256u); // restart notice for the port driver
    EXPECT_LT(joined({178, 179, 180, 181}), 2048u);
    EXPECT_GT(joined({165, 166, 167}) * joined({178, 179, 180, 181}), 0u);
    // The restart dialog keeps its two buttons side by side only up to 26 bytes.
    EXPECT_LE(LookupString(214)->size(), 26u);
}

TEST(StringTable, LoadStringIntoCopiesLikeTheSystemLoader) {
    char buffer[256];
    EXPECT_EQ(LoadStringInto(214, buffer), LookupString(214)->size());
    EXPECT_EQ(std::string_view(buffer), *LookupString(214));
    EXPECT_EQ(LoadStringInto(61, buffer), 5u);
    EXPECT_EQ(std::string_view(buffer), "&Fran");
    EXPECT_EQ(LoadStringInto(100, buffer), 0u);
    EXPECT_EQ(buffer[0], '\0');
    // Room for three bytes: the first two-byte character fits, half of the second would not.
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(LoadStringInto(163, small), 2u);
    EXPECT_EQ(std::string_view(small), "\xb0\xe6"sv);
    char one[1] = {'x'};
    EXPECT_EQ(LoadStringInto(163, one), 0u);
    EXPECT_EQ(one[0], '\0');
    EXPECT_EQ(LoadStringInto(163, std::span<char>{}), 0u);
    char ascii[4];
    EXPECT_EQ(LoadStringInto(11, ascii), 3u);
    EXPECT_EQ(std::string_view(ascii), "INS");
}

using namespace strings;

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
} // namespace tl
