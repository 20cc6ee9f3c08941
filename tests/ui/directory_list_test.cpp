#include "platform/host/iconv_code_page.h"
#include "platform/host/machine_config.h"
#include "platform/host/ui/host_window_system.h"
#include "platform/host/ui/machine_directories.h"
#include "scripted_frontend.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

TEST(MatchesPattern, DosWildcardsWithoutRegardToCase) {
    EXPECT_TRUE(host::MatchesPattern("GULIM.TTF", "*.*"));
    EXPECT_TRUE(host::MatchesPattern("TAG", "*.*"));
    EXPECT_TRUE(host::MatchesPattern("gulim.ttf", "G*.TTF"));
    EXPECT_TRUE(host::MatchesPattern("DISK1", "DISK?"));
    EXPECT_FALSE(host::MatchesPattern("DISK10", "DISK?"));
    EXPECT_FALSE(host::MatchesPattern("GULIM.FOT", "*.TTF"));
}

// The hidden list of the font-source dialog tests a typed path by listing it.
TEST(DirList, ListsAMachineDirectoryIntoAListAndMakesItCurrent) {
    test::TempMachine machine;
    machine.WriteFile("drive_c/FONTS/GULIM.TTF", "x");
    machine.WriteFile("drive_c/FONTS/TAG", "x");
    machine.MakeDirectory("drive_c/FONTS/OLD");
    host::IconvCodePage codePage;
    auto config = host::LoadMachineConfig(machine.Root(), codePage);
    ASSERT_TRUE(config.config) << config.error;
    host::MachinePathResolver paths(*config.config, codePage);

    test::ScriptedFrontend frontend;
    host::HostWindowSystem system{frontend, codePage};
    system.SetObserver(&frontend);
    std::vector<int> results;
    std::vector<std::string> specs;
    DialogProc proc = [&](DialogWindow& dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message != WM_INITDIALOG)
            return FALSE;
        for (const char* typed :
             {"c:\\fonts", "C:\\FONTS\\*.TTF", "C:\\NOWHERE\\X", "Q:\\", "C:\\NOWHERE"}) {
            std::string spec = typed;
            results.push_back(dialog.DirList(spec, 651, 652, DDL_DRIVES | DDL_DIRECTORY));
            specs.push_back(spec);
            if (results.size() == 1 && results.back() == 1) {
                EXPECT_EQ(dialog.GetItemText(652, 256), "C:\\fonts");
                EXPECT_EQ(paths.GetCurrentDirectory(), "C:\\fonts");
                std::vector<std::string> items;
                for (int i = 0; i < dialog.ListCount(651); ++i)
                    items.push_back(dialog.ListText(651, i));
                EXPECT_EQ(items, (std::vector<std::string>{"GULIM.TTF", "TAG", "[OLD]", "[-c-]"}));
            }
            if (results.size() == 2 && results.back() == 1) {
                EXPECT_EQ(dialog.ListCount(651), 3);
            }
        }
        dialog.EndDialog(1);
        return TRUE;
    };
    EXPECT_EQ(system.DialogBox("SelectDrive", {}, proc, 0), 1); // without a lister, nothing
    EXPECT_EQ(results, (std::vector<int>{0, 0, 0, 0, 0}));

    system.SetDirectoryLister(host::MachineDirectoryLister(paths, *config.config, codePage));
    results.clear();
    specs.clear();
    EXPECT_EQ(system.DialogBox("SelectDrive", {}, proc, 0), 1);
    // A last name that is no directory is a file pattern, as DlgDirList reads it.
    EXPECT_EQ(results, (std::vector<int>{1, 1, 0, 0, 1}));
    EXPECT_EQ(specs[1], "*.TTF");
    EXPECT_EQ(specs[4], "NOWHERE");
}

} // namespace
} // namespace tl
