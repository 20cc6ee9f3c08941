// The language editions of the catalogue: which "Manufacturer" names stand for which language,
// and how the step offers them and uses the answer.
#include "driver_disk.h"
#include "sequencer/language_table.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

using test::SequencerMachine;
using test::WriteDriverDisk;
using Keys = std::vector<std::string>;

TEST(ManufacturerLanguage, TheFirstFourLettersAfterTheBracketNameTheLanguage) {
    EXPECT_EQ(ManufacturerLanguage("Telmora (deutsch)"), 2);
    EXPECT_EQ(ManufacturerLanguage("Telmora [DEUTSCHLAND"), 2);
    EXPECT_EQ(ManufacturerLanguage("English"), 0);
    EXPECT_EQ(ManufacturerLanguage("Telmora (Francais)"), 1); // "&Fran" ends at its NUL
    EXPECT_EQ(ManufacturerLanguage("(Norsk)"), 4);            // "Nors&k" without its "&"
    EXPECT_EQ(ManufacturerLanguage("Telmora (Spain)"), 8);
    // The text before the bracket does not count; without a bracket the whole name does.
    EXPECT_EQ(ManufacturerLanguage("Deutsch (Korea)"), std::nullopt);
    EXPECT_EQ(ManufacturerLanguage("Telmora Deutsch"), std::nullopt);
}

constexpr std::string_view kThreeEditions = "[Manufacturer]\n"
                                            "\"Telmora Korean\"=Models.KOR\n"
                                            "\"Telmora (English)\"=Models.ENU\n"
                                            "\"Telmora (Deutsch)\"=Models.DEU\n";

TEST(LanguageStep, OneEditionIsTakenWithoutAQuestion) {
    SequencerMachine machine;
    WriteDriverDisk(machine);
    machine.WriteWindowsFile("tlsetup.ini", "[Install]\nLanguage=2\n");
    ASSERT_TRUE(machine.Run());
    EXPECT_TRUE(machine.ModalDialogs().empty());
    EXPECT_EQ(machine.Get().language.manufacturerLine, 0);
    EXPECT_EQ(machine.Get().languageCode, "DEU");
    EXPECT_NE(machine.ReadWindowsFile("tlsetup.ini").find("Language=2"), std::string::npos);
}

// An invalid edition line and the choice among several are shown end to end by the scenarios.

TEST(LanguageStep, NoUsableEditionOrACancelFinishes) {
    struct Case {
        const char* name;
        std::string answers;
        std::string manufacturer;
        Keys keys;
    };
    const Case cases[] = {
        {"cancelled", "[CHOICE]\nPress=2\n", std::string(kThreeEditions), Keys{"Error"}},
        {"no edition known", "", "[Manufacturer]\n\"Telmora Korean\"=Models.ENU\nJapanese\n",
         Keys{"Error", "Error"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SequencerMachine machine(c.answers);
        WriteDriverDisk(machine, "", c.manufacturer);
        ASSERT_TRUE(machine.Run());
        EXPECT_EQ(machine.steps, (std::vector<UINT>{400, 404}));
        EXPECT_EQ(machine.BoxKeys(), c.keys);
        EXPECT_FALSE(machine.Get().scripts.Current());
    }
}

} // namespace
} // namespace tl
