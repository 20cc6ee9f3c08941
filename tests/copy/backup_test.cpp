#include "copy/backup.h"
#include "platform/host/szdd_compressor.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

#include <string>

namespace tl::test {
namespace {

// The first free number in any case; a compressed file is backed up expanded; a damaged, missing
// or extensionless one gets none (the free name is still given); all hundred taken: none.
TEST(BackupFile, TakesTheFirstFreeNumberAndLeavesNoPartialBackup) {
    InstallerHarness pc;
    const std::string text = "[boot]\r\n\x1A" + std::string(5000, 'x');
    const std::vector<BYTE> packed =
        host::CompressSzdd(std::span(reinterpret_cast<const BYTE*>(text.data()), text.size()));
    pc.WriteWindowsFile("SYSTEM.INI", text);
    pc.WriteWindowsFile("system.b01", "taken");
    pc.WriteWindowsFile("LPT.VXD", std::string(packed.begin(), packed.end()));
    pc.WriteWindowsFile("BAD.DRV", std::string(packed.begin(), packed.begin() + 20));
    pc.WriteWindowsFile("NODOT", "data");
    const struct {
        const char* file;
        bool made;
        const char* backup;
    } cases[] = {{"SYSTEM.INI", true, "SYSTEM.B00"}, {"SYSTEM.INI", true, "SYSTEM.B02"},
                 {"LPT.VXD", true, "LPT.B00"},       {"BAD.DRV", false, "BAD.B00"},
                 {"NEW.386", false, "NEW.B00"},      {"NODOT", false, "NODOT"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.backup);
        std::string backup;
        EXPECT_EQ(BackupFile(pc.Get(), std::string("C:\\WINDOWS\\") + c.file, backup), c.made);
        EXPECT_EQ(backup, std::string("C:\\WINDOWS\\") + c.backup);
        EXPECT_EQ(pc.WindowsFileExists(c.backup) ? pc.ReadWindowsFile(c.backup) : "-",
                  c.made                             ? text
                  : c.backup == std::string("NODOT") ? "data"
                                                     : "-");
    }
    EXPECT_EQ(pc.ReadWindowsFile("system.b01"), "taken");
    for (int i = 0; i < 100; ++i)
        pc.WriteWindowsFile("SYSTEM.B" + std::to_string(100 + i).substr(1), std::to_string(i));
    std::string backup;
    EXPECT_EQ(BackupFile(pc.Get(), "C:\\WINDOWS\\SYSTEM.INI", backup), 0);
    EXPECT_EQ(backup, "");
    EXPECT_EQ(pc.ReadWindowsFile("SYSTEM.B99") + pc.ReadWindowsFile("SYSTEM.B00"), "990");
}

TEST(MakeBackupName, DotsOfTheWindowsDirectoryAndOddExtensions) {
    InstallerHarness pc(HarnessOptions().Folder("drive_c/WIN.95"));
    pc.Get().paths.windowsDir = "C:\\WIN.95";
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\WIN.95\\SYSTEM.INI", "C:\\WIN.95\\SYSTEM.B00"},
        {"C:\\WIN.95\\README", ""},                   // no extension: no backup name
        {"C:\\WIN.95\\A.I", "C:\\WIN.95\\A.B00"},     // a shorter extension is lengthened
        {"C:\\WIN.95\\A.HTML", "C:\\WIN.95\\A.B00L"}, // a longer one keeps its tail
    };
    for (const auto& [file, expected] : cases) {
        std::string backup;
        EXPECT_EQ(MakeBackupName(pc.Get(), file, backup), *expected != '\0') << file;
        EXPECT_EQ(backup, *expected != '\0' ? expected : file);
    }
}

} // namespace
} // namespace tl::test
