#include "platform/host/iconv_code_page.h"
#include "platform/host/machine_file_system.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

namespace tl::host {
namespace {

// A machine folder with the given machine.ini, its config, resolver and file port.
class Machine {
public:
    explicit Machine(std::string_view ini = {}, void (*prepare)(test::TempMachine&) = nullptr) {
        if (prepare) {
            prepare(folder);
        }
        folder.WriteMachineIni(ini);
        auto result = LoadMachineConfig(folder.Root(), codePage);
        EXPECT_TRUE(result.config) << result.error;
        config = result.config.value_or(MachineConfig{});
        resolver = std::make_unique<MachinePathResolver>(config, codePage);
        files = std::make_unique<MachineFileSystem>(config, *resolver);
    }

    test::TempMachine folder;
    IconvCodePage codePage;
    MachineConfig config;
    std::unique_ptr<MachinePathResolver> resolver;
    std::unique_ptr<MachineFileSystem> files;
};

bool CreateProbe(FileSystem& files, std::string_view path) {
    FileHandle file = files.CreateFile(path, kGenericWrite, kFileShareNone, kCreateAlways);
    return file && files.CloseHandle(file);
}

TEST(MachineFileSystem, DrivesThatAreMissingEmptyOrWriteProtected) {
    Machine machine("[Drives]\nB=\n[Drive.D]\nReadOnly=1\n",
                    [](test::TempMachine& folder) { folder.WriteFile("drive_d/FONT.TTF", "f"); });
    MachineFileSystem& files = *machine.files;
    EXPECT_EQ(files.GetLogicalDrives(), 0b1110u); // B:, C:, D:
    EXPECT_EQ(files.GetDriveType("B:\\"), kDriveRemovable);
    EXPECT_EQ(files.GetDriveType("C:\\"), kDriveFixed);
    EXPECT_EQ(files.GetDriveType("Q:\\"), kDriveNoRootDir);

    EXPECT_FALSE(CreateProbe(files, "Q:\\UTEMP.DAT"));
    EXPECT_EQ(files.GetLastError(), kErrorPathNotFound);
    EXPECT_FALSE(CreateProbe(files, "B:\\UTEMP.DAT"));
    EXPECT_EQ(files.GetLastError(), kErrorNotReady);
    DiskFreeSpace space;
    EXPECT_FALSE(files.GetDiskFreeSpace("Q:\\", &space));
    EXPECT_EQ(files.GetLastError(), kErrorPathNotFound);
    EXPECT_FALSE(files.GetDiskFreeSpace("B:\\", &space));
    EXPECT_EQ(files.GetLastError(), kErrorNotReady);

    // A write-protected drive reads, has space, and refuses every change.
    EXPECT_TRUE(files.GetDiskFreeSpace("D:\\", &space));
    FileHandle font = files.CreateFile("D:\\font.ttf", kGenericRead, kFileShareRead, kOpenExisting);
    EXPECT_TRUE(font);
    files.CloseHandle(font);
    EXPECT_FALSE(CreateProbe(files, "D:\\UTEMP.DAT"));
    EXPECT_EQ(files.GetLastError(), kErrorAccessDenied);
    EXPECT_FALSE(files.CreateFile("D:\\FONT.TTF", kGenericWrite, 0, kOpenExisting));
    EXPECT_EQ(files.GetLastError(), kErrorAccessDenied);
    EXPECT_FALSE(files.DeleteFile("D:\\FONT.TTF"));
    EXPECT_EQ(files.GetLastError(), kErrorAccessDenied);
    EXPECT_FALSE(files.CreateDirectory("D:\\FONTS"));
    EXPECT_EQ(files.GetLastError(), kErrorAccessDenied);
    EXPECT_TRUE(machine.folder.Exists("drive_d/FONT.TTF"));
    EXPECT_FALSE(machine.folder.Exists("drive_d/UTEMP.DAT"));
}

TEST(MachineFileSystem, FilesInUseRefuseExclusiveOpensAndWriting) {
    Machine machine("[InUse]\nc:\\windows\\system\\uni.drv=1\n", [](test::TempMachine& folder) {
        folder.WriteFile("drive_c/WINDOWS/SYSTEM/UNI.DRV", "driver");
    });
    MachineFileSystem& files = *machine.files;
    const char* path = "C:\\WINDOWS\\SYSTEM\\UNI.DRV";
    EXPECT_FALSE(files.CreateFile(path, kGenericRead, kFileShareNone, kOpenExisting));
    EXPECT_EQ(files.GetLastError(), kErrorSharingViolation);
    EXPECT_FALSE(files.CreateFile(path, kGenericWrite, kFileShareRead, kCreateAlways));
    EXPECT_EQ(files.GetLastError(), kErrorSharingViolation);
    EXPECT_FALSE(files.DeleteFile(path));
    EXPECT_EQ(files.GetLastError(), kErrorSharingViolation);
    FileHandle shared = files.CreateFile(path, kGenericRead, kFileShareRead, kOpenExisting);
    EXPECT_TRUE(shared);
    files.CloseHandle(shared);
    EXPECT_EQ(machine.folder.ReadFile("drive_c/WINDOWS/SYSTEM/UNI.DRV"), "driver");
}

TEST(MachineFileSystem, FreeBytesIsReportedInBothFormsAndUsedUpByWriting) {
    Machine machine("[Drive.C]\nFreeBytes=409600\n[Drive.D]\nFreeBytes=6000000000\n",
                    [](test::TempMachine& folder) { folder.MakeDirectory("drive_d"); });
    MachineFileSystem& files = *machine.files;
    DiskFreeSpace space;
    ASSERT_TRUE(files.GetDiskFreeSpace("C:\\", &space));
    EXPECT_EQ(std::uint64_t{space.freeClusters} * space.sectorsPerCluster * space.bytesPerSector,
              409600u);
    DiskFreeSpaceEx wide;
    ASSERT_TRUE(files.GetDiskFreeSpaceEx("D:\\ANY\\PATH", &wide));
    EXPECT_EQ(wide.freeBytesAvailable, 6000000000u);
    EXPECT_GE(wide.totalBytes, wide.totalFreeBytes);
    // Beyond 2 GB the 32-bit form stops just short of 2^31, so a signed product stays positive.
    ASSERT_TRUE(files.GetDiskFreeSpace("D:\\", &space));
    std::uint64_t classic =
        std::uint64_t{space.freeClusters} * space.sectorsPerCluster * space.bytesPerSector;
    EXPECT_LT(classic, 0x80000000u);
    EXPECT_GT(classic, 0x7FF00000u);

    // Writing uses the space up; a write that does not fit fails whole; deleting returns it.
    FileHandle file = files.CreateFile("C:\\BIG", kGenericWrite, 0, kCreateAlways);
    std::string block(300000, 'x');
    DWORD written = 0;
    ASSERT_TRUE(files.WriteFile(file, block.data(), 300000, &written));
    EXPECT_FALSE(files.WriteFile(file, block.data(), 200000, &written));
    EXPECT_EQ(files.GetLastError(), kErrorDiskFull);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(files.SetFilePointer(file, 0, kFileBegin), 0u);
    EXPECT_TRUE(files.WriteFile(file, block.data(), 300000, &written)); // overwriting is free
    files.CloseHandle(file);
    ASSERT_TRUE(files.GetDiskFreeSpaceEx("C:\\", &wide));
    EXPECT_EQ(wide.freeBytesAvailable, 109600u);
    EXPECT_TRUE(files.DeleteFile("C:\\BIG"));
    ASSERT_TRUE(files.GetDiskFreeSpaceEx("C:\\", &wide));
    EXPECT_EQ(wide.freeBytesAvailable, 409600u);

    EXPECT_FALSE(files.GetDiskFreeSpace("C:\\WINDOWS", &space));
    EXPECT_EQ(files.GetLastError(), kErrorInvalidName);
}

TEST(MachineFileSystem, HangulNamesAreUtf8OnTheHost) {
    Machine machine;
    MachineFileSystem& files = *machine.files;
    ASSERT_TRUE(files.CreateDirectory("C:\\\xC7\xD1\xB1\xDB"));
    ASSERT_TRUE(CreateProbe(files, "C:\\\xC7\xD1\xB1\xDB\\\xC6\xC4\xC0\xCF.TXT"));
    EXPECT_TRUE(machine.folder.Exists("drive_c/한글/파일.TXT"));
}

TEST(MachineFileSystem, ClosesWhatItOpened) {
    Machine machine;
    ASSERT_TRUE(CreateProbe(*machine.files, "C:\\X"));
    FileHandle left =
        machine.files->CreateFile("C:\\X", kGenericRead, kFileShareRead, kOpenExisting);
    EXPECT_TRUE(left);
    EXPECT_EQ(machine.files->OpenHandleCount(), 1u);
    // The destructor closes the rest; ASan's leak check would name a lost descriptor's memory.
}

} // namespace
} // namespace tl::host
