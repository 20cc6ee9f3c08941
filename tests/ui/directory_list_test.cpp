// The hidden list of the font-source dialog tests a typed path by listing it (DlgDirList).
#include "platform/host/machine_config.h"
#include "platform/host/ui/machine_directories.h"
#include "scripted_host.h"
#include "support/temp_machine.h"

namespace tl::test {
namespace {

TEST(MatchesPattern, DosWildcardsWithoutRegardToCase) {
    EXPECT_TRUE(host::MatchesPattern("GULIM.TTF", "*.*"));
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

    std::vector<int> results;
    std::vector<std::string> specs;
    std::vector<std::string> items;
    const DialogProc proc = [&](DialogWindow& dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message != WM_INITDIALOG)
            return FALSE;
        for (std::string spec :
             {"c:\\fonts", "C:\\FONTS\\*.TTF", "C:\\NOWHERE\\X", "Q:\\", "C:\\NOWHERE"}) {
            results.push_back(dialog.DirList(spec, 651, 652, DDL_DRIVES | DDL_DIRECTORY));
            specs.push_back(spec);
            items.push_back(dialog.GetItemText(652, 256) + " in " + paths.GetCurrentDirectory() +
                            ":");
            for (int i = 0; i < dialog.ListCount(651); ++i)
                items.back() += " " + dialog.ListText(651, i);
        }
        dialog.EndDialog(1);
        return TRUE;
    };
    EXPECT_EQ(system.DialogBox("SelectDrive", {}, proc, 0), 1); // without a lister, nothing
    EXPECT_EQ(results, (std::vector<int>{0, 0, 0, 0, 0}));

    system.SetDirectoryLister(host::MachineDirectoryLister(paths, *config.config, codePage));
    results.clear();
    specs.clear();
    items.clear();
    EXPECT_EQ(system.DialogBox("SelectDrive", {}, proc, 0), 1);
    // A last name that is no directory is a file pattern, as DlgDirList reads it.
    EXPECT_EQ(results, (std::vector<int>{1, 1, 0, 0, 1}));
    EXPECT_EQ(specs[1], "*.TTF");
    EXPECT_EQ(specs[4], "NOWHERE");
    EXPECT_EQ(items[0], "C:\\fonts in C:\\fonts: GULIM.TTF TAG [OLD] [-c-]");
    EXPECT_EQ(items[1], "C:\\FONTS in C:\\FONTS: GULIM.TTF [OLD] [-c-]");
}

} // namespace
} // namespace tl::test
