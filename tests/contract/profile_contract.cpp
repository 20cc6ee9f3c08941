#include "port_contract.h"

#include <array>

namespace tl::test {
namespace {

using namespace std::string_literals;

class Ini {
public:
    Ini(Profile& profile, std::string file) : profile_(profile), file_(std::move(file)) {}
    std::string Get(const char* section, const char* key, const char* def, DWORD size = 128) {
        std::array<char, 128> buffer{};
        buffer.fill('*');
        const DWORD length =
            profile_.GetPrivateProfileString(section, key, def, buffer.data(), size, file_);
        return std::string(buffer.data(), length);
    }
    UINT Int(const char* key, int def) {
        return profile_.GetPrivateProfileInt("install", key, def, file_);
    }

private:
    Profile& profile_;
    std::string file_;
};

TEST_P(ProfileContract, ReadsValuesDefaultsAndIntegers) {
    WriteFile("setup.ini", "[windows]\r\nDevice = \"Telmora 600\" \r\nEmpty=\r\n"
                           "[Install]\r\nLanguage=2\r\nA=12abc\r\nC=+7\r\nD=abc\r\nE=\r\n");
    Ini ini(Ports().profile, Path("SETUP.INI"));
    EXPECT_EQ(ini.Get("Windows", "device", "x"), "Telmora 600");
    EXPECT_EQ(ini.Get("windows", "Empty", "x"), "");
    EXPECT_EQ(ini.Get("windows", "missing", "'def'"), "def");
    EXPECT_EQ(ini.Get("windows", "missing", nullptr), "");
    EXPECT_EQ(ini.Get("windows", "device", "x", 5), "Telm");
    EXPECT_EQ(Ini(Ports().profile, Path("none.ini")).Get("Install", "DiskPath", "A:\\"), "A:\\");

    EXPECT_EQ(ini.Int("Language", 9), 2u);
    EXPECT_EQ(ini.Int("A", 9), 12u);
    EXPECT_EQ(ini.Int("C", 9), 7u);
    EXPECT_EQ(ini.Int("D", 9), 0u);
    EXPECT_EQ(ini.Int("Missing", 9), 9u);
    EXPECT_EQ(ini.Int("E", 9), 9u);
}

TEST_P(ProfileContract, ListsSectionsAndKeys) {
    WriteFile("list.ini", "[A]\r\nk1=1\r\nk2=2\r\n[B]\r\n[C]\r\n");
    Ini ini(Ports().profile, Path("list.ini"));
    EXPECT_EQ(ini.Get(nullptr, nullptr, "x"), "A\0B\0C\0"s);
    EXPECT_EQ(ini.Get("a", nullptr, "x"), "k1\0k2\0"s);
    EXPECT_EQ(ini.Get("Missing", nullptr, "def"), "def");
    // A list cut to the buffer ends with two NULs and counts size - 2.
    std::array<char, 4> buffer{};
    buffer.fill('*');
    EXPECT_EQ(Ports().profile.GetPrivateProfileString(nullptr, nullptr, "", buffer.data(), 4,
                                                      Path("list.ini")),
              2u);
    EXPECT_EQ(std::string(buffer.data(), 3), "A\0\0"s);
    // Writes the whole-program runs never make: no section, a folder that does not exist.
    EXPECT_EQ(Ports().profile.WritePrivateProfileString(nullptr, "b", "c", Path("list.ini")), 0);
    EXPECT_EQ(Ports().profile.WritePrivateProfileString("A", "k", "2", Path("NOFOLDER\\X.INI")), 0);
}

} // namespace
} // namespace tl::test
