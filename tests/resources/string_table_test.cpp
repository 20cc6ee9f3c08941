// The built-in string table against texts written here as UTF-8: the build's code-page-949
// conversion, the escapes of the table's source and the embedding must reproduce every byte.
#include "resources/string_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <iconv.h>

namespace tl {
namespace {

using namespace std::string_view_literals;

// The texts whose wording is fixed, written independently in UTF-8 in fixed_texts.txt.
std::vector<std::pair<unsigned, std::string>> FixedTexts() {
    std::ifstream in(TL_SOURCE_DIR "/tests/resources/fixed_texts.txt");
    std::vector<std::pair<unsigned, std::string>> texts;
    for (std::string line; std::getline(in, line);) {
        const std::size_t open = line.find('"');
        if (line.empty() || line[0] == '#' || open == std::string::npos) {
            continue;
        }
        std::string text = line.substr(open + 1, line.rfind('"') - open - 1);
        for (std::size_t at; (at = text.find("\\n")) != std::string::npos;) {
            text.replace(at, 2, "\n");
        }
        texts.emplace_back(static_cast<unsigned>(std::stoul(line)), text);
    }
    EXPECT_EQ(texts.size(), 140u);
    return texts;
}

std::optional<std::string> Convert(std::string_view text, const char* from, const char* to) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string input(text);
    std::string output(input.size() * 4 + 16, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
    iconv_close(cd);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0) {
        return std::nullopt;
    }
    output.resize(output.size() - outLeft);
    return output;
}

TEST(StringTable, FixedTextsAreStoredExactlyInCodePage949) {
    for (const auto& [id, utf8] : FixedTexts()) {
        SCOPED_TRACE(id);
        const auto expected = Convert(utf8, "UTF-8", "CP949");
        ASSERT_TRUE(expected.has_value());
        EXPECT_EQ(LookupString(id), *expected);
    }
}

TEST(StringTable, EveryTextIsWellFormedCodePage949) {
    for (unsigned id : StringTableIds()) {
        SCOPED_TRACE(id);
        const std::string_view text = *LookupString(id);
        const auto utf8 = Convert(text, "CP949", "UTF-8");
        ASSERT_TRUE(utf8.has_value()) << "not CP949";
        EXPECT_EQ(Convert(*utf8, "UTF-8", "CP949"), std::string(text));
    }
}

// Byte sequences derived independently (printf '%s' TEXT | iconv -f UTF-8 -t CP949 | xxd): a lost
// blank, a broken line break or quote, or a wrong encoding shows here byte by byte.
TEST(StringTable, KeepsBlanksLineBreaksAndQuotesByteForByte) {
    // Leading blank: the text follows a file name.
    EXPECT_EQ(LookupString(132), "\x20\xc3\xa3\xc0\xbb\xbc\xf6\x20\xbe\xf8\xbd\xc0\xb4\xcf\xb4\xd9"
                                 "\x2e"sv);
    // Quotes that belong to the text and a closing line break.
    EXPECT_EQ(LookupString(119), "\xbc\xb3\xc4\xa1\xb8\xa6\x20\xc3\xeb\xbc\xd2\xc7\xcf\xb7\xc1\xb8"
                                 "\xe9\x20\x22\xb3\xa1\xb3\xbb\xb1\xe2\x22\xb8\xa6\x20\xc5\xac\xb8"
                                 "\xaf\xc7\xcf\xbc\xbc\xbf\xe4\x2e\x0a"sv);
    // Line breaks inside and five trailing blanks that indent what is appended.
    EXPECT_EQ(LookupString(144), "\x20\xc0\xcc\xb9\xcc\xc1\xb8\xc0\xe7\xc7\xd5\xb4\xcf\xb4\xd9\x2e"
                                 "\x0a\x20\xb9\xd9\xb2\xd9\xbd\xc3\xb0\xda\xbd\xc0\xb4\xcf\xb1\xee"
                                 "\x3f\x0a\x20\x20\x20\x20\x20"sv);
    EXPECT_EQ(LookupString(163), "\xb0\xe6\xb0\xed"sv);
}

TEST(StringTable, RestartDialogTextIsShortEnoughForTheNarrowLayout) {
    // The restart dialog keeps its two buttons side by side only while this text has at most
    // 26 bytes.
    EXPECT_EQ(LookupString(214), "\xc7\xf6\xc0\xe7\x20\xc0\xa9\xb5\xb5\xbf\xec\xb7\xce\x20\xb5\xb9"
                                 "\xbe\xc6\xb0\xa9\xb4\xcf\xb4\xd9\x2e"sv);
    EXPECT_EQ(LookupString(214)->size(), 25u);
}

TEST(StringTable, EmptyTextsArePresentAndMissingOnesAreNone) {
    for (unsigned id : {121u, 122u, 147u}) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(LookupString(id).has_value());
        EXPECT_EQ(*LookupString(id), "");
    }
    for (unsigned id :
         {0u, 10u, 35u, 41u, 53u, 77u, 100u, 127u, 136u, 234u, 65535u, 65536u, 4294967295u}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(LookupString(id), std::nullopt);
        EXPECT_EQ(LookupStringBytes(id), std::nullopt);
    }
}

TEST(StringTable, FrenchNameReadsUpToItsNul) {
    EXPECT_EQ(LookupString(61), "&Fran");
    EXPECT_EQ(LookupStringBytes(61), "&Fran\0ais"sv);
    EXPECT_EQ(LookupStringBytes(60), "&English");
}

TEST(StringTable, DiskSectionsFollowTheirNumbers) {
    for (unsigned disk = 1; disk <= 9; ++disk) {
        EXPECT_EQ(LookupString(41 + disk), "DISK" + std::to_string(disk));
    }
}

TEST(StringTable, LanguageCodesAndNamesComeInNinePairs) {
    for (unsigned k = 0; k < 9; ++k) {
        SCOPED_TRACE(k);
        const auto code = LookupString(26 + k);
        const auto name = LookupString(60 + k);
        ASSERT_TRUE(code && name);
        EXPECT_EQ(code->size(), 3u);
        // A radio-button label with one mnemonic, in a 32-byte table entry.
        EXPECT_EQ(std::count(name->begin(), name->end(), '&'), 1);
        EXPECT_LT(LookupStringBytes(60 + k)->size(), 32u);
    }
}

TEST(StringTable, HoldsExactlyTheFixedTextsAndItsOwnWording) {
    std::vector<unsigned> expected;
    for (const auto& entry : FixedTexts()) {
        expected.push_back(entry.first);
    }
    // DISK1 to DISK9, the three empty texts, the restart notice for the port driver and the
    // directions for adding the printer through the system's own wizard.
    for (unsigned id : {42u, 43u, 44u, 45u, 46u, 47u, 48u, 49u, 50u, 121u, 122u, 147u, 165u, 166u,
                        167u, 178u, 179u, 180u, 181u}) {
        expected.push_back(id);
    }
    // The removal program's question, report and captions.
    for (unsigned id = 300; id <= 313; ++id) {
        expected.push_back(id);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(StringTableIds(), expected);
}

std::size_t JoinedLength(std::initializer_list<unsigned> ids) {
    std::size_t length = 0;
    for (unsigned id : ids) {
        length += LookupString(id).value_or("").size();
    }
    return length;
}

// Every text is loaded into a 256-byte buffer, and some are joined or formatted into fixed
// buffers: a text too long would be cut or overrun its buffer.
TEST(StringTable, TextsFitTheBuffersTheyAreShownFrom) {
    for (unsigned id : StringTableIds()) {
        EXPECT_LE(LookupStringBytes(id)->size(), 255u) << id;
    }
    EXPECT_LT(LookupString(133)->size(), 128u); // the system-modal memory message
    EXPECT_LT(JoinedLength({115, 116, 117, 118, 119, 120, 121, 122}), 2048u); // font help
    EXPECT_LT(JoinedLength({165, 166, 167}), 256u);       // restart notice for the port driver
    EXPECT_LT(JoinedLength({178, 179, 180, 181}), 2048u); // adding the printer by hand
    EXPECT_GT(JoinedLength({165, 166, 167}), 0u);
    EXPECT_GT(JoinedLength({178, 179, 180, 181}), 0u);
}

// Texts are used as printf formats with one text argument, or shown as they are: any other "%"
// would read an argument that is not there.
TEST(StringTable, FormatDirectivesAreSingleTextPlaceholders) {
    for (unsigned id : StringTableIds()) {
        const std::string_view text = *LookupString(id);
        std::size_t directives = 0;
        for (std::size_t at = text.find('%'); at != std::string_view::npos;
             at = text.find('%', at + 1)) {
            EXPECT_EQ(text.substr(at, 2), "%s") << id;
            ++directives;
        }
        EXPECT_LE(directives, 1u) << id;
    }
    EXPECT_NE(LookupString(156)->find("%s"), std::string_view::npos);
}

TEST(StringTable, LoadStringIntoCopiesLikeTheSystemLoader) {
    char buffer[256];
    EXPECT_EQ(LoadStringInto(214, buffer), 25u);
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

} // namespace
} // namespace tl
