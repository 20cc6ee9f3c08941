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

TEST_P(DiskNameTest, GivesTheFault) {
    EXPECT_EQ(CheckDiskName(GetParam().name), GetParam().fault) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, DiskNameTest,
    ::testing::Values(
        NameCase{"TLCORE.DLL", DiskNameFault::None}, NameCase{"tlsetup.ini", DiskNameFault::None},
        NameCase{"LPT.BZ", DiskNameFault::None}, NameCase{"CONFIG.SYS", DiskNameFault::None},
        NameCase{"COM10", DiskNameFault::None}, NameCase{"LPT0.DLL", DiskNameFault::None},
        NameCase{"NULL.DLL", DiskNameFault::None}, NameCase{".HIDDEN", DiskNameFault::None},
        // Code page 949 text is a name like any other.
        NameCase{"\xB1\xDB\xB2\xC3.TTF", DiskNameFault::None},
        NameCase{std::string(255, 'A'), DiskNameFault::None},
        NameCase{std::string(256, 'A'), DiskNameFault::TooLong}, NameCase{"", DiskNameFault::Empty},
        NameCase{"..\\WIN.INI", DiskNameFault::Separator},
        NameCase{"../WIN.INI", DiskNameFault::Separator},
        NameCase{"C:\\AUTOEXEC.BAT", DiskNameFault::Separator},
        NameCase{"A:X.DLL", DiskNameFault::Separator}, NameCase{"SUB\\X", DiskNameFault::Separator},
        NameCase{".", DiskNameFault::DotName}, NameCase{"..", DiskNameFault::DotName},
        NameCase{"TLCORE.DLL.", DiskNameFault::TrailingDot},
        NameCase{"TLCORE.DLL ", DiskNameFault::TrailingDot},
        NameCase{"X\tY.DLL", DiskNameFault::ControlCharacter},
        NameCase{std::string("X\0Y", 3), DiskNameFault::ControlCharacter},
        NameCase{"X\x7FY", DiskNameFault::ControlCharacter},
        NameCase{"CON", DiskNameFault::DeviceName}, NameCase{"nul", DiskNameFault::DeviceName},
        NameCase{"Prn.txt", DiskNameFault::DeviceName},
        NameCase{"AUX.DLL", DiskNameFault::DeviceName}, NameCase{"com1", DiskNameFault::DeviceName},
        NameCase{"COM9.INI", DiskNameFault::DeviceName},
        NameCase{"LPT1", DiskNameFault::DeviceName},
        NameCase{"lpt9.386", DiskNameFault::DeviceName},
        NameCase{"CON .TXT", DiskNameFault::DeviceName}));

struct PathCase {
    std::string path;
    bool usable;
};

class DirectoryPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(DirectoryPathTest, SaysWhetherUsable) {
    EXPECT_EQ(IsUsableDirectoryPath(GetParam().path), GetParam().usable) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DirectoryPathTest,
    ::testing::Values(PathCase{"C:\\WINDOWS\\FONTS", true}, PathCase{"d:\\ttf", true},
                      PathCase{"A:\\", true}, PathCase{"A:", true},
                      PathCase{"C:\\CONSOLE\\FONTS", true}, PathCase{"C:\\FONTS\\", true},
                      PathCase{"\\\\SERVER\\SHARE\\FONTS", false},
                      PathCase{"//SERVER/SHARE", false}, PathCase{"C:\\\\SERVER\\SHARE", false},
                      PathCase{"C:FONTS", false}, PathCase{"FONTS", false},
                      PathCase{"1:\\FONTS", false}, PathCase{"C:\\NUL", false},
                      PathCase{"C:\\nul.txt\\FONTS", false}, PathCase{"A:\\LPT1", false},
                      PathCase{"C:\\FONTS\\COM3", false}, PathCase{"C:\\FO\nNTS", false},
                      PathCase{"C:\\FONTS:X", false}));

} // namespace
} // namespace tl
