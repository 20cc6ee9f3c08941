#include "selection/language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tl {
namespace {

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

// Deutsch, English, Italy: English is offered first and the choices map back to the table.
TEST(LanguageOrder, EnglishMovesToTheFrontAndChoicesMapBack) {
    const int english = MovedEnglishPosition({{2, 0}, {0, 1}, {7, 2}});
    ASSERT_EQ(english, 1);
    const int entries[] = {1, 0, 2};
    for (int choice = 0; choice < 3; ++choice) {
        EXPECT_EQ(EntryOfChoice(choice, english), entries[choice]);
        EXPECT_EQ(ChoiceOfEntry(entries[choice], english), choice);
    }
    EXPECT_EQ(MovedEnglishPosition({{0, 0}, {2, 1}}), -1);
    EXPECT_EQ(MovedEnglishPosition({{4, 0}, {2, 1}}), -1); // no English: shown as it stands
    EXPECT_EQ(EntryOfChoice(2, -1), 2);
    EXPECT_EQ(ChoiceOfEntry(2, -1), 2);
}

} // namespace
} // namespace tl
