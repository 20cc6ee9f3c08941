// The registry port of the simulated PC beyond the port contract: the errors Windows 95 gives,
// handles of deleted keys, and a registry.reg it cannot read or write.
#include "platform/host/registry_host.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

#include <array>

namespace tl::host {
namespace {

namespace fs = std::filesystem;

class HostRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(registry.Load(error)) << error;
    }
    LONG SetText(HKEY key, const char* name, const std::string& text) {
        return registry.RegSetValueEx(key, name, kRegSz,
                                      reinterpret_cast<const BYTE*>(text.c_str()),
                                      static_cast<DWORD>(text.size() + 1));
    }
    HKEY Create(HKEY root, const char* path) {
        HKEY key{};
        EXPECT_EQ(registry.RegCreateKeyEx(root, path, 0, kKeyAllAccess, &key, nullptr), 0);
        return key;
    }

    test::TempMachine machine;
    const fs::path file = machine.Root() / "registry.reg";
    HostRegistry registry{file};
};

TEST_F(HostRegistryTest, ReportsWin32ErrorCodesAndDeletedKeysCloseTheirHandles) {
    HKEY key = Create(kHkeyLocalMachine, "Enum\\Root\\*PNP0401\\0000");
    EXPECT_EQ(SetText(key, "PortName", "LPT1"), 0);
    std::array<char, 4> small{};
    EXPECT_EQ(registry.RegQueryValueEx(key, "PortName", nullptr,
                                       reinterpret_cast<BYTE*>(small.data()), nullptr),
              87);
    DWORD nameSize = 16, dataSize = 2;
    char name[16];
    EXPECT_EQ(registry.RegEnumValue(key, 0, name, &nameSize, nullptr,
                                    reinterpret_cast<BYTE*>(small.data()), &dataSize),
              234);
    EXPECT_EQ(dataSize, 5u);
    EXPECT_EQ(registry.RegEnumValue(key, 1, name, &nameSize, nullptr, nullptr, nullptr), 259);
    EXPECT_EQ(registry.RegDeleteKey(kHkeyLocalMachine, "enum\\ROOT"), 0);
    EXPECT_EQ(registry.RegQueryValueEx(key, "PortName", nullptr, nullptr, nullptr), 2);
    EXPECT_EQ(SetText(key, "x", "y"), 2);
    EXPECT_EQ(registry.RegCloseKey(key), 0);
    DWORD size = 4;
    EXPECT_EQ(registry.RegQueryValueEx(key, "PortName", nullptr, nullptr, &size), 6);
    EXPECT_EQ(registry.RegCloseKey(kHkeyLocalMachine), 0);
    EXPECT_EQ(registry.RegOpenKeyEx(HKEY{}, "", 0, kKeyRead, &key), 6);
    EXPECT_EQ(registry.RegDeleteValue(kHkeyLocalMachine, "nothing"), 2);
    EXPECT_EQ(registry.RegDeleteKey(kHkeyLocalMachine, "Enum\\Nothing"), 2);
    EXPECT_EQ(registry.RegDeleteKey(kHkeyLocalMachine, ""), 87);
    EXPECT_EQ(SetText(kHkeyLocalMachine, "Bad\nName", "x"), 87);
    EXPECT_EQ(machine.ReadFile("registry.reg"),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE]\r\n\r\n[HKEY_LOCAL_MACHINE\\Enum]\r\n\r\n");
}

TEST_F(HostRegistryTest, AnUnreadableFileIsNeverOverwrittenAndAFailedSaveForgetsTheChange) {
    const std::string corrupt = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"x\"=oops\r\n";
    machine.WriteFile("broken.reg", corrupt);
    HostRegistry broken(machine.Root() / "broken.reg");
    std::string error;
    EXPECT_FALSE(broken.Load(error));
    EXPECT_NE(error.find("broken.reg: line 4: value data"), std::string::npos) << error;
    EXPECT_NE(
        broken.RegSetValueEx(kHkeyLocalMachine, "x", kRegSz, reinterpret_cast<const BYTE*>("y"), 2),
        0);
    EXPECT_NE(broken.Save(), 0u);
    EXPECT_EQ(machine.ReadFile("broken.reg"), corrupt);

    registry.RegCloseKey(Create(kHkeyLocalMachine, "Kept"));
    fs::remove(file);
    fs::create_directories(file / "in the way");
    HKEY key{};
    EXPECT_EQ(registry.RegCreateKeyEx(kHkeyLocalMachine, "Lost", 0, kKeyAllAccess, &key, nullptr),
              kErrorRegistryIoFailed);
    EXPECT_NE(registry.Tree().Find("HKEY_LOCAL_MACHINE\\Kept"), nullptr);
    EXPECT_EQ(registry.Tree().Find("HKEY_LOCAL_MACHINE\\Lost"), nullptr);
}

TEST_F(HostRegistryTest, EnumeratesInCreationOrderWithBufferChecks) {
    const HKEY root = Create(kHkeyLocalMachine, "Enum\\BIOS\\*PNP0401");
    for (const char* name : {"0B", "0a", "LongerName", "0A"}) { // 0A is the key 0a
        registry.RegCloseKey(Create(root, name));
    }
    std::array<char, 128> name{};
    std::vector<std::string> names;
    for (DWORD index = 0, size = name.size();
         registry.RegEnumKeyEx(root, index, name.data(), &size) == 0; ++index, size = name.size()) {
        names.emplace_back(name.data());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"0B", "0a", "LongerName"}));
    DWORD size = 10;
    EXPECT_EQ(registry.RegEnumKeyEx(root, 2, name.data(), &size), 234);
    EXPECT_EQ(size, 11u);
    size = 11;
    EXPECT_EQ(registry.RegEnumKeyEx(root, 2, name.data(), &size), 0);
    EXPECT_EQ(size, 10u);

    const DWORD one = 1;
    ASSERT_EQ(
        registry.RegSetValueEx(root, "Zeta", kRegDword, reinterpret_cast<const BYTE*>(&one), 4), 0);
    ASSERT_EQ(SetText(root, nullptr, "default"), 0);
    DWORD nameSize = name.size(), type = 0, value = 0, dataSize = 4;
    EXPECT_EQ(registry.RegEnumValue(root, 0, name.data(), &nameSize, &type,
                                    reinterpret_cast<BYTE*>(&value), &dataSize),
              0);
    EXPECT_EQ(std::string(name.data()) + std::to_string(type) + std::to_string(value), "Zeta41");
    nameSize = name.size();
    dataSize = 2;
    EXPECT_EQ(registry.RegEnumValue(root, 1, name.data(), &nameSize, &type,
                                    reinterpret_cast<BYTE*>(&value), &dataSize),
              234);
    EXPECT_EQ(dataSize, 8u);
    EXPECT_EQ(registry.RegEnumValue(root, 2, name.data(), &nameSize, &type, nullptr, nullptr), 259);
}

} // namespace
} // namespace tl::host
