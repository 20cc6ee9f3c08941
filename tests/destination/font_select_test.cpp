#include "destination/drive_change_dialogs.h"
#include "destination/font_select.h"
#include "destination_machine.h"
#include "resources/string_table.h"
#include "state/inf_scripts.h"

#include <deque>
#include <functional>

namespace tl::test {
namespace {

// Four fonts, one of them an empty item, and what they need.
constexpr const char* kInstallInf = "[TRUETYPEFONTS]\r\n"
                                    "FONTLIST=Gulim_Che,Batang,,Dotum\r\n"
                                    "[NEEDED.SPACE]\r\n"
                                    "Gulim_Che=120,2,15\r\n"
                                    "Batang=300,0\r\n"
                                    "Dotum=7,1\r\n";

class FontSelectTest : public DestinationTest {
protected:
    void OpenWith(const std::string& machineIni, const std::string& fontDir,
                  const std::string& inf = kInstallInf) {
        Open(machineIni);
        m->Folder().WriteFile("drive_c/INSTALL.INF", inf);
        ASSERT_EQ(LoadInf(m->Get().scripts, m->Ports().files, "C:\\INSTALL.INF").status,
                  InfLoadStatus::Loaded);
        m->Get().paths.fontDir = fontDir;
    }

    INT_PTR Run() { return m->RunDialog("FONT", FONT_Set); }

    // The texts of the controls `ids` in a snapshot.
    std::vector<std::string> Shown(const ui::DialogSnapshot& snapshot, std::vector<int> ids) {
        std::vector<std::string> texts;
        for (const int id : ids)
            texts.push_back(snapshot.Find(id) ? snapshot.Find(id)->text : "<none>");
        return texts;
    }
};

DialogStep Select(std::vector<int> indexes) {
    return [indexes](ui::DialogDriver& dialog) { dialog.SelectItems(kFontListId, indexes); };
}

TEST_F(FontSelectTest, TwoDrivesEachCheckedAgainstItsOwnTotal) {
    // D: is nearly full; C: has more than 4 GB free.
    OpenWith("[Drive.C]\nFreeBytes=5368709120\n[Drive.D]\nFreeBytes=999\n", "D:\\FONTS");
    // All fonts need 420 K on D: and do not fit: fewer fonts, then only those for Windows.
    m->Script("FONT", {Press(IDOK), Select({2, 3}), Press(IDOK)});
    m->Script("KEIKOKU", {Press(IDCANCEL)});
    EXPECT_EQ(Run(), 1);
    const ui::DialogRecord& font = m->Closed("FONT");
    // Drives, needed on each, free on each, units.
    EXPECT_EQ(
        Shown(font.opened, {127, 128, 112, 113, 125, 126, 129, 130}),
        (std::vector<std::string>{"D:", "C:[Windows]", "420", "22", "0", "5368709", "K", "K"}));
    EXPECT_EQ(Shown(font.closed, {112, 113}), (std::vector<std::string>{"0", "7"}));
    EXPECT_EQ(m->Closed("KEIKOKU").result, kChangeFonts);
    EXPECT_EQ(m->Get().fontSelection.selectedFonts, ",Dotum");
}

TEST_F(FontSelectTest, SharedDriveMustHoldBothTotalsOrKeikokuDecides) {
    // 430,000 bytes hold the 420 K for the font directory but not the 442 K of both.
    OpenWith("[Drive.C]\nFreeBytes=430000\n[Drive.D]\nFreeBytes=10000000\n", "C:\\WINDOWS\\FONTS");
    m->Script("FONT", {Press(IDOK)});
    m->Script("KEIKOKU", {Press(118)});
    m->BoxAnswers() = {IDYES};
    EXPECT_EQ(Run(), 0); // leaving from KEIKOKU ends the font dialog too
    EXPECT_EQ(m->Closed("KEIKOKU").result, 0);
    EXPECT_FALSE(m->Get().dialogUtils.hook);

    // Another drive: only the free figure is read again, and D: holds all.
    m->Script("FONT", {Press(IDOK)});
    m->Script("KEIKOKU", {Press(IDOK)});
    m->Script("CHANGE", {[](ui::DialogDriver& dialog) {
                  dialog.TypeText(117, "D:\\FONTS");
                  dialog.Click(IDOK);
              }});
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(m->Get().paths.fontDir, "D:\\FONTS");
    const ui::DialogRecord& font = m->Closed("FONT", 2);
    EXPECT_EQ(Shown(font.closed, {125, 127, 126, 112}),
              (std::vector<std::string>{"10000", "C:", "", "442"}));
}

TEST_F(FontSelectTest, NamesBeyondTheListLengthAreReportedNotCut) {
    // Nine names of 30 characters: eight fit in 255 with their commas, the ninth does not.
    std::string fonts;
    for (char c = 'A'; c <= 'I'; ++c) {
        fonts += (fonts.empty() ? "" : ",") + std::string(29, c) + "_";
    }
    OpenWith("", "C:\\WINDOWS\\FONTS",
             "[TRUETYPEFONTS]\r\nFONTLIST=" + fonts + "\r\n[NEEDED.SPACE]\r\n" +
                 std::string(29, 'I') + "_=5,0\r\n");
    m->Script("FONT", {Press(IDOK), Select({0, 8}), Press(IDOK)});
    EXPECT_EQ(Run(), 1);
    ASSERT_EQ(m->Boxes().size(), 1u);
    EXPECT_EQ(m->Boxes()[0].request.key, "Too many fonts are selected");
    EXPECT_NE(m->Boxes()[0].request.text.find(std::string(29, 'I') + " "), std::string::npos);
    EXPECT_EQ(m->Get().fontSelection.selectedFonts,
              std::string(29, 'A') + "_," + std::string(29, 'I') + "_");
}

TEST_F(FontSelectTest, UnreadableDriveAtOpeningLeavesOnlyExit) {
    OpenWith("[Drives]\nQ=\n", "Q:\\FONTS");
    bool continueEnabled = true;
    m->Script("FONT", {[&](ui::DialogDriver& dialog) {
                  continueEnabled = dialog.Snapshot().Find(IDOK)->enabled;
                  dialog.Click(118);
              }});
    m->BoxAnswers() = {IDOK, IDYES};
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(continueEnabled);
    EXPECT_TRUE(m->Closed("FONT").opened.Find(kFontListId)->items.empty());
    ASSERT_EQ(m->Boxes().size(), 2u);
    EXPECT_EQ(m->Boxes()[0].request.key, "151");
}

// F1 (the help button) shows the eight help texts whole in one box and the dialog stays open.
TEST_F(FontSelectTest, HelpShowsTheFontHelpTextsAndKeepsTheDialogOpen) {
    OpenWith("", "C:\\WINDOWS\\FONTS");
    m->Script("FONT", {Press(kHelpButtonId), Press(IDOK)});
    EXPECT_EQ(Run(), 1);
    ASSERT_EQ(m->Boxes().size(), 1u);
    const ui::MessageBoxRequest& help = m->Boxes()[0].request;
    EXPECT_TRUE(m->Utf8(help.text).starts_with("설치하고자 선택된 폰트는 반전으로 표시됩니다."));
    EXPECT_EQ(help.text, Text(115) + Text(116) + Text(117) + Text(118) + Text(119) + Text(120) +
                             Text(121) + Text(122));
    EXPECT_EQ(m->Utf8(help.caption), "드라이버 설치");
    EXPECT_EQ(help.type, MB_OK | MB_TASKMODAL);
    EXPECT_TRUE(help.owner && help.owner != owner); // the font dialog
}

TEST(SplitSpaceValueTest, SizePlaceAndSecondSize) {
    for (const auto& [value, parts] :
         {std::pair{"120,2,15", "120|2|15"}, {"300", "300||"}, {"1,2,3,4", "1|2|3,4"}}) {
        const SpaceValue split = SplitSpaceValue(value);
        EXPECT_EQ(split.size + "|" + split.place + "|" + split.secondSize, parts);
    }
}

} // namespace
} // namespace tl::test
