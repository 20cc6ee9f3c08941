#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

namespace tl::host {
namespace {

using Fields = std::vector<std::pair<std::string, PlatformEvent::Value>>;

class SystemTest : public ::testing::Test {
protected:
    void Open(std::string_view ini) {
        folder.WriteMachineIni(ini);
        std::string error;
        machine = HostMachine::Open({folder.Root(), std::nullopt}, events, &error);
        ASSERT_TRUE(machine) << error;
    }
    System& Sys() { return machine->GetPlatform().system; }

    test::TempMachine folder;
    EventLog events;
    std::unique_ptr<HostMachine> machine;
};

TEST_F(SystemTest, DirectoriesProgramAndVersionComeFromMachineIni) {
    Open("[Machine]\nWindowsDirectory=D:\\WIN\nSystemDirectory=D:\\WIN\\SYS\nVersion=4.10\n"
         "ProgramFile=B:\\SETUP.EXE\n");
    EXPECT_EQ(Sys().GetWindowsDirectory(), "D:\\WIN");
    EXPECT_EQ(Sys().GetSystemDirectory(), "D:\\WIN\\SYS");
    EXPECT_EQ(Sys().GetModuleFileName(), "B:\\SETUP.EXE");
    EXPECT_EQ(Sys().GetVersion(), 0xC0000A04u);
}

TEST_F(SystemTest, VersionOfAWindowsNtMachineHasNoNinetyFiveMark) {
    Open("[Machine]\nVersion=3.51\n");
    DWORD version = Sys().GetVersion();
    EXPECT_EQ(version & 0xFF, 3u);
    EXPECT_EQ((version >> 8) & 0xFF, 51u);
    EXPECT_EQ(version & 0x80000000u, 0u);
}

TEST_F(SystemTest, AtomsStartFromMachineIniAndCountReferences) {
    Open("[Atoms]\nbi-di.386=1\nother=0\n");
    ATOM bidi = Sys().GlobalFindAtom("BI-DI.386");
    ASSERT_NE(bidi, 0);
    EXPECT_GE(bidi, 0xC000);
    EXPECT_EQ(Sys().GlobalFindAtom("other"), 0);

    // Reference counting and integer atoms are the port contract's; here what is beyond it.
    EXPECT_EQ(Sys().GlobalDeleteAtom(bidi), 0);
    EXPECT_EQ(Sys().GlobalFindAtom("bi-di.386"), 0);
    EXPECT_EQ(Sys().GlobalDeleteAtom(bidi), bidi); // a delete too many fails

    ATOM fresh = Sys().GlobalAddAtom("Fresh");
    EXPECT_NE(fresh, 0);
    EXPECT_NE(fresh, bidi);
    EXPECT_EQ(Sys().GlobalAddAtom(""), 0);
    EXPECT_EQ(Sys().GlobalAddAtom(std::string(256, 'a')), 0);

    // A new run of the same machine starts again from machine.ini.
    machine.reset();
    Open("[Atoms]\nbi-di.386=1\n");
    EXPECT_NE(Sys().GlobalFindAtom("bi-di.386"), 0);
    EXPECT_EQ(Sys().GlobalFindAtom("Fresh"), 0);
}

TEST_F(SystemTest, EffectsAreRecordedInOrder) {
    folder.WriteFile("drive_c/WINDOWS/FONTS/A.TTF", "font");
    Open("");
    EXPECT_EQ(Sys().SetErrorMode(kSemFailCriticalErrors), 0u);
    EXPECT_EQ(Sys().SetErrorMode(0), kSemFailCriticalErrors);
    EXPECT_EQ(Sys().AddFontResource("C:\\WINDOWS\\FONTS\\a.ttf"), 1);
    EXPECT_EQ(Sys().AddFontResource("C:\\WINDOWS\\FONTS\\NONE.TTF"), 0);
    Sys().BroadcastMessage(kWmFontChange, "");
    Sys().BroadcastMessage(kWmDevModeChange, "\xC7\xD1\xB1\xDB 600");
    EXPECT_TRUE(Sys().MessageBeep(kMbSimpleBeep));
    EXPECT_TRUE(Sys().ExitWindowsEx(kEwxReboot, 0));

    const std::vector<PlatformEvent>& log = events.Events();
    ASSERT_EQ(log.size(), 6u);
    auto expect = [&](std::size_t i, const char* name, const Fields& fields) {
        EXPECT_EQ(log[i].event, name);
        EXPECT_EQ(log[i].fields, fields) << name;
    };
    expect(0, "addfont", {{"file", std::string("C:\\WINDOWS\\FONTS\\a.ttf")}});
    expect(1, "addfont", {{"file", std::string("C:\\WINDOWS\\FONTS\\NONE.TTF")}});
    expect(2, "broadcast", {{"message", std::string("WM_FONTCHANGE")}});
    expect(3, "broadcast",
           {{"message", std::string("WM_DEVMODECHANGE")}, {"text", std::string("한글 600")}});
    expect(4, "beep", {{"type", std::int64_t{-1}}});
    expect(5, "restart", {{"flags", std::int64_t{2}}});
}

} // namespace
} // namespace tl::host
