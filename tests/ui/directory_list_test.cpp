// The hidden list of the font-source dialog tests a typed path by listing it (DlgDirList): DOS
// wildcards, a last name that is a pattern, and paths that list nothing.
#include "platform/host/machine_config.h"
#include "platform/host/ui/machine_directories.h"
#include "scripted_host.h"
#include "support/temp_machine.h"

namespace tl::test {
namespace {

TEST(MatchesPattern, DosWildcardsWithoutRegardToCase) {
    EXPECT_TRUE(host::MatchesPattern("TAG", "*.*"));
    EXPECT_TRUE(host::MatchesPattern("gulim.ttf", "G*.TTF"));
    EXPECT_TRUE(host::MatchesPattern("DISK1", "DISK?"));
    EXPECT_FALSE(host::MatchesPattern("DISK10", "DISK?"));
    EXPECT_FALSE(host::MatchesPattern("GULIM.FOT", "*.TTF"));
}

using DirList = ScriptedHost;

TEST_F(DirList, ListsAMachineDirectoryIntoAListAndMakesItCurrent) {
    TempMachine machine;
    machine.WriteFile("drive_c/FONTS/GULIM.TTF", "x");
    machine.WriteFile("drive_c/FONTS/TAG", "x");
    machine.MakeDirectory("drive_c/FONTS/OLD");
    auto config = host::LoadMachineConfig(machine.Root(), codePage);
    ASSERT_TRUE(config.config) << config.error;
    host::MachinePathResolver paths(*config.config, codePage);
    std::vector<std::string> seen; // result, spec left, static, current directory, list
    const DialogProc proc = [&](DialogWindow& dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        for (std::string spec :
             {"c:\\fonts", "C:\\FONTS\\*.TTF", "C:\\NOWHERE\\X", "Q:\\", "C:\\NOWHERE"}) {
            if (message != WM_INITDIALOG)
                break;
            const int listed = dialog.DirList(spec, 651, 652, DDL_DRIVES | DDL_DIRECTORY);
            seen.push_back(std::to_string(listed) + " " + spec + " " +
                           dialog.GetItemText(652, 256) + " " + paths.GetCurrentDirectory() + ":");
            for (int i = 0; i < dialog.ListCount(651); ++i)
                seen.back() += " " + dialog.ListText(651, i);
        }
        dialog.EndDialog(1);
        return TRUE;
    };
    EXPECT_EQ(system.DialogBox("SelectDrive", {}, proc, 0), 1); // without a lister, nothing
    EXPECT_EQ(seen.at(0), "0 c:\\fonts  A:\\:");
    seen.clear();
    system.SetDirectoryLister(host::MachineDirectoryLister(paths, *config.config, codePage));
    EXPECT_EQ(system.DialogBox("SelectDrive", {}, proc, 0), 1);
    // A last name that is no directory is a file pattern, as DlgDirList reads it.
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "1 *.* C:\\fonts C:\\fonts: GULIM.TTF TAG [OLD] [-c-]",
                        "1 *.TTF C:\\FONTS C:\\FONTS: GULIM.TTF [OLD] [-c-]",
                        "0 C:\\NOWHERE\\X C:\\FONTS C:\\FONTS: GULIM.TTF [OLD] [-c-]",
                        "0 Q:\\ C:\\FONTS C:\\FONTS: GULIM.TTF [OLD] [-c-]",
                        "1 NOWHERE C:\\ C:\\: [FONTS] [-c-]"}));
}

} // namespace
} // namespace tl::test
