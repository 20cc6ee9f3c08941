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

// Cancelling the choice is shown end to end by the cancel scenarios.
TEST(LanguageStep, NoKnownEditionFinishes) {
    SequencerMachine machine;
    WriteDriverDisk(machine, "", "[Manufacturer]\n\"Telmora Korean\"=Models.ENU\nJapanese\n");
    ASSERT_TRUE(machine.Run());
    EXPECT_EQ(machine.steps, (std::vector<UINT>{400, 404}));
    EXPECT_EQ(machine.BoxKeys(), (Keys{"Error", "Error"}));
    EXPECT_FALSE(machine.Get().scripts.Current());
}

} // namespace
} // namespace tl
