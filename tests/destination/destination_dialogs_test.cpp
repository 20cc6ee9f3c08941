#include "destination/drive_change_dialogs.h"
#include "destination/font_directory.h"
#include "destination/font_directory_dialog.h"
#include "destination_machine.h"
#include "dialogs/dialog_utils.h"
#include "resources/string_table.h"

#include <functional>
#include <map>

namespace tl::test {
namespace {

class DestinationDialogsTest : public DestinationTest {
protected:
    INT_PTR Run(std::string_view templateName) {
        return m->RunDialog(templateName, templateName == "DIRECTORY" ? Direc_Set : Enough_Size);
    }
};

DialogStep Type(std::string text) {
    return [text](ui::DialogDriver& dialog) { dialog.TypeText(kFontDirEditId, text); };
}
DialogStep Key(UINT key) {
    return [key](ui::DialogDriver& dialog) { dialog.PressKey(key); };
}
DialogStep Then(DialogStep first, DialogStep second) {
    return [first, second](ui::DialogDriver& dialog) {
        first(dialog);
        second(dialog);
    };
}

TEST_F(DestinationDialogsTest, DirectoryProposesFontsAndKeepsOnlyTheUnchangedProposal) {
    Open();
    m->Get().paths.fontDir = "E:\\OLD";
    m->Script("DIRECTORY", {Key(VK_RETURN)});
    EXPECT_EQ(Run("DIRECTORY"), 1);
    const ui::DialogRecord& first = m->Closed("DIRECTORY");
    EXPECT_EQ(first.opened.Find(117)->text, "C:\\WINDOWS\\FONTS");
    const DestinationState& state = m->Get().destination;
    EXPECT_EQ(state.proposedFontDir, "C:\\WINDOWS\\FONTS");
    EXPECT_EQ(state.typedFontDir, "C:\\WINDOWS\\FONTS");
    EXPECT_TRUE(state.fontDirKept);
    EXPECT_EQ(m->Get().paths.fontDir, "C:\\WINDOWS\\FONTS");
    EXPECT_TRUE(m->Folder().Exists("drive_c/WINDOWS/FONTS"));
    EXPECT_FALSE(m->Get().dialogUtils.hook);

    // The same directory named another way is not the proposal.
    m->Script("DIRECTORY", {Then(Type("\\windows\\fonts"), Press(IDOK))});
    EXPECT_EQ(Run("DIRECTORY"), 1);
    EXPECT_EQ(state.typedFontDir, "\\WINDOWS\\FONTS");
    EXPECT_EQ(m->Get().paths.fontDir, "C:\\WINDOWS\\FONTS");
    EXPECT_FALSE(state.fontDirKept);

    // A root Windows directory gets no second backslash.
    m->Get().paths.windowsDir = "C:\\";
    m->Script("DIRECTORY", {Key(VK_RETURN)});
    EXPECT_EQ(Run("DIRECTORY"), 1);
    EXPECT_EQ(m->Closed("DIRECTORY", 3).opened.Find(117)->text, "C:\\FONTS");
    EXPECT_TRUE(state.fontDirKept);
    EXPECT_TRUE(m->Boxes().empty());
}

TEST_F(DestinationDialogsTest, DirectoryOffersOkOnlyWithTextAndStaysOnARefusal) {
    Open();
    bool emptyEnabled = true;
    bool emptyClicked = true;
    m->Script("DIRECTORY", {[&](ui::DialogDriver& dialog) {
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
    ASSERT_EQ(m->Boxes().size(), 1u);
    EXPECT_EQ(m->Boxes()[0].request.key, "151");
    EXPECT_EQ(m->Get().destination.typedFontDir, "D:\\TTF");
    EXPECT_FALSE(m->Get().destination.fontDirKept);
    EXPECT_TRUE(m->Folder().Exists("drive_d/TTF"));
}

TEST_F(DestinationDialogsTest, DirectoryAsksBeforeCancellingByButtonF3OrEscape) {
    Open();
    m->Get().installationState =
        InstallationState::Installed; // after the driver: "end the installation?"
    m->BoxAnswers() = {IDNO, IDNO, IDYES};
    m->Script("DIRECTORY", {Press(118), Key(VK_F3), Key(VK_ESCAPE)});
    EXPECT_EQ(Run("DIRECTORY"), 0);
    ASSERT_EQ(m->Boxes().size(), 3u);
    for (const ShownBox& shown : m->Boxes()) {
        const ui::MessageBoxRequest& box = shown.request;
        EXPECT_EQ(box.key, "124");
        EXPECT_EQ(box.type, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    }
    EXPECT_FALSE(m->Get().dialogUtils.hook);
    EXPECT_FALSE(m->Folder().Exists("drive_c/WINDOWS/FONTS"));
}

TEST_F(DestinationDialogsTest, NotEnoughSpaceOffersFewerFontsByReturnOrEscape) {
    Open();
    m->Get().paths.fontDir = "C:\\WINDOWS\\FONTS";
    m->Script("KEIKOKU", {Key(VK_RETURN)});
    EXPECT_EQ(Run("KEIKOKU"), kChangeFonts);

    m->Script("KEIKOKU", {Key(VK_ESCAPE)});
    EXPECT_EQ(Run("KEIKOKU"), kChangeFonts);
    // Leaving, after its question, is the cancel scenario's.
}

TEST_F(DestinationDialogsTest, AnotherDriveIsStoredAsTheFontPath) {
    Open();
    m->Get().paths.fontDir = "C:\\WINDOWS\\FONTS";
    // CHANGE opens with the whole directory selected; Cancel there keeps KEIKOKU open.
    LRESULT selection = 0;
    m->Script("CHANGE", {[&](ui::DialogDriver& dialog) {
                             const WindowHandle edit = m->Windows().GetFocus();
                             selection = m->Windows().SendMessage(edit, EM_GETSEL, 0, 0);
                             dialog.Click(IDCANCEL);
                         },
                         Then(Type("d:\\fonts"), Press(IDOK))});
    m->Script("KEIKOKU", {Press(IDOK), Press(IDOK)});
    EXPECT_EQ(Run("KEIKOKU"), kNewFontDirectory);
    EXPECT_EQ(selection, static_cast<LRESULT>(MakeWParam(0, 16)));
    const ui::DialogRecord& change = m->Closed("CHANGE");
    EXPECT_EQ(change.opened.Find(117)->text, "C:\\WINDOWS\\FONTS");
    EXPECT_EQ(change.result, 0);
    EXPECT_EQ(m->Closed("CHANGE", 2).result, 1);

    EXPECT_EQ(m->Get().paths.fontDir, "D:\\FONTS");
    EXPECT_EQ(m->Setting("FontPath"), "D:\\FONTS");
    EXPECT_TRUE(m->Boxes().empty());
}

} // namespace
} // namespace tl::test
