#include "copy/confirm_replace.h"
#include "copy/copy_engine.h"
#include "copy/font_registration.h"
#include "destination/destination_fixture.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "resources/string_table.h"
#include "sequencer/main_window.h"

namespace tl::test {
namespace {

std::string Text(unsigned id) {
    return std::string(*LookupString(id));
}

// "hello" compressed (SZDD, literals only), and data that claims more than it holds.
const std::string kCompressedHello("SZDD\x88\xF0\x27\x33"
                                   "AT\x05\0\0\0\xFFhello",
                                   20);
const std::string kDamaged("SZDD\x88\xF0\x27\x33"
                           "A\0\xFF\xFF\0\0\xFF[",
                           16);

// The install disk at D:\DISK, fonts going to D:\FONTS, the records in C:\WINDOWS\TLSETUP.INI.
class CopyEngineTest : public DestinationTest {
protected:
    void SetUp() override {
        Open();
        folder.WriteFile("drive_c/WINDOWS/SYSTEM.INI", "[386Enh]\r\ndevice=*vpd\r\n");
        folder.MakeDirectory("drive_d/DISK");
        Paths& paths = installer->paths;
        paths.diskPath = "D:\\DISK";
        paths.sourceDir = "D:\\DISK";
        paths.fontDir = "D:\\FONTS";
        paths.privateSettingsFile = "C:\\WINDOWS\\TLSETUP.INI";
        installer->destination.typedFontDir = "D:\\FONTS";
        notify = [this](WindowHandle, int code, int value, std::string_view name) {
            notes.push_back(std::to_string(code) + "/" + std::to_string(value) + " " +
                            std::string(name));
            return 1;
        };
    }

    void Add(std::uint8_t flag, char disk, const std::string& name) {
        ASSERT_EQ(installer->copyList.Append(flag, disk, name), CopyListError::None);
    }
    void AddFont(const std::string& file, const std::string& fontName) {
        ASSERT_EQ(installer->copyList.AppendFontPair('1', file, fontName), CopyListError::None);
    }
    int Run() { return RunCopyList(*installer, owner, notify); }

    std::string Recorded(const std::string& key) {
        char value[300] = {};
        platform->profile.GetPrivateProfileString("Install", key.c_str(), "-", value, sizeof value,
                                                  installer->paths.privateSettingsFile);
        return value;
    }
    void RegisterArial() {
        HKEY key{};
        platform->registry.RegCreateKeyEx(kHkeyLocalMachine, kInstalledFontsKey, 0, kKeyAllAccess,
                                          &key, nullptr);
        const char file[] = "ARIAL.TTF";
        platform->registry.RegSetValueEx(key, "Arial (TrueType)", kRegSz,
                                         reinterpret_cast<const BYTE*>(file), sizeof file);
        platform->registry.RegCloseKey(key);
    }
    // Each CONFIRMDLG opening presses the next button.
    void Confirm(std::vector<int> buttons) {
        frontend.drive = [this, buttons](ui::DialogDriver& dialog, int) {
            dialog.Click(confirmTurn < buttons.size() ? buttons[confirmTurn++] : IDCANCEL);
            return std::optional<std::string>{};
        };
    }

    // The step messages posted to the owner since the last look.
    std::vector<UINT> PostedSteps() {
        windows.PostMessage(owner, kStepDemonstration, 0, 0); // the engine never posts it
        std::vector<UINT> steps;
        Message message;
        while (windows.GetMessage(message, owner, kStepDriver, kStepDemonstration) &&
               message.message != kStepDemonstration) {
            steps.push_back(message.message);
        }
        return steps;
    }

    CopyCallback notify;
    std::vector<std::string> notes;
    std::size_t confirmTurn = 0;
};

TEST_F(CopyEngineTest, CopiesPlainAndCompressedSourcesWithTheirRecords) {
    folder.WriteFile("drive_d/DISK/PLAIN.DRV", "plain");
    folder.WriteFile("drive_d/DISK/PACKED.DL_", kCompressedHello);
    folder.WriteFile("drive_d/DISK/FONTDRV.DLL", "disk two");
    Add(kFlagDriver, '1', "PLAIN.DRV");
    Add(kFlagSkipped, '1', "NOTHERE.DRV");
    Add(kFlagSystemFile, '1', "PACKED.DLL");
    Add(kFlagSystemFile, '2', "FONTDRV.DLL"); // disk 2 files go to the font directory
    EXPECT_EQ(Run(), 1);

    EXPECT_EQ(folder.ReadFile("drive_c/WINDOWS/SYSTEM/PLAIN.DRV"), "plain");
    EXPECT_EQ(folder.ReadFile("drive_c/WINDOWS/SYSTEM/PACKED.DLL"), "hello");
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/FONTDRV.DLL"), "disk two");
    EXPECT_FALSE(folder.Exists("drive_c/WINDOWS/SYSTEM/FONTDRV.DLL"));
    EXPECT_EQ(Recorded("File0100"), "C:\\WINDOWS\\SYSTEM\\PLAIN.DRV");
    EXPECT_EQ(Recorded("File0101"), "-");
    EXPECT_EQ(Recorded("File0102"), "C:\\WINDOWS\\SYSTEM\\PACKED.DLL");
    EXPECT_EQ(Recorded("File0103"), "D:\\FONTS\\FONTDRV.DLL");
    EXPECT_EQ(notes, (std::vector<std::string>{"5/0 ", "2/0 PLAIN.DRV", "2/100 PLAIN.DRV",
                                               "2/0 PACKED.DLL", "2/100 PACKED.DLL",
                                               "2/0 FONTDRV.DLL", "2/100 FONTDRV.DLL", "6/0 "}));
    EXPECT_EQ(installer->installationState, 0);
}

TEST_F(CopyEngineTest, DeviceDriverGetsItsLineBackupRecordAndRestartState) {
    folder.WriteFile("drive_d/DISK/TLPORT.386", "new vxd");
    folder.WriteFile("drive_c/WINDOWS/SYSTEM/TLPORT.386", "old vxd");
    Add(kFlagDevice, '1', "TLPORT.386");
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(folder.ReadFile("drive_c/WINDOWS/SYSTEM/TLPORT.386"), "new vxd");
    EXPECT_NE(folder.ReadFile("drive_c/WINDOWS/SYSTEM.INI").find("device=TLPORT.386"),
              std::string::npos);
    const std::string backup = Recorded("BFile0100");
    EXPECT_EQ(backup.rfind("C:\\WINDOWS\\SYSTEM\\TLPORT.", 0), 0u) << backup;
    EXPECT_NE(backup, "C:\\WINDOWS\\SYSTEM\\TLPORT.386");
    EXPECT_EQ(installer->installationState, 5);
}

TEST_F(CopyEngineTest, MissingSourceAndFailedCopyFailTheRun) {
    Add(kFlagSystemFile, '1', "GONE.DLL");
    installer->installationState = 5;
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(installer->installationState, 1);
    EXPECT_EQ(notes, (std::vector<std::string>{"5/0 ", "6/0 "}));

    // A copy that breaks off leaves no destination, but its record.
    installer->copyList.Clear();
    installer->installationState = 4;
    folder.WriteFile("drive_d/DISK/BROKEN.DL_", kDamaged);
    Add(kFlagSystemFile, '1', "BROKEN.DLL");
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(folder.Exists("drive_c/WINDOWS/SYSTEM/BROKEN.DLL"));
    EXPECT_EQ(Recorded("File0100"), "C:\\WINDOWS\\SYSTEM\\BROKEN.DLL");
    EXPECT_EQ(installer->installationState, 1);

    // Over a good file, the broken copy leaves that file as it was.
    folder.WriteFile("drive_c/WINDOWS/SYSTEM/BROKEN.DLL", "good");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(folder.ReadFile("drive_c/WINDOWS/SYSTEM/BROKEN.DLL"), "good");
    EXPECT_FALSE(folder.Exists("drive_c/WINDOWS/SYSTEM/BROKEN.DLL.TMP"));
}

TEST_F(CopyEngineTest, DirectoryThatCannotBeMadeLeavesTheState) {
    folder.WriteFile("drive_d/FONTS", "a file in the way");
    folder.WriteFile("drive_d/DISK/FONTDRV.DLL", "x");
    Add(kFlagSystemFile, '2', "FONTDRV.DLL");
    installer->installationState = 4;
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(installer->installationState, 4);
    ASSERT_EQ(frontend.boxes.size(), 1u);
    EXPECT_EQ(frontend.boxes[0].key, "125");
}

TEST_F(CopyEngineTest, NewFontIsCopiedAndRegistered) {
    RegisterArial();
    folder.WriteFile("drive_d/DISK/TLSANS.TTF", "sans");
    AddFont("TLSANS.TTF", "Telmora Sans");
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/TLSANS.TTF"), "sans");
    EXPECT_EQ(QueryFontRegistration(*installer, "Telmora Sans (TrueType)"), 0);
    EXPECT_EQ(installer->copyEngine.diskCounter, 1);
}

TEST_F(CopyEngineTest, AlreadyRegisteredFontIsPassedOverOrCancelsTheRun) {
    RegisterArial();
    folder.WriteFile("drive_d/DISK/ARIAL.TTF", "arial");
    AddFont("ARIAL.TTF", "Arial");
    frontend.boxAnswers = {IDOK};
    installer->installationState = 4;
    EXPECT_EQ(Run(), 1);
    ASSERT_EQ(frontend.boxes.size(), 1u);
    std::string text = Text(182);
    text.replace(text.find("%s"), 2, "Arial (TrueType)");
    EXPECT_EQ(frontend.boxes[0].text, text);
    EXPECT_EQ(frontend.boxes[0].caption, Text(162));
    EXPECT_EQ(frontend.boxes[0].type, MB_OKCANCEL | MB_ICONEXCLAMATION);
    EXPECT_FALSE(folder.Exists("drive_d/FONTS/ARIAL.TTF"));
    EXPECT_EQ(notes, (std::vector<std::string>{"5/0 ", "6/0 "}));

    frontend.boxAnswers = {IDCANCEL};
    notes.clear();
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(installer->installationState, 4);
    EXPECT_EQ(notes, (std::vector<std::string>{"5/0 ", "6/0 "}));
}

TEST_F(CopyEngineTest, ConfirmAnswersDecideTheReplacement) {
    RegisterArial();
    for (const char* name : {"A.TTF", "B.TTF", "C.TTF", "D.TTF"}) {
        folder.WriteFile(std::string("drive_d/DISK/") + name, "new");
        folder.WriteFile(std::string("drive_d/FONTS/") + name, "old");
    }
    AddFont("A.TTF", "Font A");
    AddFont("B.TTF", "Font B");
    AddFont("C.TTF", "Font C");
    AddFont("D.TTF", "Font D");
    // Yes: replaced; No: kept but registered (the font directory is not the proposed one);
    // Yes to all: replaced, and D is replaced without a question.
    Confirm({kConfirmYes, kConfirmNo, kConfirmYesToAll});
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(confirmTurn, 3u);
    EXPECT_EQ(frontend.dialogs.size(), 3u);
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/A.TTF"), "new");
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/B.TTF"), "old");
    EXPECT_EQ(QueryFontRegistration(*installer, "Font B (TrueType)"), 0);
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/C.TTF"), "new");
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/D.TTF"), "new");
    EXPECT_EQ(installer->copyEngine.replaceQuestion, 0);
    EXPECT_EQ(notes.size(), 2u + 3 * 2) << "B is not copied";
}

TEST_F(CopyEngineTest, CancelInConfirmAsksAndMayEndTheRun) {
    RegisterArial();
    folder.WriteFile("drive_d/DISK/A.TTF", "new");
    folder.WriteFile("drive_d/FONTS/A.TTF", "old");
    AddFont("A.TTF", "Font A");
    installer->installationState = 4;

    // Cancel, then No to "stop?": the question comes again and Yes replaces.
    Confirm({kConfirmCancel, kConfirmYes});
    frontend.boxAnswers = {IDNO};
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(confirmTurn, 2u);
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/A.TTF"), "new");
    EXPECT_TRUE(PostedSteps().empty());

    // Cancel, then Yes: the run ends, step 404 posted, the state as it was.
    folder.WriteFile("drive_d/DISK/B.TTF", "new");
    folder.WriteFile("drive_d/FONTS/B.TTF", "old");
    installer->copyList.Clear();
    AddFont("B.TTF", "Font B");
    confirmTurn = 0;
    Confirm({kConfirmCancel});
    frontend.boxAnswers = {IDYES};
    notes.clear();
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/B.TTF"), "old");
    EXPECT_EQ(QueryFontRegistration(*installer, "Font B (TrueType)"), 2);
    EXPECT_EQ(PostedSteps(), std::vector<UINT>{kStepFinish});
    EXPECT_EQ(installer->installationState, 4);
    EXPECT_EQ(notes, (std::vector<std::string>{"5/0 ", "6/0 "}));
}

TEST_F(CopyEngineTest, ConfirmThatCannotOpenEndsTheRunWithoutAsking) {
    RegisterArial();
    folder.WriteFile("drive_d/DISK/A.TTF", "new");
    folder.WriteFile("drive_d/FONTS/A.TTF", "old");
    AddFont("A.TTF", "Font A");
    // The frontend gives up on the dialog: it ends with -1.
    frontend.drive = [](ui::DialogDriver&, int) { return std::optional<std::string>{"gone"}; };
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(frontend.boxes.empty());
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/A.TTF"), "old");
}

} // namespace
} // namespace tl::test
