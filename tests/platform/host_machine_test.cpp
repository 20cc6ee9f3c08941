// A machine folder opened as a PC: the refusals of its install disk and its read-only files.
#include "host_pc.h"

namespace tl::host {
namespace {

namespace fs = std::filesystem;

TEST(HostMachine, InstallDiskIsWriteProtectedUnlessAskedOtherwise) {
    // Writing meets the refusal of a write-protected floppy (19), whether the disk is --disk or
    // the [Drives] folder of the drive the program starts from.
    struct Case {
        const char* name;
        std::optional<fs::path> diskFolder;
        bool writable;
        DWORD expected;
    };
    for (const Case& c : {Case{"--disk", "disk", false, kErrorWriteProtect},
                          Case{"[Drives]", std::nullopt, false, kErrorWriteProtect},
                          Case{"--disk-writable", "disk", true, kErrorSuccess}}) {
        SCOPED_TRACE(c.name);
        test::HostPc pc("[Drives]\nA=disk\n", {{"disk/INSTALL.INF", "[PRIVATE.INI]\n"}},
                        {{}, c.diskFolder, c.writable});
        FileHandle created = pc.Files().CreateFile("A:\\NEW.TXT", kGenericWrite, 0, kCreateNew);
        EXPECT_EQ(pc.Outcome(created.value != 0), c.expected);
        pc.Files().CloseHandle(created);
        EXPECT_EQ(pc.Outcome(pc.Files().DeleteFile("A:\\INSTALL.INF")), c.expected);
        EXPECT_EQ(pc.folder.Exists("disk/INSTALL.INF"), c.expected != 0);
    }
}

TEST(HostMachine, ReadOnlyFilesAreReadButNeitherWrittenReplacedNorDeleted) {
    test::HostPc pc("", {{"drive_c/WINDOWS/SYSTEM/TLCORE.DLL", "installed"},
                         {"drive_c/WINDOWS/SYSTEM/NEW.TMP", "new"}});
    fs::permissions(pc.folder.Root() / "drive_c/WINDOWS/SYSTEM/TLCORE.DLL", fs::perms::owner_write,
                    fs::perm_options::remove);
    Platform& ports = pc.Ports();
    const char* dll = "C:\\WINDOWS\\SYSTEM\\TLCORE.DLL";
    for (DWORD disposition : {kOpenExisting, kOpenAlways, kCreateAlways, kTruncateExisting}) {
        FileHandle writing = ports.files.CreateFile(dll, kGenericWrite, 0, disposition);
        EXPECT_EQ(pc.Outcome(writing.value != 0), kErrorAccessDenied) << disposition;
        ports.files.CloseHandle(writing);
    }
    EXPECT_EQ(pc.Outcome(ports.files.MoveFileEx("C:\\WINDOWS\\SYSTEM\\NEW.TMP", dll,
                                                kMoveFileReplaceExisting)),
              kErrorAccessDenied);
    EXPECT_EQ(pc.Outcome(ports.files.DeleteFile(dll)), kErrorAccessDenied);
    OfStruct of;
    for (WORD style : {kOfCreate, kOfDelete}) {
        EXPECT_LT(ports.lz.LZOpenFile(dll, of, style), 0);
        EXPECT_EQ(of.nErrCode, kErrorAccessDenied);
    }
    EXPECT_EQ(pc.folder.ReadFile("drive_c/WINDOWS/SYSTEM/TLCORE.DLL"), "installed");
    // A read-only file may itself be moved, as on Windows.
    EXPECT_TRUE(ports.files.MoveFileEx(dll, "C:\\WINDOWS\\SYSTEM\\TLCORE.OLD", 0));
}

TEST(HostMachine, AnInstallDiskFolderThatIsNotThereIsRefused) {
    test::TempMachine folder;
    EventLog events;
    std::string error;
    EXPECT_FALSE(HostMachine::Open({folder.Root(), folder.Root() / "nodisk"}, events, &error));
    EXPECT_NE(error.find("install disk"), std::string::npos) << error;
}

} // namespace
} // namespace tl::host
