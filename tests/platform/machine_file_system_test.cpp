// The file port of the simulated PC beyond the port contract: its drives, files in use, free
// space, Hangul names and the Win32 answers its handles give.
#include "host_pc.h"

namespace tl::host {
namespace {

class MachineFileSystemTest : public ::testing::Test {
protected:
    MachineFileSystem& Files() { return pc.machine->Files(); }
    DWORD Create(std::string_view path, DWORD disposition = kCreateAlways,
                 DWORD access = kGenericWrite) {
        FileHandle file = Files().CreateFile(path, access, kFileShareNone, disposition);
        return pc.Outcome(file && Files().CloseHandle(file));
    }
    std::uint64_t Free(std::string_view root) {
        DiskFreeSpaceEx wide;
        EXPECT_TRUE(Files().GetDiskFreeSpaceEx(root, &wide));
        return wide.freeBytesAvailable;
    }

    test::HostPc pc{"[Drives]\nB=\n[Drive.C]\nFreeBytes=409600\n[Drive.D]\nReadOnly=1\n"
                    "[Drive.E]\nFreeBytes=6000000000\n[InUse]\nc:\\windows\\system\\uni.drv=1\n",
                    {{"drive_c/WINDOWS/SYSTEM/UNI.DRV", "driver"},
                     {"drive_c/WINDOWS/SYSTEM.TMP", "new"},
                     {"drive_d/FONT.TTF", "f"},
                     {"drive_e/E.TXT", ""}}};
};

TEST_F(MachineFileSystemTest, DrivesThatAreMissingEmptyOrWriteProtectedRefuseChanges) {
    EXPECT_EQ(Files().GetLogicalDrives(), 0b11110u); // B: to E:
    EXPECT_EQ(Files().GetDriveType("B:\\"), kDriveRemovable);
    EXPECT_EQ(Files().GetDriveType("C:\\"), kDriveFixed);
    EXPECT_EQ(Files().GetDriveType("Q:\\"), kDriveNoRootDir);
    DiskFreeSpace space;
    EXPECT_EQ(Create("Q:\\UTEMP.DAT"), kErrorPathNotFound);
    EXPECT_EQ(pc.Outcome(Files().GetDiskFreeSpace("Q:\\", &space)), kErrorPathNotFound);
    EXPECT_EQ(Create("B:\\UTEMP.DAT"), kErrorNotReady);
    EXPECT_EQ(pc.Outcome(Files().GetDiskFreeSpace("B:\\", &space)), kErrorNotReady);
    EXPECT_EQ(pc.Outcome(Files().GetDiskFreeSpace("C:\\WINDOWS", &space)), kErrorInvalidName);

    // A write-protected drive reads, has space, and refuses every change.
    EXPECT_TRUE(Files().GetDiskFreeSpace("D:\\", &space));
    EXPECT_EQ(Create("D:\\font.ttf", kOpenExisting, kGenericRead), kErrorSuccess);
    EXPECT_EQ(Create("D:\\UTEMP.DAT"), kErrorAccessDenied);
    EXPECT_EQ(Create("D:\\FONT.TTF", kOpenExisting), kErrorAccessDenied);
    EXPECT_EQ(pc.Outcome(Files().DeleteFile("D:\\FONT.TTF")), kErrorAccessDenied);
    EXPECT_EQ(pc.Outcome(Files().CreateDirectory("D:\\FONTS")), kErrorAccessDenied);
    EXPECT_EQ(pc.Outcome(Files().MoveFileEx("D:\\FONT.TTF", "D:\\B.TTF", 0)), kErrorAccessDenied);
    EXPECT_EQ(pc.Outcome(Files().MoveFileEx("C:\\WINDOWS\\SYSTEM.TMP", "E:\\SYSTEM.TMP", 0)),
              kErrorNotSameDevice);
    EXPECT_TRUE(pc.folder.Exists("drive_d/FONT.TTF"));
    EXPECT_FALSE(pc.folder.Exists("drive_d/UTEMP.DAT"));
    // A file in use opens for shared reading only and is not replaced.
    const char* inUse = "C:\\WINDOWS\\SYSTEM\\UNI.DRV";
    EXPECT_EQ(Create(inUse, kOpenExisting, kGenericRead), kErrorSharingViolation);
    FileHandle shared = Files().CreateFile(inUse, kGenericRead, kFileShareRead, kOpenExisting);
    EXPECT_TRUE(shared && Files().CloseHandle(shared));
    EXPECT_EQ(
        pc.Outcome(Files().MoveFileEx("C:\\WINDOWS\\SYSTEM.TMP", inUse, kMoveFileReplaceExisting)),
        kErrorSharingViolation);
}

TEST_F(MachineFileSystemTest, FreeBytesIsReportedInBothFormsAndUsedUpByWriting) {
    DiskFreeSpace space;
    ASSERT_TRUE(Files().GetDiskFreeSpace("C:\\", &space));
    EXPECT_EQ(std::uint64_t{space.freeClusters} * space.sectorsPerCluster * space.bytesPerSector,
              409600u);
    EXPECT_EQ(Free("E:\\ANY\\PATH"), 6000000000u);
    // Beyond 2 GB the 32-bit form stops just short of 2^31, so a signed product stays positive.
    ASSERT_TRUE(Files().GetDiskFreeSpace("E:\\", &space));
    const std::uint64_t classic =
        std::uint64_t{space.freeClusters} * space.sectorsPerCluster * space.bytesPerSector;
    EXPECT_LT(classic, 0x80000000u);
    EXPECT_GT(classic, 0x7FF00000u);

    // Writing uses the space up; a write that does not fit fails whole; deleting returns it.
    FileHandle file = Files().CreateFile("C:\\BIG", kGenericWrite, 0, kCreateAlways);
    const std::string block(300000, 'x');
    DWORD written = 0;
    ASSERT_TRUE(Files().WriteFile(file, block.data(), 300000, &written));
    EXPECT_EQ(pc.Outcome(Files().WriteFile(file, block.data(), 200000, &written)), kErrorDiskFull);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(Files().SetFilePointer(file, 0, kFileBegin), 0u);
    EXPECT_TRUE(Files().WriteFile(file, block.data(), 300000, &written)); // overwriting is free
    Files().CloseHandle(file);
    EXPECT_EQ(Free("C:\\"), 109600u);
    EXPECT_TRUE(Files().DeleteFile("C:\\BIG"));
    EXPECT_EQ(Free("C:\\"), 409600u);
}

TEST_F(MachineFileSystemTest, NamesAreUtf8OnTheHostAndOpenHandlesCloseWithThePort) {
    ASSERT_TRUE(Files().CreateDirectory("C:\\\xC7\xD1\xB1\xDB"));
    EXPECT_EQ(Create("C:\\\xC7\xD1\xB1\xDB\\\xC6\xC4\xC0\xCF.TXT"), kErrorSuccess);
    EXPECT_TRUE(pc.folder.Exists("drive_c/한글/파일.TXT"));
    EXPECT_EQ(pc.Outcome(Files().DeleteFile("C:\\WINDOWS")), kErrorAccessDenied);
    FileHandle out = Files().CreateFile("C:\\F.BIN", kGenericWrite, kFileShareNone, kCreateNew);
    DWORD count = 0;
    EXPECT_TRUE(Files().WriteFile(out, "hello", 5, &count));
    // A sharing violation is found before CREATE_ALWAYS empties the file.
    EXPECT_EQ(Create("C:\\F.BIN"), kErrorSharingViolation);
    EXPECT_EQ(Files().OpenHandleCount(), 1u);
    Files().CloseHandle(out);
    EXPECT_EQ(pc.folder.ReadFile("drive_c/F.BIN"), "hello");
    // A handle left open is closed with the port; ASan's leak check would name a lost one.
    EXPECT_TRUE(Files().CreateFile("C:\\F.BIN", kGenericRead, kFileShareRead, kOpenExisting));
}

} // namespace
} // namespace tl::host
