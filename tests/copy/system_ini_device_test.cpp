#include "copy/system_ini_device.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tl::test {
namespace {

// Adds X.386 to SYSTEM.INI holding `before` on a fresh PC; what SYSTEM.INI holds afterwards.
struct DeviceLine {
    InstallerHarness pc;
    explicit DeviceLine(const std::string& before, bool added = true) {
        pc.SetPaths();
        pc.WriteWindowsFile("SYSTEM.INI", before);
        EXPECT_EQ(AddSystemIniDevice(pc.Get(), "X.386"), added);
        EXPECT_FALSE(pc.WindowsFileExists("SYSTEM.INI.TMP"));
    }
    std::string SystemIni() const { return pc.ReadWindowsFile("SYSTEM.INI"); }
    bool Changed() { return (pc.Get().changeBits & kChangeSystemIni) != 0; }
};

// Each change is made with a backup that is recorded, and the change bit.
TEST(SystemIniDevice, LineGoesFirstInItsSectionWhichIsAppendedWhenMissing) {
    // Cut into 255-byte pieces, this line would show a "[386Enh]" header of its own.
    const std::string longLine = "comment=" + std::string(247, 'x') + "[386Enh]\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {"[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\nebios=*ebios\r\n[Other]\r\nA=0\r\n",
         "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\ndevice=X.386\r\nebios=*ebios\r\n"
         "[Other]\r\nA=0\r\n"},
        // Blanks around the equals sign make another line.
        {"[386Enh]\r\ndevice = X.386\r\n", "[386Enh]\r\ndevice=X.386\r\ndevice = X.386\r\n"},
        {"[boot]\r\nshell=Explorer.exe\r\n",
         "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\ndevice=X.386\r\n"},
        // A last line without line end is ended first, not run into.
        {"[boot]\r\nshell=Explorer.exe",
         "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\ndevice=X.386\r\n"},
        {"[boot]\r\n" + longLine + "[386Enh]\r\n" + longLine,
         "[boot]\r\n" + longLine + "[386Enh]\r\ndevice=X.386\r\n" + longLine},
        // The header as the last line gets the line and an empty line.
        {"[boot]\r\n[386Enh]\r\n", "[boot]\r\n[386Enh]\r\ndevice=X.386\r\n\r\n"},
        {"[boot]\r\n[386Enh]", "[boot]\r\n[386Enh]\r\ndevice=X.386\r\n\r\n"},
        // A header with blanks and in lower case names the section; a longer name is another.
        {"  [ 386enh ]  \r\nebios=*ebios\r\n",
         "  [ 386enh ]  \r\ndevice=X.386\r\nebios=*ebios\r\n"},
        {"[386Enh2]\r\n", "[386Enh2]\r\n[386Enh]\r\ndevice=X.386\r\n"},
    };
    for (const auto& [before, after] : cases) {
        SCOPED_TRACE(before.substr(0, 40));
        DeviceLine edit(before);
        EXPECT_EQ(edit.SystemIni(), after);
        EXPECT_EQ(edit.pc.ReadWindowsFile("SYSTEM.B00"), before);
        EXPECT_EQ(edit.pc.Setting("BFileSysIni"), "C:\\WINDOWS\\SYSTEM.B00");
        EXPECT_TRUE(edit.Changed());
    }
}

// Key and value compare without regard to case, the value's first word counting; a last line
// without line feed is compared like any other. Nothing changes, so no backup and no change bit.
TEST(SystemIniDevice, SameLineAlreadyThereBecomesAComment) {
    const std::pair<std::string, std::string> cases[] = {
        {"[386Enh]\r\nebios=*ebios\r\n  DEVICE=  x.386 ; parallel\r\n[boot]\r\n",
         "[386Enh]\r\ndevice=X.386\r\nebios=*ebios\r\n;  DEVICE=  x.386 ; parallel\r\n[boot]\r\n"},
        {"[386Enh]\r\ndevice=X.386", "[386Enh]\r\ndevice=X.386\r\n;device=X.386"},
    };
    for (const auto& [before, after] : cases) {
        DeviceLine edit(before);
        EXPECT_EQ(edit.SystemIni(), after);
        EXPECT_FALSE(edit.pc.WindowsFileExists("SYSTEM.B00"));
        EXPECT_EQ(edit.pc.Setting("BFileSysIni", "none"), "none");
        EXPECT_FALSE(edit.Changed());
    }
}

TEST(SystemIniDevice, MissingSystemIniIsMadeWithoutBackup) {
    InstallerHarness pc;
    pc.SetPaths();
    EXPECT_EQ(AddSystemIniDevice(pc.Get(), "X.386"), 1);
    EXPECT_EQ(pc.IniValue("SYSTEM.INI", "386Enh", "device"), "X.386");
    EXPECT_FALSE(pc.WindowsFileExists("SYSTEM.B00"));
    EXPECT_EQ(pc.Setting("BFileSysIni", "none"), "none");
    EXPECT_EQ(pc.Get().changeBits & kChangeSystemIni, 0u);
}

// No free backup name, SYSTEM.INI in use or on a read-only drive: the line is not added (the
// device is not installed) and nothing is left behind.
TEST(InsertIniLine, SystemIniThatCannotBeReplacedStaysAsItWasWithoutBackup) {
    for (const char* machineIni :
         {"", "[InUse]\nC:\\WINDOWS\\SYSTEM.INI=1\n", "[Drive.C]\nReadOnly=1\n"}) {
        SCOPED_TRACE(machineIni);
        InstallerHarness pc(HarnessOptions().Ini(machineIni));
        pc.SetPaths();
        pc.WriteWindowsFile("SYSTEM.INI", "[386Enh]\r\n");
        for (int i = 0; *machineIni == '\0' && i < 100; ++i)
            pc.WriteWindowsFile("SYSTEM.B" + std::to_string(100 + i).substr(1), "old");
        EXPECT_EQ(AddSystemIniDevice(pc.Get(), "X.386"), 0);
        EXPECT_EQ(pc.ReadWindowsFile("SYSTEM.INI"), "[386Enh]\r\n");
        EXPECT_FALSE(pc.WindowsFileExists("SYSTEM.INI.TMP"));
        EXPECT_EQ(pc.WindowsFileExists("SYSTEM.B00") ? pc.ReadWindowsFile("SYSTEM.B00") : "-",
                  *machineIni == '\0' ? "old" : "-");
        EXPECT_EQ(pc.Setting("BFileSysIni", "none"), "none");
        EXPECT_EQ(pc.Get().changeBits, 0u);
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
        InstallerHarness pc;
        pc.SetPaths();
        pc.WriteWindowsFile("WIN.INI", "[windows]\r\n");
        if (backup)
            pc.WriteWindowsFile("WIN.B00", *backup);
        EXPECT_EQ(InsertIniLine(pc.Get(), "windows", "load", "X.EXE", "C:\\WINDOWS\\WIN.B00",
                                "C:\\WINDOWS\\WIN.INI"),
                  0);
        EXPECT_EQ(pc.ReadWindowsFile("WIN.INI"), "[windows]\r\n");
        EXPECT_FALSE(pc.WindowsFileExists("WIN.INI.TMP"));
        EXPECT_EQ(pc.Get().changeBits, 0u);
    }
}

} // namespace
} // namespace tl::test
