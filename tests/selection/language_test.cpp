#include "selection/language.h"

#include "resources/string_table.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tl {
namespace {

constexpr int kEnglish = 0;
constexpr int kDeutsch = 2;
constexpr int kItaly = 7;

class LanguageTest : public ::testing::Test {
protected:
    // Table entries numbered by line unless given.
    void Table(std::vector<int> languages) {
        auto& table = machine.Get().language.table;
        table.clear();
        for (std::size_t i = 0; i < languages.size(); ++i)
            table.push_back({languages[i], static_cast<int>(i)});
    }

    // Runs the dialog; `pick` is the radio button to check before OK, or none to press Cancel.
    INT_PTR Run(std::optional<int> pick) {
        machine.Unscripted() = [pick](ui::DialogDriver& dialog, int) -> std::optional<std::string> {
            if (!pick) {
                dialog.Click(IDCANCEL);
                return std::nullopt;
            }
            EXPECT_TRUE(dialog.SetCheck(*pick, true));
            dialog.Click(IDOK);
            return std::nullopt;
        };
        return RunLanguageDialog(machine.Get(), WindowHandle{});
    }

    // The labels of the radio buttons at opening, and the checked one (of the last run).
    std::vector<std::string> Labels() {
        std::vector<std::string> labels;
        for (const auto& control : machine.Dialogs().at(0).opened.controls) {
            if (control.id >= kFirstChoiceButton)
                labels.push_back(control.text);
        }
        return labels;
    }
    int CheckedAtOpening() {
        for (const auto& control : machine.Dialogs().back().opened.controls) {
            if (control.id >= kFirstChoiceButton && control.checked)
                return control.id;
        }
        return -1;
    }

    test::InstallerHarness machine;
};

TEST_F(LanguageTest, EnglishMovesToTheFrontAndChoicesMapBack) {
    Table({kDeutsch, kEnglish, kItaly});
    EXPECT_EQ(Run(22), 1);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"&English", "&Deutsch", "&Italy"}));
    EXPECT_EQ(machine.Get().language.manufacturerLine, 2);
    EXPECT_EQ(machine.Get().languageIndex, kItaly);

    EXPECT_EQ(Run(21), 1);
    EXPECT_EQ(machine.Get().language.manufacturerLine, 0);
    EXPECT_EQ(machine.Get().languageIndex, kDeutsch);

    EXPECT_EQ(Run(20), 1);
    EXPECT_EQ(machine.Get().language.manufacturerLine, 1);
    EXPECT_EQ(machine.Get().languageIndex, kEnglish);
}

TEST_F(LanguageTest, SavedLanguageIsCheckedAtOpening) {
    Table({kDeutsch, kEnglish, kItaly});
    machine.Get().languageIndex = kItaly;
    EXPECT_EQ(Run(std::nullopt), 0);
    EXPECT_EQ(CheckedAtOpening(), 22);

    // Of two editions in the saved language, the later one is the default.
    Table({kItaly, kEnglish, kItaly});
    EXPECT_EQ(Run(std::nullopt), 0);
    EXPECT_EQ(CheckedAtOpening(), 22);
}

TEST_F(LanguageTest, TableWithoutEnglishIsShownAsItStands) {
    Table({4, kDeutsch, 1});
    machine.Get().languageIndex = 5; // not in the table: the first line is the default
    EXPECT_EQ(Run(22), 1);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Nors&k", "&Deutsch", "&Fran"}));
    EXPECT_EQ(machine.Get().language.manufacturerLine, 2);
    EXPECT_EQ(machine.Get().languageIndex, 1);
}

TEST_F(LanguageTest, TimerFiresOnceAfter800Milliseconds) {
    Table({kEnglish, kDeutsch});
    // Several looks at the dialog before the answer: a timer left running would fire again.
    machine.Unscripted() = [](ui::DialogDriver& dialog, int attempt) -> std::optional<std::string> {
        if (attempt >= 3)
            dialog.Click(IDOK);
        return std::nullopt;
    };
    EXPECT_EQ(RunLanguageDialog(machine.Get(), WindowHandle{}), 1);
    EXPECT_EQ(machine.Timers(),
              (std::vector<std::pair<UINT_PTR, std::uint64_t>>{{kLanguageTimer, 800}}));
}

TEST(LanguageNamesTest, NamesBlockStopsAtNineAndLabelsStopAtTheirNul) {
    std::vector<LanguageEntry> table;
    for (int k = 0; k < 10; ++k)
        table.push_back({k % 9, k});
    const std::string names = LanguageNames(table);
    EXPECT_EQ(std::count(names.begin(), names.end(), '\0'), 10);
    EXPECT_EQ(names.substr(0, 15), std::string("&English\0&Fran\0", 15));
    EXPECT_EQ(LanguageName(9), "");
    EXPECT_EQ(LanguageName(-1), "");
}

} // namespace
} // namespace tl
