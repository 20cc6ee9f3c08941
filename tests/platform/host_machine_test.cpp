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
}

} // namespace
} // namespace tl::host
