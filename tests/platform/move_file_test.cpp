#include "platform/host/iconv_code_page.h"
#include "platform/host/machine_file_system.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

namespace tl::test {
namespace {

TEST(MachineMoveFileEx, WriteProtectedInUseAndOtherDrives) {
    TempMachine folder;
    folder.WriteMachineIni("[Drive.D]\nReadOnly=1\n[InUse]\nC:\\WINDOWS\\SYSTEM.INI=1\n");
    folder.WriteFile("drive_c/WINDOWS/SYSTEM.INI", "in use");
    folder.WriteFile("drive_c/WINDOWS/SYSTEM.TMP", "new");
    folder.WriteFile("drive_d/A.TMP", "a");
    folder.MakeDirectory("drive_e");
    host::IconvCodePage codePage;
    auto config = host::LoadMachineConfig(folder.Root(), codePage);
    ASSERT_TRUE(config.config) << config.error;
    host::MachinePathResolver resolver(*config.config, codePage);
    host::MachineFileSystem files(*config.config, resolver);

    EXPECT_FALSE(files.MoveFileEx("C:\\WINDOWS\\SYSTEM.TMP", "C:\\WINDOWS\\SYSTEM.INI",
                                  kMoveFileReplaceExisting));
    EXPECT_EQ(files.GetLastError(), kErrorSharingViolation);
    EXPECT_FALSE(files.MoveFileEx("D:\\A.TMP", "D:\\B.TMP", 0));
    EXPECT_EQ(files.GetLastError(), kErrorAccessDenied);
    EXPECT_FALSE(files.MoveFileEx("C:\\WINDOWS\\SYSTEM.TMP", "E:\\SYSTEM.TMP", 0));
    EXPECT_EQ(files.GetLastError(), kErrorNotSameDevice);
    EXPECT_EQ(folder.ReadFile("drive_c/WINDOWS/SYSTEM.INI"), "in use");
    EXPECT_TRUE(folder.Exists("drive_c/WINDOWS/SYSTEM.TMP"));
}

} // namespace
} // namespace tl::test
