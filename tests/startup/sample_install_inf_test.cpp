// The sample disk's INSTALL.INF holds what the installer reads at start and in its font step.
#include "state/inf_query.h"
#include "state/inf_scripts.h"

#include "platform/host/direct_file_system.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace tl {
namespace {

const std::string kSample = TL_SOURCE_DIR "/examples/disk/INSTALL.INF";

std::string FirstLine(const SetupScripts& scripts, std::string_view section) {
    const auto line = FindInfSection(scripts, std::nullopt, section);
    return line ? std::string{*InfLineText(scripts, *line)} : std::string{};
}

TEST(SampleInstallInf, HasCrLfLinesAndTheSectionsReadAtStart) {
    std::ifstream in(kSample, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_FALSE(bytes.empty());
    for (std::size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', i + 1)) {
        ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare line feed at byte " << i;
    }

    host::DirectFileSystem files;
    SetupScripts scripts;
    ASSERT_EQ(LoadInf(scripts, files, kSample).status, InfLoadStatus::Loaded);
    std::string value;
    EXPECT_EQ(FirstLine(scripts, "PRIVATE.INI"), "tlsetup.ini");
    EXPECT_FALSE(FirstLine(scripts, "OEM.INF").empty());
    EXPECT_EQ(GetInfDotted(scripts, "PRINTERDRIVER.PATH", value), 1);
    EXPECT_GE(CountInfLines(scripts, FindInfSection(scripts, std::nullopt, "VxD")), 2);
    EXPECT_GE(CountInfLines(scripts, FindInfSection(scripts, std::nullopt, "DEMOFILE")), 1);
    for (const char* switchSection : {"DEL.INST", "REBOOTSYSTEM", "CheckECP", "WIN95SETUP",
                                      "VERSION_TYPE", "NEEDED.DiskSpace", "InstVersion"}) {
        EXPECT_FALSE(FirstLine(scripts, switchSection).empty()) << switchSection;
    }
}

TEST(SampleInstallInf, EveryOfferedFontHasFilesAndSpace) {
    host::DirectFileSystem files;
    SetupScripts scripts;
    ASSERT_EQ(LoadInf(scripts, files, kSample).status, InfLoadStatus::Loaded);
    std::string list;
    ASSERT_EQ(GetInfDotted(scripts, "TRUETYPEFONTS.FONTLIST", list), 1);
    const auto listLine = FindInfSection(scripts, std::nullopt, "TRUETYPEFONTS");
    std::string font;
    int fonts = 0;
    for (int n = 1; GetInfField(scripts, listLine, n, font); ++n, ++fonts) {
        const auto pairs = FindInfSection(scripts, std::nullopt, font + ".TrueType");
        ASSERT_TRUE(pairs) << font;
        std::string file;
        std::string name;
        EXPECT_EQ(GetInfField(scripts, pairs, 1, file), 1);
        EXPECT_TRUE(file[0] >= '1' && file[0] <= '9' && file[1] == ':') << file;
        EXPECT_EQ(GetInfField(scripts, pairs, 2, name), 1);
        EXPECT_EQ(name.substr(0, 2), "0:") << name;
        std::string space;
        EXPECT_EQ(GetInfKey(scripts, std::nullopt, "NEEDED.SPACE", font, space), 1) << font;
        EXPECT_NE(space.find(','), std::string::npos) << font;
    }
    EXPECT_GE(fonts, 2);
}

} // namespace
} // namespace tl
