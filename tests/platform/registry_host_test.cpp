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
    EXPECT_EQ(registry.RegDeleteKey(kHkeyLocalMachine, "enum\\ROOT"), 0);
    EXPECT_EQ(registry.RegQueryValueEx(key, "PortName", nullptr, nullptr, nullptr), 2);
    EXPECT_EQ(SetText(key, "x", "y"), 2);
    EXPECT_EQ(registry.RegCloseKey(key), 0);
    DWORD size = 4;
    EXPECT_EQ(registry.RegQueryValueEx(key, "PortName", nullptr, nullptr, &size), 6);
    EXPECT_EQ(registry.RegCloseKey(kHkeyLocalMachine), 0);
    EXPECT_EQ(registry.RegDeleteValue(kHkeyLocalMachine, "nothing"), 2);
    EXPECT_EQ(registry.RegDeleteKey(kHkeyLocalMachine, ""), 87);
    EXPECT_EQ(SetText(kHkeyLocalMachine, "Bad\nName", "x"), 87);
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

} // namespace
} // namespace tl::host
