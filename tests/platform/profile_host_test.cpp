#include "platform/host/iconv_code_page.h"
#include "platform/host/machine_path_resolver.h"
#include "platform/host/profile_host.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace tl::host {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class HostProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine.WriteMachineIni("[Drives]\nA=disk\n[Drive.D]\nReadOnly=1\n");
        machine.MakeDirectory("drive_c/Windows");
        machine.MakeDirectory("drive_d");
        machine.MakeDirectory("disk");
        auto result = LoadMachineConfig(machine.Root(), codePage);
        ASSERT_TRUE(result.config) << result.error;
        config = *result.config;
        resolver.emplace(config, codePage);
        profile.emplace(*resolver, config.windowsDirectory);
    }

    std::string Get(const char* section, const char* key, const char* def,
                    std::string_view file = kWinIni, DWORD size = 128) {
        std::array<char, 128> buffer{};
        buffer.fill('*');
        const DWORD length =
            profile->GetPrivateProfileString(section, key, def, buffer.data(), size, file);
        return std::string(buffer.data(), length);
    }

    // Every file in the Windows folder: no temporary file may stay behind.
    std::vector<std::string> WindowsFolder() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(machine.Root() / "drive_c/Windows")) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempMachine machine;
    IconvCodePage codePage;
    MachineConfig config;
    std::optional<MachinePathResolver> resolver;
    std::optional<HostProfile> profile;
};

TEST_F(HostProfileTest, ReadsValuesAndDefaultsLikeWindows95) {
    machine.WriteFile("drive_c/Windows/win.ini", "[windows]\r\nDevice = \"Telmora 600\" \r\n"
                                                 "Empty=\r\n");
    // The port contract covers the common cases; these are the Windows 95 quirks beyond them.
    EXPECT_EQ(Get("windows", "missing", "  'def'   "), "  'def'");
    EXPECT_EQ(Get("windows", "", "x"), "");

    // A full path is taken as it stands; an INF file read this way has lines without "=".
    machine.WriteFile("disk/INSTALL.INF", "[VxD]\r\n0:PM.386\r\nmessage = true\r\n");
    EXPECT_EQ(Get("VxD", "message", "", "A:\\INSTALL.INF"), "true");
    EXPECT_EQ(Get("VxD", "0:PM.386", "none", "A:\\INSTALL.INF"), "none");
}

TEST_F(HostProfileTest, ListsSectionsAndKeysAndCutsThemToTheBuffer) {
    machine.WriteFile("drive_c/Windows/WIN.INI", "[A]\r\nk1=1\r\nbare\r\nk2=2\r\n[B]\r\n[C]\r\n");
    EXPECT_EQ(Get("a", nullptr, "x"), "k1\0k2\0"s) << "a line without '=' is no key";
    EXPECT_EQ(Get("a", nullptr, "x", kWinIni, 6), "k1\0k"s);
    EXPECT_EQ(Get("B", nullptr, "def"), "def");
    EXPECT_EQ(Get("", nullptr, "def"), "");
}

TEST_F(HostProfileTest, ReadsIntegersFromTheirLeadingDigits) {
    machine.WriteFile("drive_c/Windows/tlsetup.ini",
                      "[Install]\r\nLanguage=2\r\nB=-3\r\nF= 0x10\r\n");
    const auto read = [&](const char* key) {
        return profile->GetPrivateProfileInt("install", key, 9, "tlsetup.ini");
    };
    EXPECT_EQ(read("B"), 0u) << "a negative value reads as 0";
    EXPECT_EQ(read("F"), 0u);
    EXPECT_EQ(profile->GetPrivateProfileInt("Install", "Language", -1, "nowhere.ini"),
              static_cast<UINT>(-1));
}

TEST_F(HostProfileTest, WritesKeepEveryOtherLineAndLeaveNoTemporaryFile) {
    const std::string original = "; written by hand\n[386Enh]\ndevice=*vpicd\n\n[boot]\nshell="
                                 "Explorer.exe";
    machine.WriteFile("drive_c/Windows/System.ini", original);
    EXPECT_EQ(profile->WritePrivateProfileString("386enh", "device", "PM.386", "SYSTEM.INI"), 1);
    EXPECT_EQ(machine.ReadFile("drive_c/Windows/System.ini"),
              "; written by hand\n[386Enh]\ndevice=PM.386\n\n[boot]\nshell=Explorer.exe");
    EXPECT_EQ(profile->WriteProfileString("tlsetup", "LPT1", "0"), 1);
    EXPECT_EQ(profile->WriteProfileString("tlsetup", "LPT2", "1"), 1);
    EXPECT_EQ(machine.ReadFile("drive_c/Windows/WIN.INI"), "[tlsetup]\r\nLPT1=0\r\nLPT2=1\r\n");
    EXPECT_EQ(WindowsFolder(), (std::vector<std::string>{"System.ini", "WIN.INI"}));
    // A file keeps its permissions when it is replaced.
    fs::permissions(machine.Root() / "drive_c/Windows/WIN.INI",
                    fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(profile->WriteProfileString("tlsetup", "LPT3", "0"), 1);
    EXPECT_EQ(fs::status(machine.Root() / "drive_c/Windows/WIN.INI").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);

    EXPECT_EQ(profile->WriteProfileString("tlsetup", "LPT1", nullptr), 1);
    EXPECT_EQ(machine.ReadFile("drive_c/Windows/WIN.INI"), "[tlsetup]\r\nLPT2=1\r\nLPT3=0\r\n");
    EXPECT_EQ(profile->WriteProfileString("TLSETUP", nullptr, nullptr), 1);
    EXPECT_EQ(machine.ReadFile("drive_c/Windows/WIN.INI"), "");

    // Deleting from a file that does not exist succeeds and creates nothing.
    EXPECT_EQ(profile->WritePrivateProfileString("A", "b", nullptr, "other.ini"), 1);
    EXPECT_FALSE(machine.Exists("drive_c/Windows/other.ini"));
    EXPECT_EQ(profile->WritePrivateProfileString(nullptr, "b", "c", "other.ini"), 0);
}

TEST_F(HostProfileTest, AWriteThatCannotBeMadeFailsAndChangesNothing) {
    machine.WriteFile("drive_d/SETUP.INI", "[A]\r\nk=1\r\n");
    EXPECT_EQ(profile->WritePrivateProfileString("A", "k", "2", "D:\\SETUP.INI"), 0);
    EXPECT_EQ(machine.ReadFile("drive_d/SETUP.INI"), "[A]\r\nk=1\r\n");
    EXPECT_EQ(Get("A", "k", "", "D:\\SETUP.INI"), "1");

    // A file with the read-only attribute is not written either.
    machine.WriteFile("drive_c/Windows/LOCKED.INI", "[A]\r\nk=1\r\n");
    fs::permissions(machine.Root() / "drive_c/Windows/LOCKED.INI", fs::perms::owner_read);
    EXPECT_EQ(profile->WritePrivateProfileString("A", "k", "2", "LOCKED.INI"), 0);
    EXPECT_EQ(machine.ReadFile("drive_c/Windows/LOCKED.INI"), "[A]\r\nk=1\r\n");
    EXPECT_EQ(fs::status(machine.Root() / "drive_c/Windows/LOCKED.INI").permissions(),
              fs::perms::owner_read);

    EXPECT_EQ(profile->WritePrivateProfileString("A", "k", "2", "C:\\NOFOLDER\\X.INI"), 0);
    EXPECT_EQ(profile->WritePrivateProfileString("A", "k", "2", "Q:\\X.INI"), 0);
    // A folder where the file should be is not overwritten either.
    machine.MakeDirectory("drive_c/Windows/DIR.INI");
    EXPECT_EQ(profile->WritePrivateProfileString("A", "k", "2", "DIR.INI"), 0);
    EXPECT_TRUE(fs::is_directory(machine.Root() / "drive_c/Windows/DIR.INI"));
}

} // namespace
} // namespace tl::host
