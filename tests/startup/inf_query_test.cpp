#include "state/inf_query.h"

#include "state/inf_compact.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tl {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

// A script made current from text, without a file.
class InfQuery : public ::testing::Test {
protected:
    InfScript Load(std::string_view text) { return scripts.Adopt(CompactInf(text)); }

    Lines SectionLines(std::string_view section) {
        Lines lines;
        for (auto line = FindInfSection(scripts, std::nullopt, section); line;
             line = NextInfLine(scripts, line))
            lines.emplace_back(*InfLineText(scripts, *line));
        return lines;
    }

    SetupScripts scripts;
};

TEST_F(InfQuery, SectionsAreFoundByFoldedNameFirstHeaderWinningAndEmptyOnesAreNot) {
    Load("\r\n\r\n; c\r\n[install]\r\nPath=1\r\n[Install2]\r\nx=2\r\n[INSTALL] trailing\r\ny=3\r\n"
         "[Empty]\r\n; only a comment\r\n[Full]\r\na\r\nb\r\n[a[b]\r\nline\r\n[Last]\r\n");
    EXPECT_EQ(SectionLines("Install"), Lines{"Path=1"});
    EXPECT_EQ(SectionLines("INSTALL2"), Lines{"x=2"});
    EXPECT_EQ(SectionLines("Instal"), Lines{});
    EXPECT_EQ(SectionLines(""), Lines{});
    EXPECT_EQ(SectionLines("Full"), (Lines{"a", "b"}));
    EXPECT_FALSE(FindInfSection(scripts, std::nullopt, "Empty"));
    EXPECT_FALSE(FindInfSection(scripts, std::nullopt, "Last"));
    // Setting bit 0x20 folds more than letters: '[' and '{' compare equal.
    EXPECT_EQ(SectionLines("a{b"), Lines{"line"});
}

TEST_F(InfQuery, LinesCountToTheSectionEnd) {
    // A NUL byte inside quotes in the file, followed by a quoted blank, does not end a line.
    Load("[A]\na\nb\nc\n[B]\nK=\"a\0 b\"\nL=2\n"s);
    const auto first = FindInfSection(scripts, std::nullopt, "A");
    EXPECT_EQ(CountInfLines(scripts, first), 3);
    EXPECT_EQ(CountInfLines(scripts, NextInfLine(scripts, NextInfLine(scripts, first))), 1);
    EXPECT_EQ(CountInfLines(scripts, FindInfSection(scripts, std::nullopt, "B")), 2);
    EXPECT_EQ(SectionLines("B").back(), "L=2");
    EXPECT_EQ(CountInfLines(scripts, std::nullopt), 0);
    EXPECT_FALSE(NextInfLine(scripts, std::nullopt));
}

TEST_F(InfQuery, KeysMatchWholeFoldedNamesFirstWinningAndLoseQuotesUnlessTheyHoldSeparators) {
    const std::string part(5000, 'x');
    Load("[S]\r\nPathX=1\r\npath=2\r\nPATH=3\r\nplain\r\nEmpty=\r\nDir = \"C:\\Dir\"\r\n"
         "List=1,\"two\"\r\nPair=a=b\r\nQuoted=\"a,b\"\r\nCut=\"a;b\"\r\nSpaced=\" in side \"\r\n"
         "Long=" +
         part + "," + part + "\r\nName=\"" + part + "\"\r\n[NEEDED.DiskSpace]\r\nKB=1200\r\n");
    const struct {
        const char* section;
        const char* key;
        int found;
        std::string value;
    } cases[] = {{"S", "Path", 1, "2"},         {"s", "pathx", 1, "1"},
                 {"S", "Empty", 1, ""},         {"S", "plain", 0, ""},
                 {"S", "Pat", 0, ""},           {"S", "", 0, ""},
                 {"Missing", "Path", 0, ""},    {"S", "Dir", 1, "C:\\Dir"},
                 {"S", "List", 1, "1,\"two\""}, {"S", "Pair", 1, "a=b"},
                 {"S", "Quoted", 1, "a,b"},     {"S", "Cut", 1, "a"},
                 {"S", "Spaced", 1, "in side"}, {"S", "Long", 1, part + "," + part},
                 {"S", "Name", 1, part}};
    for (const auto& c : cases) {
        std::string value = "stale";
        EXPECT_EQ(GetInfKey(scripts, std::nullopt, c.section, c.key, value), c.found) << c.key;
        EXPECT_EQ(value, c.value) << c.key;
    }
    // Dotted names split at the last dot.
    std::string value = "stale";
    EXPECT_EQ(GetInfDotted(scripts, "NEEDED.DiskSpace.KB", value), 1);
    EXPECT_EQ(value, "1200");
    EXPECT_EQ(GetInfDotted(scripts, "s.Empty", value), 1);
    EXPECT_EQ(value, "");
    EXPECT_EQ(GetInfDotted(scripts, "NODOT", value), 0);
    EXPECT_EQ(value, "");
}

TEST(InfFields, SplitAtSeparatorsOutsideQuotes) {
    const std::string part(5000, 'x');
    const struct {
        std::string line;
        int n;
        int found;
        std::string field;
    } cases[] = {
        {"name=a,\"b,c\",d", 0, 1, "name"},
        {"name=a,\"b,c\",d", 1, 1, "a"},
        {"name=a,\"b,c\",d", 2, 1, "b,c"},
        {"name=a,\"b,c\",d", 3, 1, "d"},
        {"name=a,\"b,c\",d", 4, 0, ""},
        {"k=x=y", 2, 1, "y"}, // a further '=' separates
        {"k=,b", 1, 1, ""},
        {"k=a,", 2, 1, ""},
        {"k=\"  padded \",z", 1, 1, "  padded"},
        // A line without a key has no field 0; its fields start the line.
        {"a,b", 0, 0, "stale"},
        {"a,b", 1, 1, "a"},
        {"a,b", 2, 1, "b"},
        {"a,b", 3, 0, ""},
        {"a,b", -1, 0, ""},
        {"single", 1, 1, "single"},
        // A '=' inside quotes stops the key scan but does not make a key.
        {"\"x=y\",z", 1, 1, "x=y"},
        {"\"x=y\",z", 2, 1, "z"},
        {"k=" + part + "," + part, 2, 1, part},
    };
    for (const auto& c : cases) {
        SetupScripts own;
        const InfScript script = own.Adopt(CompactInf("[S]\n" + c.line + "\n"));
        std::string field = "stale";
        EXPECT_EQ(GetInfField(own, FindInfSection(own, script, "S"), c.n, field), c.found)
            << c.line.substr(0, 20) << " field " << c.n;
        EXPECT_EQ(field, c.field) << c.line.substr(0, 20) << " field " << c.n;
    }
    SetupScripts none;
    std::string untouched = "kept";
    EXPECT_EQ(GetInfField(none, std::nullopt, 1, untouched), 0);
    EXPECT_EQ(untouched, "kept");
}

TEST_F(InfQuery, ReleasedScriptsAndOffsetsPastTheBufferReadAsNone) {
    const InfScript script = Load("[A]\nK=1\nL=2\n");
    const auto line = FindInfSection(scripts, script, "A");
    ASSERT_TRUE(line);
    const InfLine bogus{script, 1000};
    std::string out;
    EXPECT_FALSE(NextInfLine(scripts, bogus));
    EXPECT_FALSE(InfLineText(scripts, bogus));
    EXPECT_EQ(GetInfField(scripts, bogus, 0, out), 0);
    EXPECT_EQ(GetInfField(scripts, bogus, 1, out), 1);
    EXPECT_EQ(out, "");

    FreeInf(scripts, script);
    out = "kept";
    EXPECT_FALSE(NextInfLine(scripts, line));
    EXPECT_EQ(CountInfLines(scripts, line), 0);
    EXPECT_EQ(GetInfField(scripts, line, 1, out), 0);
    EXPECT_EQ(out, "kept");
    EXPECT_FALSE(InfLineText(scripts, *line));
    EXPECT_FALSE(FindInfSection(scripts, script, "A"));
    EXPECT_FALSE(FindInfSection(scripts, std::nullopt, "A"));
    EXPECT_EQ(GetInfKey(scripts, script, "A", "K", out), 0);
    EXPECT_EQ(out, "");
    // A line kept from the old script does not reach a new one loaded after it.
    Load("[A]\nK=other\n");
    EXPECT_FALSE(NextInfLine(scripts, line));
}

} // namespace
} // namespace tl
