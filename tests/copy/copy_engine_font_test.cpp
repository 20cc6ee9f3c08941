#include "copy/confirm_replace.h"
#include "copy/disk_prompt.h"

#include "copy_engine_fixture.h"

namespace tl::test {
namespace {

class CopyEngineFontTest : public CopyEngineTest {
protected:
    // Each CONFIRMDLG opening presses the next button; a question more fails the test and
    // gives up on the dialog.
    void Confirm(std::vector<int> buttons) {
        confirmTurn = 0;
        frontend.drive = [this, buttons](ui::DialogDriver& dialog, int) {
            if (confirmTurn == buttons.size()) {
                ADD_FAILURE() << "one question more than expected";
                return std::optional<std::string>{"unexpected question"};
            }
            dialog.Click(buttons[confirmTurn++]);
            return std::optional<std::string>{};
        };
    }
    // A new and an old copy of each font file.
    void OldAndNew(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            folder.WriteFile(std::string("drive_d/DISK/") + name, "new");
            folder.WriteFile(std::string("drive_d/FONTS/") + name, "old");
        }
    }
    std::string RegisteredPath(const std::string& valueName) {
        HKEY key{};
        platform->registry.RegOpenKeyEx(kHkeyLocalMachine, kInstalledFontsKey, 0, kKeyAllAccess,
                                        &key);
        BYTE data[300] = {};
        DWORD size = sizeof data;
        DWORD type = 0;
        const LONG result =
            platform->registry.RegQueryValueEx(key, valueName.c_str(), &type, data, &size);
        platform->registry.RegCloseKey(key);
        return result == 0 ? std::string(reinterpret_cast<const char*>(data)) : "-";
    }

    std::size_t confirmTurn = 0;
};

TEST_F(CopyEngineFontTest, NewFontIsCopiedAndRegistered) {
    RegisterArial();
    folder.WriteFile("drive_d/DISK/TLSANS.TT_", kCompressedHello);
    AddFont("TLSANS.TTF", "Telmora Sans");
    installer->destination.typedFontDir = "D:\\FONTS\\"; // as typed, it names the file
    EXPECT_EQ(Run(), CopyOutcome::Done);
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/TLSANS.TTF"), "hello");
    EXPECT_EQ(RegisteredPath("Telmora Sans (TrueType)"), "D:\\FONTS\\\\TLSANS.TTF");
    EXPECT_EQ(Recorded("File0100"), "D:\\FONTS\\TLSANS.TTF");
    EXPECT_EQ(installer->copyEngine.diskCounter, 1);
    EXPECT_TRUE(frontend.boxes.empty());
}

TEST_F(CopyEngineFontTest, AlreadyRegisteredFontIsPassedOverOrCancelsTheRun) {
    RegisterArial();
    folder.WriteFile("drive_d/DISK/ARIAL.TTF", "arial");
    AddFont("ARIAL.TTF", "Arial");
    frontend.boxAnswers = {IDOK};
    installer->installationState = InstallationState::Installed;
    EXPECT_EQ(Run(), CopyOutcome::Done);
    ASSERT_EQ(frontend.boxes.size(), 1u);
    std::string text = Text(182);
    text.replace(text.find("%s"), 2, "Arial (TrueType)");
    EXPECT_EQ(frontend.boxes[0].text, text);
    EXPECT_EQ(frontend.boxes[0].caption, Text(162));
    EXPECT_EQ(frontend.boxes[0].type, MB_OKCANCEL | MB_ICONEXCLAMATION);
    EXPECT_FALSE(folder.Exists("drive_d/FONTS/ARIAL.TTF"));
    EXPECT_EQ(RegisteredPath("Arial (TrueType)"), "ARIAL.TTF");
    EXPECT_EQ(notes, (std::vector<std::string>{"5/0 ", "6/0 "}));
    EXPECT_TRUE(PostedSteps().empty());

    frontend.boxAnswers = {IDCANCEL};
    notes.clear();
    EXPECT_EQ(Run(), CopyOutcome::Cancelled);
    EXPECT_EQ(installer->installationState, InstallationState::Installed);
    EXPECT_EQ(notes, (std::vector<std::string>{"5/0 ", "6/0 "}));
    EXPECT_TRUE(PostedSteps().empty());
}

TEST_F(CopyEngineFontTest, ConfirmAnswersDecideTheReplacement) {
    RegisterArial();
    OldAndNew({"A.TTF", "B.TTF", "C.TTF", "D.TTF"});
    AddFont("A.TTF", "Font A");
    AddFont("B.TTF", "Font B");
    AddFont("C.TTF", "Font C");
    AddFont("D.TTF", "Font D");
    // Yes: replaced; No: kept but registered (the font directory is not the proposed one; in
    // the proposed one, No passes the font over, as the font scenarios show);
    // Yes to all: replaced, and D is replaced without a question.
    Confirm({kConfirmYes, kConfirmNo, kConfirmYesToAll});
    EXPECT_EQ(Run(), CopyOutcome::Done);
    EXPECT_EQ(confirmTurn, 3u);
    EXPECT_EQ(frontend.dialogs.size(), 3u);
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/A.TTF"), "new");
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/B.TTF"), "old");
    EXPECT_EQ(RegisteredPath("Font B (TrueType)"), "D:\\FONTS\\B.TTF");
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/C.TTF"), "new");
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/D.TTF"), "new");
    EXPECT_EQ(Recorded("File0102"), "-") << "B is not copied";
    EXPECT_FALSE(installer->copyEngine.askBeforeReplacing);

    // Yes to all holds for later runs too.
    installer->copyList.Clear();
    OldAndNew({"E.TTF"});
    AddFont("E.TTF", "Font E");
    EXPECT_EQ(Run(), CopyOutcome::Done);
    EXPECT_EQ(frontend.dialogs.size(), 3u);
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/E.TTF"), "new");
}

TEST_F(CopyEngineFontTest, CancelInConfirmAsksAndMayEndTheRun) {
    RegisterArial();
    OldAndNew({"A.TTF", "B.TTF"});
    AddFont("A.TTF", "Font A");
    installer->installationState = InstallationState::Installed;

    // Cancel, then No to "stop?": the question comes again and Yes replaces.
    Confirm({kConfirmCancel, kConfirmYes});
    frontend.boxAnswers = {IDNO};
    EXPECT_EQ(Run(), CopyOutcome::Done);
    EXPECT_EQ(confirmTurn, 2u);
    ASSERT_EQ(frontend.boxes.size(), 1u);
    EXPECT_EQ(frontend.boxes[0].type, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/A.TTF"), "new");
    EXPECT_TRUE(PostedSteps().empty());

    // Cancel, then Yes: the run ends cancelled, the state as it was.
    installer->copyList.Clear();
    AddFont("B.TTF", "Font B");
    Confirm({kConfirmCancel});
    frontend.boxAnswers = {IDYES};
    notes.clear();
    EXPECT_EQ(Run(), CopyOutcome::Cancelled);
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/B.TTF"), "old");
    EXPECT_EQ(RegisteredPath("Font B (TrueType)"), "-");
    EXPECT_TRUE(PostedSteps().empty());
    EXPECT_EQ(installer->installationState, InstallationState::Installed);
    EXPECT_EQ(notes, (std::vector<std::string>{"5/0 ", "6/0 "}));
}

TEST_F(CopyEngineFontTest, ConfirmThatCannotOpenEndsTheRunWithoutAsking) {
    RegisterArial();
    OldAndNew({"A.TTF"});
    AddFont("A.TTF", "Font A");
    // The frontend gives up on the dialog, which then ends with -1.
    frontend.drive = [](ui::DialogDriver&, int) { return std::optional<std::string>{"gone"}; };
    EXPECT_EQ(Run(), CopyOutcome::Cancelled);
    EXPECT_TRUE(frontend.boxes.empty());
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/A.TTF"), "old");
}

TEST_F(CopyEngineFontTest, CancelledDiskSearchEndsTheRunCancelled) {
    RegisterArial();
    folder.WriteFile("drive_d/DISK/ONE.TTF", "one");
    AddFont("ONE.TTF", "Font One");
    AddFont("TWO.TTF", "Font Two", '2');
    frontend.drive = [](ui::DialogDriver& dialog, int) {
        dialog.Click(IDCANCEL);
        return std::optional<std::string>{};
    };
    installer->installationState = InstallationState::Installed;
    EXPECT_EQ(Run(), CopyOutcome::Cancelled);
    ASSERT_EQ(frontend.boxes.size(), 1u);
    EXPECT_EQ(frontend.boxes[0].key, "128");
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/ONE.TTF"), "one");
    EXPECT_TRUE(PostedSteps().empty());
    EXPECT_EQ(installer->installationState, InstallationState::Installed);
    EXPECT_EQ(installer->copyEngine.diskCounter, 1);
    EXPECT_EQ(notes.back(), "6/0 ");
}

} // namespace
} // namespace tl::test
