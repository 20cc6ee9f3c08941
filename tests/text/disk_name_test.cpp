#include "text/disk_name.h"

#include <gtest/gtest.h>

#include <string>

namespace tl {
namespace {

struct NameCase {
    std::string name;
    DiskNameFault fault;
};

class DiskNameTest : public ::testing::TestWithParam<NameCase> {};
using F = DiskNameFault;
using N = NameCase;

TEST_P(DiskNameTest, GivesTheFault) {
    EXPECT_EQ(CheckDiskName(GetParam().name), GetParam().fault) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, DiskNameTest,
    ::testing::Values(
        N{"TLCORE.DLL", F::None}, N{"tlsetup.ini", F::None}, N{"LPT.BZ", F::None},
        N{"CONFIG.SYS", F::None}, N{"COM10", F::None}, N{"LPT0.DLL", F::None},
        N{"NULL.DLL", F::None}, N{".HIDDEN", F::None},
        // Code page 949 text is a name like any other.
        N{"\xB1\xDB\xB2\xC3.TTF", F::None}, N{std::string(255, 'A'), F::None},
        N{std::string(256, 'A'), F::TooLong}, N{"", F::Empty}, N{"..\\WIN.INI", F::Separator},
        N{"../WIN.INI", F::Separator}, N{"C:\\AUTOEXEC.BAT", F::Separator},
        N{"A:X.DLL", F::Separator}, N{"SUB\\X", F::Separator}, N{".", F::DotName},
        N{"..", F::DotName}, N{"TLCORE.DLL.", F::TrailingDot}, N{"TLCORE.DLL ", F::TrailingDot},
        N{"X\tY.DLL", F::ControlCharacter}, N{std::string("X\0Y", 3), F::ControlCharacter},
        N{"X\x7FY", F::ControlCharacter}, N{"CON", F::DeviceName}, N{"nul", F::DeviceName},
        N{"Prn.txt", F::DeviceName}, N{"AUX.DLL", F::DeviceName}, N{"com1", F::DeviceName},
        N{"COM9.INI", F::DeviceName}, N{"LPT1", F::DeviceName}, N{"lpt9.386", F::DeviceName},
        N{"CON .TXT", F::DeviceName}));

struct PathCase {
    std::string path;
    bool usable;
};

class DirectoryPathTest : public ::testing::TestWithParam<PathCase> {};
using P = PathCase;

TEST_P(DirectoryPathTest, SaysWhetherUsable) {
    EXPECT_EQ(IsUsableDirectoryPath(GetParam().path), GetParam().usable) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DirectoryPathTest,
    ::testing::Values(P{"C:\\WINDOWS\\FONTS", true}, P{"d:\\ttf", true}, P{"A:\\", true},
                      P{"A:", true}, P{"C:\\CONSOLE\\FONTS", true}, P{"C:\\FONTS\\", true},
                      P{"\\\\SERVER\\SHARE\\FONTS", false}, P{"//SERVER/SHARE", false},
                      P{"C:\\\\SERVER\\SHARE", false}, P{"C:FONTS", false}, P{"FONTS", false},
                      P{"1:\\FONTS", false}, P{"C:\\NUL", false}, P{"C:\\nul.txt\\FONTS", false},
                      P{"A:\\LPT1", false}, P{"C:\\FONTS\\COM3", false}, P{"C:\\FO\nNTS", false},
                      P{"C:\\FONTS:X", false}));

} // namespace
} // namespace tl
