#include "platform/host/iconv_code_page.h"
#include "platform/host/machine_config.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

namespace tl::host {
namespace {

using State = DriveConfig::State;

class MachineConfigTest : public ::testing::Test {
protected:
    MachineConfigResult Parse(std::string_view text) {
        return ParseMachineIni(text, machine.Root(), codePage);
    }
    test::TempMachine machine;
    IconvCodePage codePage;
};

TEST_F(MachineConfigTest, ReadsEverySectionWithCommentsAndAnyCase) {
    machine.MakeDirectory("disk");
    machine.MakeDirectory("drive_D");
    auto result = Parse("\xEF\xBB\xBF; a test PC\r\n"
                        "[machine]\r\n"
                        "WindowsDirectory = d:/win95/   ; trailing slash goes\r\n"
                        "SystemDirectory=D:\\WIN95\\SYSTEM\n"
                        "Version=4.0\n"
                        "UtcOffsetMinutes=+540\n"
                        "[Drives]\n"
                        "a=disk\n"
                        "B=\n"
                        "[InUse]\n"
                        "C:\\WINDOWS\\SYSTEM\\UNI.DRV=1\n"
                        "C:\\NOTUSED.DRV=0\n"
                        "[Atoms]\n"
                        "bi-di.386=1\n"
                        "한글=1\n"
                        "[MACHINE]\n"
                        "Version=3.51 ; a section written again adds to the first\n"
                        "[atoms]\n"
                        "BI-DI.386=1\n"
                        "[Other]\n"
                        "Ignored=yes\n");
    ASSERT_TRUE(result.config) << result.error;
    const MachineConfig& config = *result.config;
    EXPECT_EQ(config.windowsDirectory, "d:\\win95");
    EXPECT_EQ(config.systemDirectory, "D:\\WIN95\\SYSTEM");
    EXPECT_EQ(config.versionMajor, 3);
    EXPECT_EQ(config.versionMinor, 51);
    EXPECT_EQ(config.utcOffsetMinutes, 540);
    EXPECT_EQ(config.Drive('A').state, State::Present);
    EXPECT_EQ(config.Drive('A').folder, machine.Root() / "disk");
    EXPECT_EQ(config.Drive('B').state, State::NoMedium);
    EXPECT_EQ(config.Drive('D').state, State::Present);
    EXPECT_EQ(config.inUse, std::vector<std::string>{"C:\\WINDOWS\\SYSTEM\\UNI.DRV"});
    EXPECT_EQ(config.atoms, (std::vector<std::string>{"bi-di.386", "\xC7\xD1\xB1\xDB"}));
}

TEST_F(MachineConfigTest, MalformedValuesAreReportedWithTheirLine) {
    struct Case {
        const char* text;
        const char* message;
    };
    for (const Case& c : {
             Case{"[Machine]\nVersion=four", "line 2: Version"},
             Case{"[Machine]\nLocale=0411", "line 2: Locale"},
             Case{"[Machine]\nUtcOffsetMinutes=2000", "line 2: UtcOffsetMinutes"},
             Case{"[Machine]\nWindowsDirectory=WINDOWS", "line 2: a full Windows path"},
             Case{"\n[Drive.C]\nFreeBytes=-1", "line 3: FreeBytes"},
             Case{"[Drive.C]\nReadOnly=maybe", "line 2: ReadOnly"},
             Case{"[Drives]\nCD=x", "line 2: a key of [Drives]"},
             Case{"[Drives]\nE=no-such-folder", "drive E: ("},
             Case{"[Machine", "line 1: a section name"},
         }) {
        auto result = Parse(c.text);
        EXPECT_FALSE(result.config) << c.text;
        EXPECT_NE(result.error.find(c.message), std::string::npos) << result.error;
    }
}

TEST_F(MachineConfigTest, ControlCharactersInAValueOrKeyAreRefusedNamingTheKey) {
    // A NUL would cut the name where Windows reads it ("C:\\WIN") while the host kept the rest.
    using namespace std::string_literals;
    struct Case {
        std::string text;
        const char* message;
    };
    for (const Case& c : {
             Case{"[Machine]\nWindowsDirectory=C:\\WIN\0DOWS"s, "line 2: WindowsDirectory"},
             Case{"[Machine]\nSystemDirectory=C:\\WINDOWS\\SY\x01STEM"s, "line 2: SystemDirectory"},
             Case{"[Machine]\nProgramFile=A:\\TL\x1bINS32A.EXE"s, "line 2: ProgramFile"},
             Case{"[InUse]\nC:\\WINDOWS\\UNI\0.DRV=1"s, "line 2: C:\\WINDOWS\\UNI"},
             Case{"[Atoms]\nbi-di\x7f.386=1"s, "line 2: bi-di"},
             Case{"[Drives]\nA=di\0sk"s, "line 2: A"},
         }) {
        auto result = Parse(c.text);
        EXPECT_FALSE(result.config) << c.text;
        EXPECT_NE(result.error.find(c.message), std::string::npos) << result.error;
        EXPECT_NE(result.error.find("control character"), std::string::npos) << result.error;
    }
}

} // namespace
} // namespace tl::host
