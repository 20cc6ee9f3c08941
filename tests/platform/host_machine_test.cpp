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

TEST(HostMachine, InstallDiskIsWriteProtectedUnlessAskedOtherwise) {
    // Every way of writing meets the refusal of a write-protected floppy (19), whether the
    // disk is --disk or the [Drives] folder of the drive the program starts from.
    struct Case {
        const char* name;
        std::optional<std::string> diskFolder;
        bool writable;
        DWORD expected;
    };
    for (const Case& c : {Case{"--disk", "disk", false, kErrorWriteProtect},
                          Case{"[Drives]", std::nullopt, false, kErrorWriteProtect},
                          Case{"--disk-writable", "disk", true, kErrorSuccess}}) {
        test::TempMachine folder;
        folder.WriteFile("disk/INSTALL.INF", "[PRIVATE.INI]\n");
        folder.WriteMachineIni("[Drives]\nA=disk\n");
        EventLog events;
        std::string error;
        HostMachineOptions options{folder.Root(), std::nullopt, c.writable};
        if (c.diskFolder) {
            options.diskDir = folder.Root() / *c.diskFolder;
        }
        auto machine = HostMachine::Open(options, events, &error);
        ASSERT_TRUE(machine) << error;
        Platform& platform = machine->GetPlatform();
        const auto refusal = [&](BOOL done) {
            return done ? kErrorSuccess : platform.files.GetLastError();
        };
        FileHandle created = platform.files.CreateFile("A:\\NEW.TXT", kGenericWrite, 0, kCreateNew);
        EXPECT_EQ(refusal(static_cast<BOOL>(created.value != 0)), c.expected) << c.name;
        platform.files.CloseHandle(created);
        EXPECT_EQ(refusal(platform.storage.CreateDirectory("A:\\FONTS")), c.expected) << c.name;
        EXPECT_EQ(
            refusal(platform.profile.WritePrivateProfileString("a", "b", "c", "A:\\INSTALL.INF")),
            c.expected)
            << c.name;
        OfStruct of;
        EXPECT_EQ(platform.lz.LZOpenFile("A:\\COPY.TXT", of, kOfCreate) < 0, c.expected != 0)
            << c.name;
        EXPECT_EQ(refusal(platform.files.DeleteFile("A:\\INSTALL.INF")), c.expected) << c.name;
        EXPECT_EQ(folder.Exists("disk/INSTALL.INF"), c.expected != 0) << c.name;
    }
}

TEST(HostMachine, ReadOnlyFilesAreReadButNeitherWrittenReplacedNorDeleted) {
    test::TempMachine folder;
    folder.WriteFile("drive_c/WINDOWS/WIN.INI", "[windows]\r\n");
    folder.WriteFile("drive_c/WINDOWS/SYSTEM/TLCORE.DLL", "installed");
    folder.WriteFile("drive_c/WINDOWS/SYSTEM/NEW.TMP", "new");
    for (const char* file : {"drive_c/WINDOWS/WIN.INI", "drive_c/WINDOWS/SYSTEM/TLCORE.DLL"}) {
        std::filesystem::permissions(folder.Root() / file, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
    }
    EventLog events;
    std::string error;
    auto machine = HostMachine::Open({folder.Root(), std::nullopt}, events, &error);
    ASSERT_TRUE(machine) << error;
    Platform& platform = machine->GetPlatform();
    FileSystem& files = platform.files;
    const char* dll = "C:\\WINDOWS\\SYSTEM\\TLCORE.DLL";
    const auto refusal = [&](BOOL done) { return done ? kErrorSuccess : files.GetLastError(); };

    EXPECT_EQ(files.GetFileAttributes(dll) & kFileAttributeReadOnly, kFileAttributeReadOnly);
    FileHandle reading = files.CreateFile(dll, kGenericRead, kFileShareRead, kOpenExisting);
    EXPECT_TRUE(reading);
    files.CloseHandle(reading);
    for (DWORD disposition : {kOpenExisting, kOpenAlways, kCreateAlways, kTruncateExisting}) {
        FileHandle writing = files.CreateFile(dll, kGenericWrite, 0, disposition);
        EXPECT_EQ(refusal(static_cast<BOOL>(writing.value != 0)), kErrorAccessDenied)
            << disposition;
        files.CloseHandle(writing);
    }
    EXPECT_EQ(
        refusal(files.MoveFileEx("C:\\WINDOWS\\SYSTEM\\NEW.TMP", dll, kMoveFileReplaceExisting)),
        kErrorAccessDenied);
    EXPECT_EQ(refusal(files.DeleteFile(dll)), kErrorAccessDenied);
    OfStruct of;
    EXPECT_LT(platform.lz.LZOpenFile(dll, of, kOfCreate), 0);
    EXPECT_EQ(of.nErrCode, kErrorAccessDenied);
    EXPECT_LT(platform.lz.LZOpenFile(dll, of, kOfDelete), 0);
    EXPECT_EQ(of.nErrCode, kErrorAccessDenied);
    EXPECT_EQ(refusal(platform.profile.WriteProfileString("windows", "device", "x")),
              kErrorAccessDenied);
    EXPECT_EQ(folder.ReadFile("drive_c/WINDOWS/SYSTEM/TLCORE.DLL"), "installed");
    EXPECT_EQ(folder.ReadFile("drive_c/WINDOWS/WIN.INI"), "[windows]\r\n");
    // A read-only file may itself be moved, as on Windows.
    EXPECT_TRUE(files.MoveFileEx(dll, "C:\\WINDOWS\\SYSTEM\\TLCORE.OLD", 0));
}

TEST(HostMachine, ProfileWritesUseUpTheFreeSpaceAndFailWholeWhenTheyDoNotFit) {
    test::TempMachine folder;
    folder.WriteFile("drive_c/WINDOWS/WIN.INI", "[windows]\r\n");
    folder.WriteMachineIni("[Drive.C]\nFreeBytes=30\n");
    EventLog events;
    std::string error;
    auto machine = HostMachine::Open({folder.Root(), std::nullopt}, events, &error);
    ASSERT_TRUE(machine) << error;
    Platform& platform = machine->GetPlatform();
    DiskFreeSpaceEx space{};
    // "load=TLSTAT.EXE\r\n" is 17 bytes: it fits and leaves 13.
    EXPECT_TRUE(platform.profile.WriteProfileString("windows", "load", "TLSTAT.EXE"));
    ASSERT_TRUE(platform.storage.GetDiskFreeSpaceEx("C:\\", &space));
    EXPECT_EQ(space.freeBytesAvailable, 13u);
    const std::string written = folder.ReadFile("drive_c/WINDOWS/WIN.INI");
    for (const char* file : {"WIN.INI", "tlsetup.ini"}) {
        EXPECT_FALSE(platform.profile.WritePrivateProfileString("Install", "FontPath",
                                                                "C:\\WINDOWS\\FONTS", file))
            << file;
        EXPECT_EQ(platform.files.GetLastError(), kErrorDiskFull) << file;
    }
    EXPECT_EQ(folder.ReadFile("drive_c/WINDOWS/WIN.INI"), written);
    EXPECT_FALSE(folder.Exists("drive_c/WINDOWS/tlsetup.ini"));
    // Removing a line gives its room back.
    EXPECT_TRUE(platform.profile.WriteProfileString("windows", "load", nullptr));
    ASSERT_TRUE(platform.storage.GetDiskFreeSpaceEx("C:\\", &space));
    EXPECT_EQ(space.freeBytesAvailable, 30u);
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
