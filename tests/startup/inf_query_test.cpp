#include "state/inf_query.h"

#include "state/inf_compact.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tl {
namespace {

using namespace std::string_literals;

// A script made current from text, without a file.
class InfQuery : public ::testing::Test {
protected:
    InfScript Load(std::string_view text) { return scripts.Adopt(CompactInf(text)); }

    std::vector<std::string> Lines(std::string_view section) {
        std::vector<std::string> lines;
        for (auto line = FindInfSection(scripts, std::nullopt, section); line;
             line = NextInfLine(scripts, line)) {
            lines.emplace_back(*InfLineText(scripts, *line));
        }
        return lines;
    }

    std::string Key(std::string_view section, std::string_view key, int expected = 1) {
        std::string value = "stale";
        EXPECT_EQ(GetInfKey(scripts, std::nullopt, section, key, value), expected)
            << section << "." << key;
        return value;
    }

    std::string Field(std::string_view line, int n, int expected = 1) {
        SetupScripts own;
        const InfScript script = own.Adopt(CompactInf("[S]\n"s + std::string{line} + "\n"));
        std::string field = "stale";
        EXPECT_EQ(GetInfField(own, FindInfSection(own, script, "S"), n, field), expected)
            << line << " field " << n;
        return field;
    }

    SetupScripts scripts;
};

TEST_F(InfQuery, FindsSectionsByFoldedNameFirstHeaderWinning) {
    Load("[install]\r\nPath=1\r\n[Install2]\r\nx=2\r\n[INSTALL] trailing\r\ny=3\r\n");
    EXPECT_EQ(Lines("Install"), std::vector<std::string>{"Path=1"});
    EXPECT_EQ(Lines("INSTALL2"), std::vector<std::string>{"x=2"});
    EXPECT_EQ(Lines("Instal"), std::vector<std::string>{});
    EXPECT_EQ(Lines(""), std::vector<std::string>{});
    // Setting bit 0x20 folds more than letters: '[' and '{' compare equal.
    Load("");
    SetupScripts other;
    const InfScript braces = other.Adopt(CompactInf("[a[b]\nline\n"));
    EXPECT_TRUE(FindInfSection(other, braces, "a{b"));
}

TEST_F(InfQuery, HeaderAtTheVeryStartAndAfterLeadingBlankLines) {
    Load("[A]\nx\n");
    EXPECT_EQ(Lines("A"), std::vector<std::string>{"x"});
    SetupScripts late;
    const InfScript script = late.Adopt(CompactInf("\r\n\r\n; c\r\n[A]\r\ny\r\n"));
    ASSERT_TRUE(FindInfSection(late, script, "A"));
    EXPECT_EQ(*InfLineText(late, *FindInfSection(late, script, "A")), "y");
}

TEST_F(InfQuery, EmptySectionsAreNotFound) {
    Load("[Empty]\r\n; only a comment\r\n[Full]\r\na\r\nb\r\n[Last]\r\n");
    EXPECT_FALSE(FindInfSection(scripts, std::nullopt, "Empty"));
    EXPECT_FALSE(FindInfSection(scripts, std::nullopt, "Last"));
    EXPECT_EQ(Lines("Full"), (std::vector<std::string>{"a", "b"}));
}

TEST_F(InfQuery, LinesCountToTheSectionEnd) {
    Load("[A]\na\nb\nc\n[B]\nd\n");
    const auto first = FindInfSection(scripts, std::nullopt, "A");
    EXPECT_EQ(CountInfLines(scripts, first), 3);
    EXPECT_EQ(CountInfLines(scripts, NextInfLine(scripts, NextInfLine(scripts, first))), 1);
    EXPECT_EQ(CountInfLines(scripts, FindInfSection(scripts, std::nullopt, "B")), 1);
    EXPECT_EQ(CountInfLines(scripts, std::nullopt), 0);
    EXPECT_FALSE(NextInfLine(scripts, std::nullopt));
}

TEST_F(InfQuery, NulFollowedByBlankDoesNotEndALine) {
    // A NUL byte inside quotes in the file, followed by a quoted blank.
    Load("[A]\nK=\"a\0 b\"\nL=2\n"s);
    const auto first = FindInfSection(scripts, std::nullopt, "A");
    EXPECT_EQ(CountInfLines(scripts, first), 2);
    EXPECT_EQ(*InfLineText(scripts, *NextInfLine(scripts, first)), "L=2");
}

TEST_F(InfQuery, KeysMatchWholeNamesFoldedAndFirstWins) {
    Load("[S]\nPathX=1\npath=2\nPATH=3\nplain\nEmpty=\n");
    EXPECT_EQ(Key("S", "Path"), "2");
    EXPECT_EQ(Key("s", "pathx"), "1");
    EXPECT_EQ(Key("S", "Empty"), "");
    EXPECT_EQ(Key("S", "plain", 0), "");
    EXPECT_EQ(Key("S", "Pat", 0), "");
    EXPECT_EQ(Key("S", "", 0), "");
    EXPECT_EQ(Key("Missing", "Path", 0), "");
}

TEST_F(InfQuery, KeyValuesLoseQuotesUnlessTheyHoldSeparators) {
    Load("[S]\r\n"
         "Dir = \"C:\\Dir\"\r\n"
         "List=1,\"two\"\r\n"
         "Pair=a=b\r\n"
         "Quoted=\"a,b\"\r\n"
         "Cut=\"a;b\"\r\n"
         "Spaced=\" in side \"\r\n");
    EXPECT_EQ(Key("S", "Dir"), "C:\\Dir");
    EXPECT_EQ(Key("S", "List"), "1,\"two\"");
    EXPECT_EQ(Key("S", "Pair"), "a=b");
    EXPECT_EQ(Key("S", "Quoted"), "a,b");
    EXPECT_EQ(Key("S", "Cut"), "a");
    EXPECT_EQ(Key("S", "Spaced"), "in side");
}

TEST_F(InfQuery, DottedNamesSplitAtTheLastDot) {
    Load("[TRUETYPEFONTS]\nFontList=Gulim,Batang\n[NEEDED.DiskSpace]\nKB=1200\n[PRINTERDRIVER]\n"
         "PATH=\n");
    std::string value = "stale";
    EXPECT_EQ(GetInfDotted(scripts, "TRUETYPEFONTS.FONTLIST", value), 1);
    EXPECT_EQ(value, "Gulim,Batang");
    EXPECT_EQ(GetInfDotted(scripts, "NEEDED.DiskSpace.KB", value), 1);
    EXPECT_EQ(value, "1200");
    EXPECT_EQ(GetInfDotted(scripts, "PRINTERDRIVER.PATH", value), 1);
    EXPECT_EQ(value, "");
    value = "stale";
    EXPECT_EQ(GetInfDotted(scripts, "NODOT", value), 0);
    EXPECT_EQ(value, "");
}

TEST_F(InfQuery, FieldsSplitAtSeparatorsOutsideQuotes) {
    const std::string line = "name=a,\"b,c\",d";
    EXPECT_EQ(Field(line, 0), "name");
    EXPECT_EQ(Field(line, 1), "a");
    EXPECT_EQ(Field(line, 2), "b,c");
    EXPECT_EQ(Field(line, 3), "d");
    EXPECT_EQ(Field(line, 4, 0), "");
    // After the key a further '=' separates fields too.
    EXPECT_EQ(Field("k=x=y", 2), "y");
    // Empty fields exist.
    EXPECT_EQ(Field("k=,b", 1), "");
    EXPECT_EQ(Field("k=a,", 2), "");
    EXPECT_EQ(Field("k=\"  padded \",z", 1), "  padded");
}

TEST_F(InfQuery, FieldsOfALineWithoutKey) {
    EXPECT_EQ(Field("a,b", 0, 0), "stale");
    EXPECT_EQ(Field("a,b", 1), "a");
    EXPECT_EQ(Field("a,b", 2), "b");
    EXPECT_EQ(Field("a,b", 3, 0), "");
    EXPECT_EQ(Field("single", 1), "single");
    // A '=' inside quotes stops the key scan but does not make a key: fields start the line.
    EXPECT_EQ(Field("\"x=y\",z", 1), "x=y");
    EXPECT_EQ(Field("\"x=y\",z", 2), "z");
    EXPECT_EQ(Field("a,b", -1, 0), "");
    std::string untouched = "kept";
    EXPECT_EQ(GetInfField(scripts, std::nullopt, 1, untouched), 0);
    EXPECT_EQ(untouched, "kept");
}

TEST_F(InfQuery, ReleasedScriptsReadAsNone) {
    const InfScript script = Load("[A]\nK=1\nL=2\n");
    const auto line = FindInfSection(scripts, script, "A");
    ASSERT_TRUE(line);
    FreeInf(scripts, script);
    std::string out = "kept";
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

TEST_F(InfQuery, OffsetsPastTheBufferAreSafe) {
    const InfScript script = Load("[A]\nK=1\n");
    const InfLine bogus{script, 1000};
    std::string out;
    EXPECT_FALSE(NextInfLine(scripts, bogus));
    EXPECT_FALSE(InfLineText(scripts, bogus));
    EXPECT_EQ(GetInfField(scripts, bogus, 0, out), 0);
    EXPECT_EQ(GetInfField(scripts, bogus, 1, out), 1);
    EXPECT_EQ(out, "");
}

TEST_F(InfQuery, LongLinesAreReadWhole) {
    const std::string part(5000, 'x');
    Load("[S]\r\nLong=" + part + "," + part + "\r\nName=\"" + part + "\"\r\n");
    EXPECT_EQ(Key("S", "Long"), part + "," + part);
    EXPECT_EQ(Key("S", "Name"), part);
    EXPECT_EQ(Field("k=" + part + "," + part, 2), part);
}

} // namespace
} // namespace tl
