#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

namespace tl::host {
namespace {

TEST(HostMachine, DiskOptionBecomesDriveAAndEveryPortWorksOnTheSameMachine) {
    test::TempMachine folder;
    folder.WriteFile("elsewhere/INSTALL.INF", "[PRIVATE.INI]\n");
    folder.WriteMachineIni("[Drives]\nA=\n[Machine]\nLocale=0409\n");
    EventLog events;
    std::string error;
    auto machine = HostMachine::Open({folder.Root(), folder.Root() / "elsewhere"}, events, &error);
    ASSERT_TRUE(machine) << error;
    Platform& platform = machine->GetPlatform();
    EXPECT_NE(platform.files.GetFileAttributes("A:\\install.inf"), kInvalidFileAttributes);
    EXPECT_EQ(platform.storage.GetCurrentDirectory(), "A:\\");
    EXPECT_EQ(platform.clock.GetUserDefaultLCID(), kLocaleEnglishUs);
    EXPECT_EQ(platform.codePage.ToUtf8("\xC7\xD1"), "한");
    EXPECT_EQ(machine->RegistryFile(), folder.Root() / "registry.reg");
    platform.system.MessageBeep(0);
    EXPECT_EQ(events.Events().size(), 1u);
}

TEST(HostMachine, EveryPortActsOnTheSameMachineFolder) {
    test::TempMachine folder;
    folder.WriteFile("drive_c/WINDOWS/SYSTEM/UNI.DRV", "driver");
    folder.WriteMachineIni("[InUse]\nC:\\WINDOWS\\SYSTEM\\UNI.DRV=1\n");
    EventLog events;
    std::string error;
    auto machine = HostMachine::Open({folder.Root(), std::nullopt}, events, &error);
    ASSERT_TRUE(machine) << error;
    Platform& platform = machine->GetPlatform();

    // Profile files without a directory live in the Windows directory.
    EXPECT_TRUE(platform.profile.WritePrivateProfileString("tlsetup", "LPT1", "0", "win.ini"));
    EXPECT_NE(folder.ReadFile("drive_c/WINDOWS/win.ini").find("LPT1=0"), std::string::npos);

    // The registry is registry.reg of the machine folder.
    HKEY key{};
    ASSERT_EQ(
        platform.registry.RegCreateKeyEx(kHkeyLocalMachine, "Software\\Test", 0, 0, &key, nullptr),
        0);
    const char value[] = "1";
    EXPECT_EQ(
        platform.registry.RegSetValueEx(key, "v", kRegSz, reinterpret_cast<const BYTE*>(value), 2),
        0);
    platform.registry.RegCloseKey(key);
    EXPECT_NE(folder.ReadFile("registry.reg").find("[HKEY_LOCAL_MACHINE\\Software\\Test]"),
              std::string::npos);

    // The LZ copy respects the files other programs hold, as the file port does.
    OfStruct of;
    EXPECT_EQ(platform.lz.LZOpenFile("C:\\WINDOWS\\SYSTEM\\UNI.DRV", of, kOfCreate), kHfileError);
    EXPECT_EQ(of.nErrCode, kErrorSharingViolation);
    EXPECT_EQ(folder.ReadFile("drive_c/WINDOWS/SYSTEM/UNI.DRV"), "driver");
}

TEST(HostMachine, UnusableFoldersAreRefusedWithAReason) {
    test::TempMachine folder;
    EventLog events;
    std::string error;
    EXPECT_FALSE(HostMachine::Open({folder.Root() / "none", std::nullopt}, events, &error));
    EXPECT_NE(error.find("does not exist"), std::string::npos);
    EXPECT_FALSE(HostMachine::Open({folder.Root(), folder.Root() / "nodisk"}, events, &error));
    EXPECT_NE(error.find("install disk"), std::string::npos);
    folder.WriteMachineIni("[Machine]\nVersion=x\n");
    EXPECT_FALSE(HostMachine::Open({folder.Root(), std::nullopt}, events, &error));
    EXPECT_NE(error.find("Version"), std::string::npos);
    folder.WriteMachineIni("");
    folder.WriteFile("registry.reg", "REGEDIT4\r\n\r\n[HKEY_NOWHERE");
    EXPECT_FALSE(HostMachine::Open({folder.Root(), std::nullopt}, events, &error));
    EXPECT_NE(error.find("registry.reg"), std::string::npos) << error;
}

} // namespace
} // namespace tl::host
