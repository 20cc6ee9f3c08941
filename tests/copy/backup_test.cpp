#include "copy/backup.h"

#include "installer_machine.h"
#include "platform/host/szdd_compressor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tl {
namespace {

TEST(BackupFile, TakesTheFirstFreeNumberAndCopiesByteForByte) {
    test::InstallerMachine machine;
    const std::string original = "[boot]\r\nshell=Explorer.exe\r\n\x1A";
    machine.WriteWindowsFile("SYSTEM.INI", original);
    std::string backup;

    ASSERT_EQ(BackupFile(machine.Get(), "C:\\WINDOWS\\SYSTEM.INI", backup), 1);
    EXPECT_EQ(backup, "C:\\WINDOWS\\SYSTEM.B00");
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM.B00"), original);

    ASSERT_EQ(BackupFile(machine.Get(), "C:\\WINDOWS\\SYSTEM.INI", backup), 1);
    EXPECT_EQ(backup, "C:\\WINDOWS\\SYSTEM.B01");

    // A gap is filled before later numbers; names match without regard to case.
    machine.WriteWindowsFile("system.b03", "taken");
    ASSERT_EQ(BackupFile(machine.Get(), "C:\\WINDOWS\\SYSTEM.INI", backup), 1);
    EXPECT_EQ(backup, "C:\\WINDOWS\\SYSTEM.B02");
    EXPECT_EQ(MakeBackupName(machine.Get(), "C:\\WINDOWS\\SYSTEM.INI", backup), 1);
    EXPECT_EQ(backup, "C:\\WINDOWS\\SYSTEM.B04");
    EXPECT_EQ(machine.ReadWindowsFile("system.b03"), "taken");
}

TEST(BackupFile, ExpandsACompressedFile) {
    test::InstallerMachine machine;
    const std::string text(5000, 'x');
    const std::vector<BYTE> packed =
        host::CompressSzdd(std::span(reinterpret_cast<const BYTE*>(text.data()), text.size()));
    machine.WriteWindowsFile("SYSTEM/LPT.VXD", std::string(packed.begin(), packed.end()));
    std::string backup;
    ASSERT_EQ(BackupFile(machine.Get(), "C:\\WINDOWS\\SYSTEM\\LPT.VXD", backup), 1);
    EXPECT_EQ(backup, "C:\\WINDOWS\\SYSTEM\\LPT.B00");
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM/LPT.B00"), text);
}

TEST(BackupFile, MissingFileOrNameWithoutDotGivesNoCopy) {
    test::InstallerMachine machine;
    machine.WriteWindowsFile("SYSTEM/NEW.B00", "old backup");
    machine.WriteWindowsFile("SYSTEM/NODOT", "data");
    std::string backup;
    // The first free name all the same: the copy engine records it.
    EXPECT_EQ(BackupFile(machine.Get(), "C:\\WINDOWS\\SYSTEM\\NEW.386", backup), 0);
    EXPECT_EQ(backup, "C:\\WINDOWS\\SYSTEM\\NEW.B01");
    EXPECT_FALSE(machine.WindowsFileExists("SYSTEM/NEW.B01"));
    EXPECT_EQ(BackupFile(machine.Get(), "C:\\WINDOWS\\SYSTEM\\NODOT", backup), 0);
    EXPECT_EQ(backup, "C:\\WINDOWS\\SYSTEM\\NODOT");
}

TEST(BackupFile, AllHundredNamesTakenOverwritesNothing) {
    test::InstallerMachine machine;
    machine.WriteWindowsFile("SYSTEM.INI", "new");
    for (int i = 0; i < 100; ++i) {
        machine.WriteWindowsFile("SYSTEM.B" + std::string(i < 10 ? "0" : "") + std::to_string(i),
                                 "backup " + std::to_string(i));
    }
    std::string backup = "stale";
    EXPECT_EQ(BackupFile(machine.Get(), "C:\\WINDOWS\\SYSTEM.INI", backup), 0);
    EXPECT_EQ(backup, "");
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM.B99"), "backup 99");
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM.B00"), "backup 0");
}

TEST(MakeBackupName, DotsOfTheWindowsDirectoryAndOddExtensions) {
    test::InstallerMachine machine("[Machine]\nWindowsDirectory=C:\\WIN.95\n"
                                   "SystemDirectory=C:\\WIN.95\\SYSTEM\n");
    machine.Folder().MakeDirectory("drive_c/WIN.95");
    std::string backup;
    EXPECT_EQ(MakeBackupName(machine.Get(), "C:\\WIN.95\\SYSTEM.INI", backup), 1);
    EXPECT_EQ(backup, "C:\\WIN.95\\SYSTEM.B00");
    EXPECT_EQ(MakeBackupName(machine.Get(), "C:\\WIN.95\\README", backup), 0);
    EXPECT_EQ(backup, "C:\\WIN.95\\README");
    // A shorter extension is lengthened, a longer one keeps its tail.
    EXPECT_EQ(MakeBackupName(machine.Get(), "C:\\WIN.95\\A.I", backup), 1);
    EXPECT_EQ(backup, "C:\\WIN.95\\A.B00");
    EXPECT_EQ(MakeBackupName(machine.Get(), "C:\\WIN.95\\A.HTML", backup), 1);
    EXPECT_EQ(backup, "C:\\WIN.95\\A.B00L");
}

TEST(BackupFile, FailedCopyLeavesNoPartialBackup) {
    // A damaged compressed file: its header promises more than its data holds.
    test::InstallerMachine machine;
    const std::string text(5000, 'y');
    std::vector<BYTE> packed =
        host::CompressSzdd(std::span(reinterpret_cast<const BYTE*>(text.data()), text.size()));
    packed.resize(20);
    machine.WriteWindowsFile("SYSTEM/BAD.DRV", std::string(packed.begin(), packed.end()));
    std::string backup;
    EXPECT_EQ(BackupFile(machine.Get(), "C:\\WINDOWS\\SYSTEM\\BAD.DRV", backup), 0);
    EXPECT_EQ(backup, "C:\\WINDOWS\\SYSTEM\\BAD.B00");
    EXPECT_FALSE(machine.WindowsFileExists("SYSTEM/BAD.B00"));
}

} // namespace
} // namespace tl
