#include "platform/host/registry_host.h"

#include "support/temp_machine.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

namespace tl::host {
namespace {

using namespace std::string_literals;

constexpr const char* kFonts = "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";

class HostRegistryTest : public ::testing::Test {
protected:
    HostRegistryTest() : file_(machine_.Root() / "registry.reg"), registry_(file_) {}

    void LoadOrFail() {
        std::string error;
        ASSERT_TRUE(registry_.Load(error)) << error;
    }

    LONG SetText(HKEY key, const char* name, const std::string& text) {
        return registry_.RegSetValueEx(key, name, kRegSz,
                                       reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>(text.size() + 1));
    }

    HKEY Create(HKEY root, const char* path) {
        HKEY key{};
        EXPECT_EQ(registry_.RegCreateKeyEx(root, path, 0, kKeyAllAccess, &key, nullptr), 0);
        return key;
    }

    test::TempMachine machine_;
    std::filesystem::path file_;
    HostRegistry registry_;
};

TEST_F(HostRegistryTest, FontRegistrationIsWrittenAndReadBack) {
    LoadOrFail();
    HKEY fonts{};
    DWORD disposition = 0;
    ASSERT_EQ(
        registry_.RegCreateKeyEx(kHkeyLocalMachine, kFonts, 0, kKeyAllAccess, &fonts, &disposition),
        0);
    EXPECT_EQ(disposition, kRegCreatedNewKey);
    EXPECT_EQ(SetText(fonts, "Gulim (TrueType)", "C:\\FONTS\\GULIM.TTF"), 0);
    EXPECT_EQ(registry_.RegCloseKey(fonts), 0);

    // The file holds the registry as regedit exports it, and no temporary file is left.
    const std::string text = machine_.ReadFile("registry.reg");
    EXPECT_TRUE(text.starts_with("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE]\r\n"));
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Fonts]"
                        "\r\n\"Gulim (TrueType)\"=\"C:\\\\FONTS\\\\GULIM.TTF\"\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(machine_.Root()),
                            std::filesystem::directory_iterator()),
              2); // drive_c and registry.reg

    // A fresh start reads it back; names match without regard to case.
    HostRegistry again(file_);
    std::string error;
    ASSERT_TRUE(again.Load(error)) << error;
    HKEY key{};
    ASSERT_EQ(again.RegOpenKeyEx(kHkeyLocalMachine,
                                 "SOFTWARE\\microsoft\\windows\\currentversion"
                                 "\\FONTS",
                                 0, kKeyAllAccess, &key),
              0);
    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(again.RegQueryValueEx(key, "gulim (truetype)", &type, nullptr, &size), 0);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(size, 19u);
    std::array<char, 64> data{};
    size = data.size();
    EXPECT_EQ(again.RegQueryValueEx(key, "Gulim (TrueType)", nullptr,
                                    reinterpret_cast<BYTE*>(data.data()), &size),
              0);
    EXPECT_STREQ(data.data(), "C:\\FONTS\\GULIM.TTF");
}

TEST_F(HostRegistryTest, ReportsWin32ErrorCodes) {
    LoadOrFail();
    HKEY key{0x1234};
    EXPECT_EQ(registry_.RegOpenKeyEx(kHkeyLocalMachine, kFonts, 0, kKeyAllAccess, &key), 2);
    EXPECT_FALSE(key);
    EXPECT_FALSE(std::filesystem::exists(file_)) << "opening writes nothing";

    key = Create(kHkeyLocalMachine, "Enum\\Root\\*PNP0401\\0000");
    EXPECT_EQ(registry_.RegQueryValueEx(key, "PortName", nullptr, nullptr, nullptr), 2);
    EXPECT_EQ(SetText(key, "PortName", "LPT1"), 0);

    std::array<char, 4> small{};
    DWORD size = small.size();
    EXPECT_EQ(registry_.RegQueryValueEx(key, "PortName", nullptr,
                                        reinterpret_cast<BYTE*>(small.data()), &size),
              234);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(registry_.RegQueryValueEx(key, "PortName", nullptr,
                                        reinterpret_cast<BYTE*>(small.data()), nullptr),
              87);

    EXPECT_EQ(registry_.RegCloseKey(key), 0);
    EXPECT_EQ(registry_.RegCloseKey(key), 6);
    EXPECT_EQ(registry_.RegQueryValueEx(key, "PortName", nullptr, nullptr, &size), 6);
    EXPECT_EQ(registry_.RegCloseKey(kHkeyLocalMachine), 0);
    EXPECT_EQ(registry_.RegOpenKeyEx(HKEY{}, "", 0, kKeyRead, &key), 6);

    EXPECT_EQ(registry_.RegDeleteValue(kHkeyLocalMachine, "nothing"), 2);
    EXPECT_EQ(registry_.RegDeleteKey(kHkeyLocalMachine, "Enum\\Nothing"), 2);
    EXPECT_EQ(registry_.RegDeleteKey(kHkeyLocalMachine, ""), 87);
    EXPECT_EQ(SetText(kHkeyLocalMachine, "Bad\nName", "x"), 87);
}

TEST_F(HostRegistryTest, EnumeratesInCreationOrderWithBufferChecks) {
    LoadOrFail();
    const HKEY root = Create(kHkeyLocalMachine, "Enum\\BIOS\\*PNP0401");
    for (const char* name : {"0B", "0a", "LongerName"}) {
        registry_.RegCloseKey(Create(root, name));
    }
    registry_.RegCloseKey(Create(root, "0A")); // the same key as 0a

    std::array<char, 128> name{};
    std::vector<std::string> names;
    DWORD index = 0;
    for (;; ++index) {
        DWORD size = name.size();
        const LONG result = registry_.RegEnumKeyEx(root, index, name.data(), &size);
        if (result == 259) {
            break;
        }
        ASSERT_EQ(result, 0);
        EXPECT_EQ(size, std::strlen(name.data()));
        names.emplace_back(name.data());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"0B", "0a", "LongerName"}));

    DWORD size = 10;
    EXPECT_EQ(registry_.RegEnumKeyEx(root, 2, name.data(), &size), 234);
    EXPECT_EQ(size, 11u);
    size = 11;
    EXPECT_EQ(registry_.RegEnumKeyEx(root, 2, name.data(), &size), 0);
    EXPECT_EQ(size, 10u);

    const DWORD one = 1;
    ASSERT_EQ(registry_.RegSetValueEx(root, "Zeta", kRegDword, reinterpret_cast<const BYTE*>(&one),
                                      sizeof one),
              0);
    ASSERT_EQ(SetText(root, nullptr, "default"), 0);
    DWORD nameSize = name.size();
    DWORD type = 0;
    DWORD value = 0;
    DWORD dataSize = sizeof value;
    EXPECT_EQ(registry_.RegEnumValue(root, 0, name.data(), &nameSize, &type,
                                     reinterpret_cast<BYTE*>(&value), &dataSize),
              0);
    EXPECT_STREQ(name.data(), "Zeta");
    EXPECT_EQ(type, kRegDword);
    EXPECT_EQ(value, 1u);
    nameSize = name.size();
    dataSize = 2;
    std::array<BYTE, 2> tiny{};
    EXPECT_EQ(
        registry_.RegEnumValue(root, 1, name.data(), &nameSize, &type, tiny.data(), &dataSize),
        234);
    EXPECT_EQ(dataSize, 8u);
    EXPECT_EQ(registry_.RegEnumValue(root, 2, name.data(), &nameSize, &type, nullptr, nullptr),
              259);
}

TEST_F(HostRegistryTest, DeletingAKeyTakesItsSubkeysAndInvalidatesOpenHandles) {
    LoadOrFail();
    const HKEY printers = Create(kHkeyLocalMachine, "System\\Printers");
    const HKEY printer = Create(printers, "Telmora 600\\PrinterDriverData");
    EXPECT_EQ(SetText(printer, "x", "y"), 0);
    EXPECT_EQ(registry_.RegDeleteKey(kHkeyLocalMachine, "system\\printers\\TELMORA 600"), 0);
    EXPECT_EQ(registry_.RegQueryValueEx(printer, "x", nullptr, nullptr, nullptr), 2);
    EXPECT_EQ(SetText(printer, "x", "y"), 2);
    EXPECT_EQ(registry_.Tree().Find("HKEY_LOCAL_MACHINE\\System\\Printers")->Children().size(), 0u);
    EXPECT_EQ(machine_.ReadFile("registry.reg"), "REGEDIT4\r\n\r\n"
                                                 "[HKEY_LOCAL_MACHINE]\r\n\r\n"
                                                 "[HKEY_LOCAL_MACHINE\\System]\r\n\r\n"
                                                 "[HKEY_LOCAL_MACHINE\\System\\Printers]\r\n\r\n");
}

TEST_F(HostRegistryTest, AnUnreadableFileIsReportedAndNeverOverwritten) {
    const std::string corrupt = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"x\"=oops\r\n";
    machine_.WriteFile("registry.reg", corrupt);
    std::string error;
    EXPECT_FALSE(registry_.Load(error));
    EXPECT_NE(error.find("registry.reg: line 4: value data"), std::string::npos) << error;
    EXPECT_NE(SetText(kHkeyLocalMachine, "x", "y"), 0);
    EXPECT_NE(registry_.Save(), 0u);
    EXPECT_EQ(machine_.ReadFile("registry.reg"), corrupt);
}

TEST_F(HostRegistryTest, AFailedSaveForgetsTheChange) {
    const auto folder = machine_.Root() / "gone";
    std::filesystem::create_directory(folder);
    HostRegistry registry(folder / "registry.reg");
    std::string error;
    ASSERT_TRUE(registry.Load(error));
    HKEY key{};
    ASSERT_EQ(registry.RegCreateKeyEx(kHkeyLocalMachine, "Kept", 0, kKeyAllAccess, &key, nullptr),
              0);
    std::filesystem::remove_all(folder);
    EXPECT_EQ(registry.RegCreateKeyEx(kHkeyLocalMachine, "Lost", 0, kKeyAllAccess, &key, nullptr),
              kErrorRegistryIoFailed);
    EXPECT_NE(registry.Tree().Find("HKEY_LOCAL_MACHINE\\Kept"), nullptr);
    EXPECT_EQ(registry.Tree().Find("HKEY_LOCAL_MACHINE\\Lost"), nullptr);
}

} // namespace
} // namespace tl::host
