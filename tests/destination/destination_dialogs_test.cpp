#include "destination/drive_change_dialogs.h"
#include "destination/font_directory.h"
#include "destination/font_directory_dialog.h"
#include "destination_fixture.h"
#include "dialogs/dialog_utils.h"
#include "resources/string_table.h"

#include <functional>
#include <map>

namespace tl::test {
namespace {

class DestinationDialogsTest : public DestinationTest {
protected:
    INT_PTR Run(std::string_view templateName) {
        return RunScripted(templateName, templateName == "DIRECTORY" ? Direc_Set : Enough_Size);
    }
};

Step Type(std::string text) {
    return [text](ui::DialogDriver& dialog) { dialog.TypeText(kFontDirEditId, text); };
}
Step Key(UINT key) {
    return [key](ui::DialogDriver& dialog) { dialog.PressKey(key); };
}
Step Then(Step first, Step second) {
    return [first, second](ui::DialogDriver& dialog) {
        first(dialog);
        second(dialog);
    };
}

TEST_F(DestinationDialogsTest, DirectoryProposesFontsAndKeepsOnlyTheUnchangedProposal) {
    Open();
    installer->paths.fontDir = "E:\\OLD";
    Script("DIRECTORY", {Key(VK_RETURN)});
    EXPECT_EQ(Run("DIRECTORY"), 1);
    const ui::DialogRecord& first = Closed("DIRECTORY");
    EXPECT_EQ(first.opened.caption, Text(217));
    EXPECT_EQ(first.opened.Find(131)->text, Text(194));
    EXPECT_EQ(first.opened.Find(132)->text, Text(195));
    EXPECT_EQ(first.opened.Find(117)->text, "C:\\WINDOWS\\FONTS");
    EXPECT_EQ(first.opened.Find(1)->text, Text(186));
    EXPECT_EQ(first.opened.Find(118)->text, Text(187));
    const DestinationState& state = installer->destination;
    EXPECT_EQ(state.proposedFontDir, "C:\\WINDOWS\\FONTS");
    EXPECT_EQ(state.typedFontDir, "C:\\WINDOWS\\FONTS");
    EXPECT_TRUE(state.fontDirKept);
    EXPECT_EQ(installer->paths.fontDir, "C:\\WINDOWS\\FONTS");
    EXPECT_TRUE(folder.Exists("drive_c/WINDOWS/FONTS"));
    EXPECT_FALSE(installer->dialogUtils.hook);

    // The same directory named another way is not the proposal.
    Script("DIRECTORY", {Then(Type("\\windows\\fonts"), Press(IDOK))});
    EXPECT_EQ(Run("DIRECTORY"), 1);
    EXPECT_EQ(state.typedFontDir, "\\WINDOWS\\FONTS");
    EXPECT_EQ(installer->paths.fontDir, "C:\\WINDOWS\\FONTS");
    EXPECT_FALSE(state.fontDirKept);

    // A root Windows directory gets no second backslash.
    installer->paths.windowsDir = "C:\\";
    Script("DIRECTORY", {Key(VK_RETURN)});
    EXPECT_EQ(Run("DIRECTORY"), 1);
    EXPECT_EQ(Closed("DIRECTORY", 3).opened.Find(117)->text, "C:\\FONTS");
    EXPECT_TRUE(state.fontDirKept);
    EXPECT_TRUE(frontend.boxes.empty());
}

TEST_F(DestinationDialogsTest, DirectoryOffersOkOnlyWithTextAndStaysOnARefusal) {
    Open();
    bool emptyEnabled = true;
    bool emptyClicked = true;
    Script("DIRECTORY", {[&](ui::DialogDriver& dialog) {
                             dialog.TypeText(kFontDirEditId, "");
                             emptyEnabled = dialog.Snapshot().Find(IDOK)->enabled;
                             emptyClicked = dialog.Click(IDOK);
                             dialog.TypeText(kFontDirEditId, "Q:\\FONTS");
                             dialog.Click(IDOK);
                         },
                         Then(Type("d:\\ttf"), Press(IDOK))});
    EXPECT_EQ(Run("DIRECTORY"), 1);
    EXPECT_FALSE(emptyEnabled);
    EXPECT_FALSE(emptyClicked);
    ASSERT_EQ(frontend.boxes.size(), 1u);
    EXPECT_EQ(frontend.boxes[0].key, "151");
    EXPECT_EQ(installer->destination.typedFontDir, "D:\\TTF");
    EXPECT_FALSE(installer->destination.fontDirKept);
    EXPECT_TRUE(folder.Exists("drive_d/TTF"));
}

TEST_F(DestinationDialogsTest, DirectoryAsksBeforeCancellingByButtonF3OrEscape) {
    Open();
    installer->installationState =
        InstallationState::Installed; // after the driver: "end the installation?"
    frontend.boxAnswers = {IDNO, IDNO, IDYES};
    Script("DIRECTORY", {Press(118), Key(VK_F3), Key(VK_ESCAPE)});
    EXPECT_EQ(Run("DIRECTORY"), 0);
    ASSERT_EQ(frontend.boxes.size(), 3u);
    for (const ui::MessageBoxRequest& box : frontend.boxes) {
        EXPECT_EQ(box.key, "124");
        EXPECT_EQ(box.type, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    }
    EXPECT_FALSE(installer->dialogUtils.hook);
    EXPECT_FALSE(folder.Exists("drive_c/WINDOWS/FONTS"));
}

TEST_F(DestinationDialogsTest, NotEnoughSpaceOffersFewerFontsAnotherDriveOrLeaving) {
    Open();
    installer->paths.fontDir = "C:\\WINDOWS\\FONTS";
    Script("KEIKOKU", {Key(VK_RETURN)});
    EXPECT_EQ(Run("KEIKOKU"), kChangeFonts);
    const ui::DialogSnapshot& opened = Closed("KEIKOKU").opened;
    EXPECT_EQ(opened.caption, Text(161));
    for (int id = 140; id <= 144; ++id) {
        EXPECT_EQ(opened.Find(id)->text, Text(static_cast<unsigned>(id) + 64)) << id;
    }
    EXPECT_EQ(opened.Find(2)->text, Text(209));
    EXPECT_EQ(opened.Find(1)->text, Text(210));
    EXPECT_EQ(opened.Find(118)->text, Text(202));

    Script("KEIKOKU", {Key(VK_ESCAPE)});
    EXPECT_EQ(Run("KEIKOKU"), kChangeFonts);

    frontend.boxAnswers = {IDNO, IDYES};
    Script("KEIKOKU", {Press(118), Press(118)});
    EXPECT_EQ(Run("KEIKOKU"), 0);
    ASSERT_EQ(frontend.boxes.size(), 2u);
    EXPECT_EQ(frontend.boxes[1].key, "123");
}

TEST_F(DestinationDialogsTest, AnotherDriveIsStoredAsTheFontPath) {
    Open();
    installer->paths.fontDir = "C:\\WINDOWS\\FONTS";
    // CHANGE opens with the whole directory selected; Cancel there keeps KEIKOKU open.
    LRESULT selection = 0;
    Script("CHANGE", {[&](ui::DialogDriver& dialog) {
                          const WindowHandle edit = windows.GetFocus();
                          selection = windows.SendMessage(edit, EM_GETSEL, 0, 0);
                          dialog.Click(IDCANCEL);
                      },
                      Then(Type("d:\\fonts"), Press(IDOK))});
    Script("KEIKOKU", {Press(IDOK), Press(IDOK)});
    EXPECT_EQ(Run("KEIKOKU"), kNewFontDirectory);
    EXPECT_EQ(selection, static_cast<LRESULT>(MakeWParam(0, 16)));
    const ui::DialogRecord& change = Closed("CHANGE");
    EXPECT_EQ(change.opened.caption, Text(161));
    EXPECT_EQ(change.opened.Find(139)->text, Text(195));
    EXPECT_EQ(change.opened.Find(117)->text, "C:\\WINDOWS\\FONTS");
    EXPECT_EQ(change.opened.Find(1)->text, Text(186));
    EXPECT_EQ(change.opened.Find(2)->text, Text(187));
    EXPECT_EQ(change.result, 0);
    EXPECT_EQ(Closed("CHANGE", 2).result, 1);

    EXPECT_EQ(installer->paths.fontDir, "D:\\FONTS");
    char stored[64] = {};
    platform->profile.GetPrivateProfileString("Install", "FontPath", "", stored, sizeof stored,
                                              "tlsetup.ini");
    EXPECT_STREQ(stored, "D:\\FONTS");
    EXPECT_TRUE(frontend.boxes.empty());
}

} // namespace
} // namespace tl::test
