#include "text/disk_name.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tl {
namespace {

TEST(DiskName, GivesTheFault) {
    using F = DiskNameFault;
    // clang-format off
    const std::pair<std::string, DiskNameFault> cases[] = {
        {"TLCORE.DLL", F::None}, {"tlsetup.ini", F::None}, {"LPT.BZ", F::None},
        {"CONFIG.SYS", F::None}, {"COM10", F::None}, {"LPT0.DLL", F::None},
        {"NULL.DLL", F::None}, {".HIDDEN", F::None},
        // Code page 949 text is a name like any other.
        {"\xB1\xDB\xB2\xC3.TTF", F::None}, {std::string(255, 'A'), F::None},
        {std::string(256, 'A'), F::TooLong}, {"", F::Empty}, {"..\\WIN.INI", F::Separator},
        {"../WIN.INI", F::Separator}, {"C:\\AUTOEXEC.BAT", F::Separator},
        {"A:X.DLL", F::Separator}, {"SUB\\X", F::Separator}, {".", F::DotName},
        {"..", F::DotName}, {"TLCORE.DLL.", F::TrailingDot}, {"TLCORE.DLL ", F::TrailingDot},
        {"X\tY.DLL", F::ControlCharacter}, {std::string("X\0Y", 3), F::ControlCharacter},
        {"X\x7FY", F::ControlCharacter}, {"CON", F::DeviceName}, {"nul", F::DeviceName},
        {"Prn.txt", F::DeviceName}, {"AUX.DLL", F::DeviceName}, {"com1", F::DeviceName},
        {"COM9.INI", F::DeviceName}, {"LPT1", F::DeviceName}, {"lpt9.386", F::DeviceName},
        {"CON .TXT", F::DeviceName}};
    // clang-format on
    for (const auto& [name, fault] : cases)
        EXPECT_EQ(CheckDiskName(name), fault) << name;
}

TEST(DirectoryPath, SaysWhetherUsable) {
    // clang-format off
    const std::pair<const char*, bool> cases[] = {
        {"C:\\WINDOWS\\FONTS", true}, {"d:\\ttf", true}, {"A:\\", true}, {"A:", true},
        {"C:\\CONSOLE\\FONTS", true}, {"C:\\FONTS\\", true}, {"\\\\SERVER\\SHARE\\FONTS", false},
        {"//SERVER/SHARE", false}, {"C:\\\\SERVER\\SHARE", false}, {"C:FONTS", false},
        {"FONTS", false}, {"1:\\FONTS", false}, {"C:\\NUL", false}, {"C:\\nul.txt\\FONTS", false},
        {"A:\\LPT1", false}, {"C:\\FONTS\\COM3", false}, {"C:\\FO\nNTS", false},
        {"C:\\FONTS:X", false}};
    // clang-format on
    for (const auto& [path, usable] : cases)
        EXPECT_EQ(IsUsableDirectoryPath(path), usable) << path;
}

} // namespace
} // namespace tl
