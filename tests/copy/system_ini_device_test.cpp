#include "copy/system_ini_device.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tl::test {
namespace {

// A change has a recorded backup and the change bit; the same line already there (key and the
// value's first word, in any case) becomes a comment, without either; as does a new SYSTEM.INI.
TEST(SystemIniDevice, LineGoesFirstInItsSectionOrItsCopyBecomesAComment) {
    // Cut into 255-byte pieces, this line would show a "[386Enh]" header of its own.
    const std::string longLine = "comment=" + std::string(247, 'x') + "[386Enh]\r\n";
    const std::string added = "[386Enh]\r\ndevice=X.386\r\n";
    const struct {
        std::optional<std::string> before;
        std::string after;
        bool changed;
    } cases[] = {
        {"[boot]\r\n[386Enh]\r\nebios=*ebios\r\n[Other]\r\nA=0\r\n",
         "[boot]\r\n" + added + "ebios=*ebios\r\n[Other]\r\nA=0\r\n", true},
        // Blanks around the equals sign make another line.
        {"[386Enh]\r\ndevice = X.386\r\n", added + "device = X.386\r\n", true},
        {"[boot]\r\n", "[boot]\r\n" + added, true},
        {"[boot]", "[boot]\r\n" + added, true}, // a last line is ended, not run into
        {"[boot]\r\n" + longLine + "[386Enh]\r\n" + longLine,
         "[boot]\r\n" + longLine + added + longLine, true},
        // The header as the last line gets the line and an empty line.
        {"[boot]\r\n[386Enh]\r\n", "[boot]\r\n" + added + "\r\n", true},
        {"[boot]\r\n[386Enh]", "[boot]\r\n" + added + "\r\n", true},
        // A header with blanks and in lower case names the section; a longer name is another.
        {"  [ 386enh ]  \r\nebios=*ebios\r\n", "  [ 386enh ]  \r\ndevice=X.386\r\nebios=*ebios\r\n",
         true},
        {"[386Enh2]\r\n", "[386Enh2]\r\n" + added, true},
        {"[386Enh]\r\nebios=*ebios\r\n  DEVICE=  x.386 ; parallel\r\n[boot]\r\n",
         added + "ebios=*ebios\r\n;  DEVICE=  x.386 ; parallel\r\n[boot]\r\n", false},
        {"[386Enh]\r\ndevice=X.386", added + ";device=X.386", false},
        {std::nullopt, added, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before.value_or("none").substr(0, 40));
        InstallerHarness pc;
        pc.SetPaths();
        if (c.before)
            pc.WriteWindowsFile("SYSTEM.INI", *c.before);
        EXPECT_EQ(AddSystemIniDevice(pc.Get(), "X.386"), 1);
        EXPECT_EQ(pc.ReadWindowsFile("SYSTEM.INI"), c.after);
        EXPECT_FALSE(pc.WindowsFileExists("SYSTEM.INI.TMP"));
        EXPECT_EQ(pc.WindowsFileExists("SYSTEM.B00") ? pc.ReadWindowsFile("SYSTEM.B00") : "-",
                  c.changed ? *c.before : "-");
        EXPECT_EQ(pc.Setting("BFileSysIni", "-"), c.changed ? "C:\\WINDOWS\\SYSTEM.B00" : "-");
        EXPECT_EQ((pc.Get().changeBits & kChangeSystemIni) != 0, c.changed);
    }
}

// No free backup name, SYSTEM.INI in use or on a read-only drive: nothing changes.
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
        EXPECT_FALSE(pc.WindowsFileExists("SYSTEM.INI.TMP") ||
                     pc.WindowsFileExists("SYSTEM.INI.~00"));
        EXPECT_EQ(pc.WindowsFileExists("SYSTEM.B00") ? pc.ReadWindowsFile("SYSTEM.B00") : "-",
                  *machineIni == '\0' ? "old" : "-");
        EXPECT_EQ(pc.Setting("BFileSysIni", "none"), "none");
        EXPECT_EQ(pc.Get().changeBits, 0u);
    }
}

TEST(InsertIniLine, BackupThatCannotBeReadLeavesTheIniFileAsItWas) {
    // Missing, or a damaged compressed file that fails part-way through.
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
