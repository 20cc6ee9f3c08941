#include "copy/safe_replace.h"
#include "copy/system_ini_device.h"
#include "support/installer_harness.h"
#include "windows95_moves.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tl::test {
namespace {

// The old text is always under SYSTEM.INI or else under an aside name no file had.
TEST(SafeReplace, OnWindows95NoMoveThatFailsLosesAFile) {
    const struct {
        const char* name;
        std::set<int> failingRenames; // 1: old aside, 2: new in, 3: old back
        ReplaceOutcome outcome;
        const char* files; // SYSTEM.INI, SYSTEM.INI.TMP, SYSTEM.INI.~00, SYSTEM.INI.~01; - gone
    } cases[] = {
        {"all moves work", {}, ReplaceOutcome::Replaced, "new|-|-|-|"},
        {"moving the old file aside fails", {1}, ReplaceOutcome::NotReplaced, "old|new|-|-|"},
        {"moving the new file in fails", {2}, ReplaceOutcome::NotReplaced, "old|new|-|-|"},
        {"moving the old file back fails too", {2, 3}, ReplaceOutcome::OldSetAside, "-|new|old|-|"},
        // AsideNameIsOneNoFileHas
        {"SYSTEM.INI.~00 is taken", {}, ReplaceOutcome::Replaced, "new|-|someone's|-|"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InstallerHarness pc;
        pc.WriteWindowsFile("SYSTEM.INI", "old");
        pc.WriteWindowsFile("SYSTEM.INI.TMP", "new");
        if (std::string(c.files).find("someone's") != std::string::npos)
            pc.WriteWindowsFile("SYSTEM.INI.~00", "someone's");
        Windows95Moves files(pc.Ports().files, c.failingRenames);
        EXPECT_EQ(SafeReplace(WithFiles(pc.Ports(), files), "C:\\WINDOWS\\SYSTEM.INI.TMP",
                              "C:\\WINDOWS\\SYSTEM.INI"),
                  c.outcome);
        std::string found;
        for (const char* name :
             {"SYSTEM.INI", "SYSTEM.INI.TMP", "SYSTEM.INI.~00", "SYSTEM.INI.~01"})
            found += (pc.WindowsFileExists(name) ? pc.ReadWindowsFile(name) : "-") + "|";
        EXPECT_EQ(found, c.files);
    }
}

// When the replacement cannot be completed, SYSTEM.INI or its backup stays and the run fails.
TEST(SafeReplace, SystemIniDeviceLineOnWindows95) {
    const struct {
        std::set<int> failing;
        const char* systemIni;
        bool backupKept;
    } cases[] = {
        {{}, "[386Enh]\r\ndevice=X.386\r\nebios=*ebios\r\n", true},
        {{2}, "[386Enh]\r\nebios=*ebios\r\n", false},
        {{2, 3}, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing.size());
        InstallerHarness pc;
        pc.SetPaths();
        pc.WriteWindowsFile("SYSTEM.INI", "[386Enh]\r\nebios=*ebios\r\n");
        Windows95Moves files(pc.Ports().files, c.failing);
        Platform platform = WithFiles(pc.Ports(), files);
        Installer installer(platform, pc.Windows());
        installer.paths = pc.Get().paths;
        EXPECT_EQ(AddSystemIniDevice(installer, "X.386"), c.failing.empty());
        EXPECT_EQ(pc.ReadWindowsFile("SYSTEM.INI"), c.systemIni);
        EXPECT_EQ(pc.WindowsFileExists("SYSTEM.B00") ? pc.ReadWindowsFile("SYSTEM.B00") : "-",
                  c.backupKept ? "[386Enh]\r\nebios=*ebios\r\n" : "-");
        EXPECT_FALSE(pc.WindowsFileExists("SYSTEM.INI.TMP"));
    }
}

} // namespace
} // namespace tl::test
