#include "platform/host/registry_file.h"
#include "platform/registry.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tl::host {
namespace {

using namespace std::string_literals;

std::string Reformat(std::string_view text) {
    RegistryTree tree;
    std::string error;
    EXPECT_TRUE(ParseRegistryText(text, tree, error)) << error;
    return FormatRegistryText(tree);
}

std::string HexBytes(std::size_t count) {
    std::string data;
    for (std::size_t i = 0; i < count; ++i) {
        data += static_cast<char>(i);
    }
    return data;
}

TEST(RegistryFile, WritesWhatRegeditExportsAndReadsItBack) {
    // Keys in the order they were made, each after its parent.
    RegistryTree tree;
    tree.Create("HKEY_LOCAL_MACHINE\\System\\B");
    RegistryKey* fonts = tree.Create("HKEY_LOCAL_MACHINE\\Software\\Fonts");
    ASSERT_NE(fonts, nullptr);
    fonts->SetValue("\xB9\xD9\xC5\xC1 (TrueType)", kRegSz, "C:\\FONTS\\\"A\".TTF\0"s);
    fonts->SetValue("", kRegSz, "default\0"s);
    fonts->SetValue("Count", kRegDword, "\x2A\x00\x00\x80"s);
    fonts->SetValue("Path", kRegExpandSz, "%a%\0"s);
    fonts->SetValue("NoNul", kRegSz, "ab"s);
    EXPECT_EQ(FormatRegistryText(tree),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE]\r\n\r\n[HKEY_LOCAL_MACHINE\\System]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\System\\B]\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Fonts]\r\n"
              "\"\xB9\xD9\xC5\xC1 (TrueType)\"=\"C:\\\\FONTS\\\\\\\"A\\\".TTF\"\r\n"
              "@=\"default\"\r\n"
              "\"Count\"=dword:8000002a\r\n"
              "\"Path\"=hex(2):25,61,25,00\r\n"
              "\"NoNul\"=hex(1):61,62\r\n"
              "\r\n");
    // What it writes reads back to the same tree.
    fonts->SetValue("Long", kRegBinary, HexBytes(100));
    fonts->SetValue("Multi", kRegMultiSz, "a\0b\0\0"s);
    const std::string text = FormatRegistryText(tree);
    EXPECT_EQ(Reformat(text), text);
}

TEST(RegistryFile, WrapsHexDataLikeRegedit) {
    // 22 bytes fit behind "Long"=hex: on the first line, 25 on each continuation line.
    EXPECT_EQ(
        FormatRegistryValue({"Long", kRegBinary, HexBytes(60)}),
        "\"Long\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
        "  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,\\\r\n"
        "  2f,30,31,32,33,34,35,36,37,38,39,3a,3b");
    EXPECT_EQ(FormatRegistryValue({"", kRegBinary, ""}), "@=hex:");
}

TEST(RegistryFile, ReadsLooseTextAndWritesItCanonically) {
    const std::string loose = "REGEDIT4\n"
                              "; a comment\n"
                              "[HKEY_LOCAL_MACHINE\\A]   \n"
                              "\"x\" = \"1\"\n"
                              "@=dword:1\n"
                              "\"h\"=hex:01, Fa,\\\n"
                              "      03,\n"
                              "\"gone\"=\"soon\"\n"
                              "\"gone\"=-\n"
                              "[HKEY_LOCAL_MACHINE\\A\\Old]\n"
                              "[-HKEY_LOCAL_MACHINE\\A\\Old]\n"
                              "[HKEY_LOCAL_MACHINE\\a]\n"
                              "\"X\"=\"2\"\n";
    EXPECT_EQ(Reformat(loose), "REGEDIT4\r\n\r\n"
                               "[HKEY_LOCAL_MACHINE]\r\n\r\n"
                               "[HKEY_LOCAL_MACHINE\\A]\r\n"
                               "\"x\"=\"2\"\r\n"
                               "@=dword:00000001\r\n"
                               "\"h\"=hex:01,fa,03\r\n"
                               "\r\n");
}

// "HKEY_USERS" and `depth` keys below it, each named "k".
std::string NestedKeyFile(std::size_t depth) {
    std::string text = "REGEDIT4\r\n\r\n[HKEY_USERS";
    for (std::size_t i = 0; i < depth; ++i) {
        text += "\\k";
    }
    return text + "]\r\n\"a\"=\"b\"\r\n";
}

TEST(RegistryFile, RejectsWhatItCannotReadNamingTheLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "line 1: the file does not begin with REGEDIT4"},
        {"REGEDIT5\r\n", "line 1: the file does not begin with REGEDIT4"},
        {"REGEDIT4\r\n\"a\"=\"b\"\r\n", "line 2: a value outside any key"},
        {"REGEDIT4\r\n[HKEY_NOWHERE\\A]\r\n", "line 2: an unknown root key in [HKEY_NOWHERE\\A]"},
        {"REGEDIT4\r\n[HKEY_USERS\\A\r\n", "line 2: a key name without its closing ]"},
        {"REGEDIT4\r\n[HKEY_USERS]\r\nname=\"b\"\r\n",
         "line 3: a value name that is not a quoted text or @"},
        {"REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"\r\n", "line 3: a value without ="},
        {"REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"=\"b\r\n",
         "line 3: value data that is not \"text\", dword:, hex: or -"},
        {"REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"=dword:123456789\r\n",
         "line 3: value data that is not \"text\", dword:, hex: or -"},
        {"REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"=hex:1g\r\n",
         "line 3: value data that is not \"text\", dword:, hex: or -"},
        {"REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"=hex(:01\r\n",
         "line 3: value data that is not \"text\", dword:, hex: or -"},
        // Keys nested deeper than Windows allows are refused before a tree is built.
        {NestedKeyFile(kMaxRegistryKeyDepth + 1), "line 3: a key nested deeper than 512 levels"},
        {NestedKeyFile(30000), "line 3: a key nested deeper than 512 levels"},
    };
    for (const auto& [text, message] : cases) {
        RegistryTree tree;
        std::string error;
        EXPECT_FALSE(ParseRegistryText(text, tree, error)) << text;
        EXPECT_EQ(error, message) << text;
        EXPECT_TRUE(tree.Root("HKEY_USERS")->Empty()) << text;
    }
    RegistryTree tree;
    std::string error;
    EXPECT_TRUE(ParseRegistryText(NestedKeyFile(kMaxRegistryKeyDepth), tree, error)) << error;
}

TEST(RegistryTree, DeepTreesAreWalkedAndTornDownWithoutRecursion) {
    // A program's own keys may go deeper than a file may; neither a walk nor the tree's end
    // may then run out of stack.
    constexpr std::size_t kDepth = 20000;
    auto tree = std::make_unique<RegistryTree>();
    RegistryKey* key = tree->Root("HKEY_USERS");
    for (std::size_t i = 0; i < kDepth; ++i) {
        key = &key->Child("k");
    }
    key->SetValue("last", kRegDword, std::string(4, '\0'));
    std::size_t visited = 0;
    tree->Walk([&](const std::string&, const RegistryKey&) { ++visited; });
    EXPECT_EQ(visited, kDepth + 4);
    tree.reset();
}

} // namespace
} // namespace tl::host
