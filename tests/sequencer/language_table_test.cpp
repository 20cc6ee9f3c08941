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

TEST(LanguageStep, AnInvalidLineIsReportedAndTheChoiceNamesItsOwnLine) {
    // English comes first among the choices; the second choice is Deutsch.
    SequencerMachine machine("[CHOICE]\n21=1\nPress=1\n");
    WriteDriverDisk(machine, "", kThreeEditions);
    ASSERT_TRUE(machine.Run());
    EXPECT_FALSE(machine.StopReason());
    ASSERT_FALSE(machine.Boxes().empty());
    const ui::MessageBoxRequest& invalid = machine.Boxes()[0].request;
    EXPECT_EQ(invalid.key, "Error");
    EXPECT_EQ(invalid.text,
              "oem.inf\n section [Manufacturer]\n Entry ' Telmora Korean ' is invalid");
    EXPECT_EQ(invalid.caption, "Error");
    EXPECT_EQ(invalid.type, static_cast<UINT>(MB_OK));
    EXPECT_FALSE(invalid.owner);

    ASSERT_EQ(machine.ModalDialogs().front(), "CHOICE");
    const ui::DialogRecord& choice = machine.Dialogs().front();
    const ui::ControlSnapshot* first = choice.opened.Find(20);
    const ui::ControlSnapshot* second = choice.opened.Find(21);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->text, "&English");
    EXPECT_EQ(second->text, "&Deutsch");

    Installer& installer = machine.Get();
    EXPECT_EQ(installer.language.manufacturerLine, 2);
    EXPECT_EQ(installer.languageIndex, 2);
    EXPECT_EQ(installer.languageCode, "DEU");
    EXPECT_NE(machine.ReadWindowsFile("tlsetup.ini").find("Language=2"), std::string::npos);
    // The Deutsch line's model list was read: the driver was registered under its model name.
    EXPECT_NE(machine.Folder().ReadFile("registry.reg").find("Telmora 600 D"), std::string::npos);
}

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
