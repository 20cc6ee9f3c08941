#include "copy/safe_replace.h"

#include "copy/system_ini_device.h"
#include "installer_machine.h"
#include "platform/profile.h"
#include "windows95_moves.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace tl {
namespace {

struct StubCase {
    const char* name;
    std::set<int> failingRenames; // 1: old aside, 2: new in, 3: old back
    ReplaceOutcome outcome;
    const char* underTarget; // what SYSTEM.INI holds afterwards
    const char* underTemp;   // what SYSTEM.INI.TMP holds ("" when gone)
    const char* underAside;  // what SYSTEM.INI.~00 holds ("" when gone)
};

// No case loses a file: the old text is always under SYSTEM.INI or, when it could not be put
// back, under the aside name.
TEST(SafeReplace, OnWindows95NoMoveThatFailsLosesAFile) {
    const StubCase cases[] = {
        {"all moves work", {}, ReplaceOutcome::Replaced, "new", "", ""},
        {"moving the old file aside fails", {1}, ReplaceOutcome::NotReplaced, "old", "new", ""},
        {"moving the new file in fails", {2}, ReplaceOutcome::NotReplaced, "old", "new", ""},
        {"moving the old file back fails too",
         {2, 3},
         ReplaceOutcome::OldSetAside,
         "",
         "new",
         "old"},
    };
    for (const StubCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::InstallerMachine machine;
        machine.WriteWindowsFile("SYSTEM.INI", "old");
        machine.WriteWindowsFile("SYSTEM.INI.TMP", "new");
        const Platform& host = machine.Get().platform;
        test::Windows95Moves files(host.files, c.failingRenames);
        const Platform platform = test::WithFiles(host, files);

        EXPECT_EQ(SafeReplace(platform, "C:\\WINDOWS\\SYSTEM.INI.TMP", "C:\\WINDOWS\\SYSTEM.INI"),
                  c.outcome);
        EXPECT_EQ(machine.ReadWindowsFile("SYSTEM.INI"), c.underTarget);
        EXPECT_EQ(machine.ReadWindowsFile("SYSTEM.INI.TMP"), c.underTemp);
        EXPECT_EQ(machine.ReadWindowsFile("SYSTEM.INI.~00"), c.underAside);
        EXPECT_EQ(machine.WindowsFileExists("SYSTEM.INI.TMP"), *c.underTemp != '\0');
        EXPECT_EQ(machine.WindowsFileExists("SYSTEM.INI.~00"), *c.underAside != '\0');
    }
}

TEST(SafeReplace, AsideNameIsOneNoFileHas) {
    test::InstallerMachine machine;
    machine.WriteWindowsFile("SYSTEM.INI", "old");
    machine.WriteWindowsFile("SYSTEM.INI.TMP", "new");
    machine.WriteWindowsFile("SYSTEM.INI.~00", "someone's file");
    const Platform& host = machine.Get().platform;
    test::Windows95Moves files(host.files, {});
    EXPECT_EQ(SafeReplace(test::WithFiles(host, files), "C:\\WINDOWS\\SYSTEM.INI.TMP",
                          "C:\\WINDOWS\\SYSTEM.INI"),
              ReplaceOutcome::Replaced);
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM.INI"), "new");
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM.INI.~00"), "someone's file");
    EXPECT_FALSE(machine.WindowsFileExists("SYSTEM.INI.~01"));
}

TEST(SafeReplace, OtherFailuresAreNotWorkedAround) {
    // A file another program holds is not renamed away under it.
    test::InstallerMachine machine("[InUse]\nC:\\WINDOWS\\SYSTEM.INI=1\n");
    machine.WriteWindowsFile("SYSTEM.INI", "old");
    machine.WriteWindowsFile("SYSTEM.INI.TMP", "new");
    EXPECT_EQ(SafeReplace(machine.Get().platform, "C:\\WINDOWS\\SYSTEM.INI.TMP",
                          "C:\\WINDOWS\\SYSTEM.INI"),
              ReplaceOutcome::NotReplaced);
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM.INI"), "old");
    EXPECT_FALSE(machine.WindowsFileExists("SYSTEM.INI.~00"));
}

// The device line of a driver reaches SYSTEM.INI on Windows 95 too; when its replacement
// cannot be completed, SYSTEM.INI or its backup stays.
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
        test::InstallerMachine machine;
        machine.WriteWindowsFile("SYSTEM.INI", "[386Enh]\r\nebios=*ebios\r\n");
        const Platform& host = machine.Get().platform;
        test::Windows95Moves files(host.files, c.failing);
        Platform platform = test::WithFiles(host, files);
        Installer installer(platform, machine.Get().windows);
        installer.paths = machine.Get().paths;

        // A line that did not reach SYSTEM.INI is a failure of the run.
        EXPECT_EQ(AddSystemIniDevice(installer, "X.386"), c.failing.empty() ? 1 : 0);
        EXPECT_EQ(machine.ReadWindowsFile("SYSTEM.INI"), c.systemIni);
        EXPECT_EQ(machine.WindowsFileExists("SYSTEM.B00"), c.backupKept);
        if (c.backupKept) {
            EXPECT_EQ(machine.ReadWindowsFile("SYSTEM.B00"), "[386Enh]\r\nebios=*ebios\r\n");
        }
        EXPECT_FALSE(machine.WindowsFileExists("SYSTEM.INI.TMP"));
    }
}

} // namespace
} // namespace tl
