// The profile port of the simulated PC: the Windows 95 quirks beyond the port contract and the
// writes the PC refuses.
#include "host_pc.h"

#include <array>

namespace tl::host {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class HostProfileTest : public ::testing::Test {
protected:
    std::string Get(const char* section, const char* key, const char* def,
                    std::string_view file = kWinIni, DWORD size = 128) {
        std::array<char, 128> buffer{};
        buffer.fill('*');
        return std::string(buffer.data(), Ini().GetPrivateProfileString(section, key, def,
                                                                        buffer.data(), size, file));
    }
    Profile& Ini() { return pc.Ports().profile; }

    test::HostPc pc{"[Drives]\nA=disk\n[Drive.D]\nReadOnly=1\n",
                    {{"disk/INSTALL.INF", "[VxD]\r\n0:PM.386\r\nmessage = true\r\n"},
                     {"drive_c/WINDOWS/win.ini", "[A]\r\nk1=1\r\nbare\r\nk2=2\r\n[B]\r\n"},
                     {"drive_c/WINDOWS/tlsetup.ini", "[Install]\r\nB=-3\r\nF= 0x10\r\n"},
                     {"drive_d/SETUP.INI", "[A]\r\nk=1\r\n"}}};
};

TEST_F(HostProfileTest, ReadsLikeWindows95) {
    EXPECT_EQ(Get("A", "missing", "  'def'   "), "  'def'");
    EXPECT_EQ(Get("A", "", "x"), "");
    // A full path is taken as it stands; an INF file read this way has lines without "=".
    EXPECT_EQ(Get("VxD", "message", "", "A:\\INSTALL.INF"), "true");
    EXPECT_EQ(Get("VxD", "0:PM.386", "none", "A:\\INSTALL.INF"), "none");
    EXPECT_EQ(Get("a", nullptr, "x"), "k1\0k2\0"s) << "a line without '=' is no key";
    EXPECT_EQ(Get("B", nullptr, "def"), "def");
    EXPECT_EQ(Get("", nullptr, "def"), "");
    // Integers from their leading digits: a negative value and a hexadecimal one read as 0.
    EXPECT_EQ(Ini().GetPrivateProfileInt("install", "B", 9, "tlsetup.ini"), 0u);
    EXPECT_EQ(Ini().GetPrivateProfileInt("install", "F", 9, "tlsetup.ini"), 0u);
    EXPECT_EQ(Ini().GetPrivateProfileInt("Install", "B", -1, "nowhere.ini"), static_cast<UINT>(-1));
}

TEST_F(HostProfileTest, AWriteThatCannotBeMadeFailsAndChangesNothing) {
    // A read-only drive, a file with the read-only attribute, a drive that is not there and a
    // folder where the file should be.
    pc.folder.WriteFile("drive_c/WINDOWS/LOCKED.INI", "[A]\r\nk=1\r\n");
    fs::permissions(pc.folder.Root() / "drive_c/WINDOWS/LOCKED.INI", fs::perms::owner_read);
    pc.folder.MakeDirectory("drive_c/WINDOWS/DIR.INI");
    for (const char* file : {"D:\\SETUP.INI", "LOCKED.INI", "Q:\\X.INI", "DIR.INI"}) {
        EXPECT_EQ(Ini().WritePrivateProfileString("A", "k", "2", file), 0) << file;
        EXPECT_NE(Get("A", "k", "", file), "2") << file;
    }
    EXPECT_EQ(pc.folder.ReadFile("drive_d/SETUP.INI"), "[A]\r\nk=1\r\n");
    EXPECT_EQ(pc.folder.ReadFile("drive_c/WINDOWS/LOCKED.INI"), "[A]\r\nk=1\r\n");
    EXPECT_EQ(fs::status(pc.folder.Root() / "drive_c/WINDOWS/LOCKED.INI").permissions(),
              fs::perms::owner_read);
    EXPECT_TRUE(fs::is_directory(pc.folder.Root() / "drive_c/WINDOWS/DIR.INI"));
}

} // namespace
} // namespace tl::host
