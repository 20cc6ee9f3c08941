#include "copy/system_ini_device.h"

#include "installer_machine.h"
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace tl {
namespace {

class SystemIniDevice : public ::testing::Test {
protected:
    // Adds X.386 to a SYSTEM.INI holding `before`.
    void Add(const std::string& before) {
        machine.WriteWindowsFile("SYSTEM.INI", before);
        EXPECT_EQ(AddSystemIniDevice(machine.Get(), "X.386"), 1);
        EXPECT_FALSE(machine.WindowsFileExists("SYSTEM.INI.TMP"));
    }
    std::string SystemIni() const { return machine.ReadWindowsFile("SYSTEM.INI"); }
    std::string BackupRecord() {
        char value[256] = {};
        machine.Get().platform.profile.GetPrivateProfileString(
            "Install", "BFileSysIni", "none", value, sizeof value,
            machine.Get().paths.privateSettingsFile);
        return value;
    }
    bool Changed() { return (machine.Get().changeBits & kChangeSystemIni) != 0; }

    // The added line was made with a backup that is recorded, and the change bit.
    void ExpectRecordedChange(const std::string& before) {
        EXPECT_EQ(machine.ReadWindowsFile("SYSTEM.B00"), before);
        EXPECT_EQ(BackupRecord(), "C:\\WINDOWS\\SYSTEM.B00");
        EXPECT_TRUE(Changed());
    }

    test::InstallerMachine machine;
};

// Each change is made with a backup that is recorded, and the change bit.
TEST_F(SystemIniDevice, LineGoesFirstInItsSectionWhichIsAppendedWhenMissing) {
    // Cut into 255-byte pieces, this line would show a "[386Enh]" header of its own.
    const std::string longLine = "comment=" + std::string(247, 'x') + "[386Enh]\r\n";
    const struct {
        std::string before, after;
    } cases[] = {
        {"[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\nebios=*ebios\r\ndevice=*vpd\r\n"
         "[NonWindowsApp]\r\nCommandEnvSize=0\r\n",
         "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\ndevice=X.386\r\nebios=*ebios\r\n"
         "device=*vpd\r\n[NonWindowsApp]\r\nCommandEnvSize=0\r\n"},
        // Blanks around the equals sign make another line.
        {"[386Enh]\r\ndevice = X.386\r\n", "[386Enh]\r\ndevice=X.386\r\ndevice = X.386\r\n"},
        {"[boot]\r\nshell=Explorer.exe\r\n",
         "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\ndevice=X.386\r\n"},
        {"[boot]\r\n" + longLine + "[386Enh]\r\n" + longLine,
         "[boot]\r\n" + longLine + "[386Enh]\r\ndevice=X.386\r\n" + longLine},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before.substr(0, 40));
        std::filesystem::remove(machine.Folder().Root() / "drive_c/WINDOWS/SYSTEM.B00");
        machine.Get().changeBits = 0;
        machine.Get().backups = {};
        Add(c.before);
        EXPECT_EQ(SystemIni(), c.after);
        ExpectRecordedChange(c.before);
    }
    // A last line without line end is ended first, not run into.
    Add("[boot]\r\nshell=Explorer.exe");
    EXPECT_EQ(SystemIni(), "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\ndevice=X.386\r\n");
}

TEST_F(SystemIniDevice, SameLineAlreadyThereBecomesAComment) {
    // Key and value compare without regard to case; the value's first word counts.
    Add("[386Enh]\r\nebios=*ebios\r\n  DEVICE=  x.386 ; parallel\r\n[boot]\r\n");
    EXPECT_EQ(SystemIni(),
              "[386Enh]\r\ndevice=X.386\r\nebios=*ebios\r\n;  DEVICE=  x.386 ; parallel\r\n"
              "[boot]\r\n");
    EXPECT_FALSE(machine.WindowsFileExists("SYSTEM.B00"));
    EXPECT_EQ(BackupRecord(), "none");
    EXPECT_FALSE(Changed());

    // A last line without line feed is compared like any other.
    Add("[386Enh]\r\ndevice=X.386");
    EXPECT_EQ(SystemIni(), "[386Enh]\r\ndevice=X.386\r\n;device=X.386");
    EXPECT_FALSE(Changed());
}

TEST_F(SystemIniDevice, HeaderAsLastLineGetsTheLineAndAnEmptyLine) {
    Add("[boot]\r\n[386Enh]\r\n");
    EXPECT_EQ(SystemIni(), "[boot]\r\n[386Enh]\r\ndevice=X.386\r\n\r\n");
    machine.Get().changeBits = 0;
    Add("[boot]\r\n[386Enh]");
    EXPECT_EQ(SystemIni(), "[boot]\r\n[386Enh]\r\ndevice=X.386\r\n\r\n");
    EXPECT_TRUE(Changed());
}

TEST_F(SystemIniDevice, HeaderWithBlanksAndLowerCaseNamesTheSection) {
    Add("  [ 386enh ]  \r\nebios=*ebios\r\n");
    EXPECT_EQ(SystemIni(), "  [ 386enh ]  \r\ndevice=X.386\r\nebios=*ebios\r\n");
    // A longer name is another section.
    Add("[386Enh2]\r\n");
    EXPECT_EQ(SystemIni(), "[386Enh2]\r\n[386Enh]\r\ndevice=X.386\r\n");
}

TEST_F(SystemIniDevice, SecondDeviceLineOfARunKeepsTheFirstBackupRecorded) {
    const std::string before = "[386Enh]\r\nebios=*ebios\r\n";
    Add(before);
    EXPECT_EQ(AddSystemIniDevice(machine.Get(), "Y.386"), 1);
    EXPECT_EQ(SystemIni(), "[386Enh]\r\ndevice=Y.386\r\ndevice=X.386\r\nebios=*ebios\r\n");
    // SYSTEM.B00 holds SYSTEM.INI as it was before the run and stays the recorded one; the
    // second backup held only the first line's change and is gone.
    ExpectRecordedChange(before);
    EXPECT_FALSE(machine.WindowsFileExists("SYSTEM.B01"));
    EXPECT_EQ(machine.Get().backups.systemIni, "C:\\WINDOWS\\SYSTEM.B00");
}

TEST_F(SystemIniDevice, MissingSystemIniIsMadeWithoutBackup) {
    EXPECT_EQ(AddSystemIniDevice(machine.Get(), "X.386"), 1);
    char value[64] = {};
    machine.Get().platform.profile.GetPrivateProfileString("386Enh", "device", "", value,
                                                           sizeof value, "SYSTEM.INI");
    EXPECT_STREQ(value, "X.386");
    EXPECT_FALSE(machine.WindowsFileExists("SYSTEM.B00"));
    EXPECT_EQ(BackupRecord(), "none");
    EXPECT_FALSE(Changed());
}

TEST_F(SystemIniDevice, NoFreeBackupNameLeavesSystemIniAlone) {
    for (int i = 0; i < 100; ++i) {
        machine.WriteWindowsFile("SYSTEM.B" + std::string(i < 10 ? "0" : "") + std::to_string(i),
                                 "old " + std::to_string(i));
    }
    machine.WriteWindowsFile("SYSTEM.INI", "[386Enh]\r\nebios=*ebios\r\n");
    // The line is not added: the device is not installed.
    EXPECT_EQ(AddSystemIniDevice(machine.Get(), "X.386"), 0);
    EXPECT_EQ(SystemIni(), "[386Enh]\r\nebios=*ebios\r\n");
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM.B99"), "old 99");
    EXPECT_EQ(BackupRecord(), "none");
    EXPECT_FALSE(Changed());
}

TEST(InsertIniLine, SystemIniThatCannotBeReplacedStaysAsItWasWithoutBackup) {
    for (const char* machineIni :
         {"[InUse]\nC:\\WINDOWS\\SYSTEM.INI=1\n", "[Drive.C]\nReadOnly=1\n"}) {
        SCOPED_TRACE(machineIni);
        test::InstallerMachine machine(machineIni);
        machine.WriteWindowsFile("SYSTEM.INI", "[386Enh]\r\n");
        EXPECT_EQ(AddSystemIniDevice(machine.Get(), "X.386"), 0);
        EXPECT_EQ(machine.ReadWindowsFile("SYSTEM.INI"), "[386Enh]\r\n");
        EXPECT_FALSE(machine.WindowsFileExists("SYSTEM.INI.TMP"));
        EXPECT_FALSE(machine.WindowsFileExists("SYSTEM.B00"));
        EXPECT_EQ(machine.Get().changeBits, 0u);
    }
}

TEST(InsertIniLine, BackupThatCannotBeReadLeavesTheIniFileAsItWas) {
    // Missing, or a damaged compressed file that fails part-way through: nothing of it reaches
    // the INI file.
    const std::optional<std::string> backups[] = {std::nullopt, std::string("SZDD\x88\xF0\x27\x33"
                                                                            "A\0\xFF\xFF\0\0\xFF[",
                                                                            16)};
    for (const auto& backup : backups) {
        SCOPED_TRACE(backup ? "damaged" : "missing");
        test::InstallerMachine machine;
        machine.WriteWindowsFile("WIN.INI", "[windows]\r\n");
        if (backup)
            machine.WriteWindowsFile("WIN.B00", *backup);
        EXPECT_EQ(InsertIniLine(machine.Get(), "windows", "load", "X.EXE", "C:\\WINDOWS\\WIN.B00",
                                "C:\\WINDOWS\\WIN.INI"),
                  0);
        EXPECT_EQ(machine.ReadWindowsFile("WIN.INI"), "[windows]\r\n");
        EXPECT_FALSE(machine.WindowsFileExists("WIN.INI.TMP"));
        EXPECT_EQ(machine.Get().changeBits, 0u);
    }
}

} // namespace
} // namespace tl
