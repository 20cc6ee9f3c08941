#include "copy/confirm_replace.h"
#include "copy/copy_engine.h"
#include "copy/font_registration.h"
#include "copy/progress_display.h"
#include "state/inf_scripts.h"
#include "state/rename_list.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

#include <utility>

namespace tl::test {
namespace {

// "hello" compressed (SZDD, literals only).
const std::string kCompressedHello("SZDD\x88\xF0\x27\x33"
                                   "AT\x05\0\0\0\xFFhello",
                                   20);

// A copy run from A: (two disks) to C:\WINDOWS\SYSTEM, the fonts to D:\FONTS.
class CopyEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pc.Ready());
        pc.SetPaths();
        pc.WriteDiskFile("INSTALL.INF", "[DISK1]\r\n\"Disk #1\",TAG1\r\n"
                                        "[DISK2]\r\n\"Disk #2\",TAG2\r\n");
        ASSERT_EQ(LoadInf(installer.scripts, pc.Ports().files, "A:\\INSTALL.INF").status,
                  InfLoadStatus::Loaded);
        installer.paths.diskPath = installer.paths.sourceDir = "A:";
        installer.paths.fontDir = installer.destination.typedFontDir = "D:\\FONTS";
        notify = [](WindowHandle, int, int, std::string_view) { return 1; };
    }

    void Add(std::uint8_t flag, char disk, const std::string& name) {
        ASSERT_EQ(installer.copyList.Append(flag, disk, name), CopyListError::None);
    }
    void OldAndNew(const std::string& name) {
        pc.WriteDiskFile(name, "new");
        pc.Folder().WriteFile("drive_d/FONTS/" + name, "old");
        ASSERT_EQ(installer.copyList.AppendFontPair('1', name, "Font " + name),
                  CopyListError::None);
    }
    std::string Fonts(const std::string& name) {
        return pc.Folder().ReadFile("drive_d/FONTS/" + name);
    }
    CopyOutcome Run() { return RunCopyList(installer, pc.MainWindow(), notify); }

    InstallerHarness pc{HarnessOptions().Folder("drive_d")};
    Installer& installer = pc.Get();
    CopyCallback notify;
};

// The range counts every entry whose flag is not "0", also those passed over.
TEST_F(CopyEngineTest, CopyNotifyDrivesTheProgressDisplayAndTheErrorMode) {
    std::vector<std::pair<UINT, WPARAM>> sent;
    WindowClass recorder;
    recorder.name = "Recorder";
    recorder.proc = [this, &sent](WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message < WM_USER && message != kTbmRedraw)
            return pc.Windows().DefWindowProc(window, message, wParam, lParam);
        sent.emplace_back(message, wParam);
        return LRESULT{0};
    };
    pc.Windows().RegisterClass(recorder);
    installer.progress.bar = installer.progress.textBar =
        pc.Windows().CreateWindow("Recorder", "", WS_POPUP, 0, 0, 10, 10, WindowHandle{}, 0, 0);
    notify = [this](WindowHandle window, int code, int value, std::string_view name) {
        return CopyNotify(installer, window, code, value, name);
    };
    pc.WriteDiskFile("PLAIN.DRV", "plain");
    Add(kFlagDriver, '1', "PLAIN.DRV");
    Add(kFlagSkipped, '1', "SKIPPED.DRV");
    Add('9', '1', "NINE.DRV");  // kinds above 6 are passed over
    Add('/', '1', "SLASH.DRV"); // and so is a flag below "0"
    EXPECT_EQ(Run(), CopyOutcome::Done);
    EXPECT_EQ(sent, (std::vector<std::pair<UINT, WPARAM>>{
                        {kPbmSetRange, 3}, {kTbmRedraw, 0}, {kPbmAdvance, 1}}));
    EXPECT_EQ(installer.progress.currentFileName, "PLAIN.DRV");
    EXPECT_EQ(pc.ErrorModes(), (std::vector<UINT>{kSemFailCriticalErrors, 0}));
    EXPECT_EQ(CopyNotify(installer, pc.MainWindow(), 7, 0, {}), 1);
    EXPECT_EQ(CopyNotify(installer, pc.MainWindow(), kNotifyStart, 1, {}), 1);
    EXPECT_EQ(pc.ErrorModes().size(), 2u) << "unknown codes and values do nothing";
}

// Each renamed entry takes the next name of the rename list; one too many has none.
TEST_F(CopyEngineTest, TooFewRenamesFailTheRun) {
    ASSERT_TRUE(installer.renames.Create(64));
    ASSERT_EQ(installer.renames.Append("TLUI.DLL"), RenameListError::None);
    pc.WriteDiskFile("TLUI95.DL_", kCompressedHello);
    Add(kFlagRenamedDriver, '1', "TLUI95.DLL");
    Add(kFlagRenamed, '1', "TLUI95.DLL");
    EXPECT_EQ(Run(), CopyOutcome::Failed);
    EXPECT_EQ(pc.Folder().ReadFile("drive_c/WINDOWS/SYSTEM/TLUI.DLL"), "hello");
    EXPECT_EQ(pc.Setting("File0101", "-"), "-");
}

// No keeps the font but registers it (outside the proposed font directory); Yes to all answers
// later runs too; Cancel and then No to "stop?" asks again.
TEST_F(CopyEngineTest, ConfirmAnswersDecideTheReplacement) {
    for (const char* name : {"A.TTF", "B.TTF", "C.TTF", "D.TTF"})
        OldAndNew(name);
    pc.Script("CONFIRMDLG", {Press(kConfirmCancel), Press(kConfirmYes), Press(kConfirmNo),
                             Press(kConfirmYesToAll)});
    pc.BoxAnswers() = {IDNO};
    EXPECT_EQ(Run(), CopyOutcome::Done);
    EXPECT_EQ(pc.Dialogs().size(), 4u);
    EXPECT_EQ(pc.Boxes().at(0).request.type, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    EXPECT_EQ(Fonts("A.TTF") + Fonts("B.TTF") + Fonts("C.TTF") + Fonts("D.TTF"), "newoldnewnew");
    EXPECT_EQ(pc.RegistryString(kHkeyLocalMachine, kInstalledFontsKey, "Font B.TTF (TrueType)"),
              "D:\\FONTS\\B.TTF");
    EXPECT_EQ(pc.Setting("File0102", "-"), "-") << "B is not copied";

    installer.copyList.Clear();
    OldAndNew("E.TTF");
    EXPECT_EQ(Run(), CopyOutcome::Done);
    EXPECT_EQ(pc.Dialogs().size(), 4u);
    EXPECT_EQ(Fonts("E.TTF"), "new");
}

TEST_F(CopyEngineTest, ConfirmThatCannotOpenEndsTheRunWithoutAsking) {
    OldAndNew("A.TTF");
    // The user gives up on the dialog, which then ends with -1.
    pc.Unscripted() = [](ui::DialogDriver&, int) { return std::optional<std::string>{"gone"}; };
    EXPECT_EQ(Run(), CopyOutcome::Cancelled);
    EXPECT_TRUE(pc.Boxes().empty());
    EXPECT_EQ(Fonts("A.TTF"), "old");
}

// The value names the font file as its directory was typed; a missing file registers nothing.
TEST(FontRegistrationTest, AFontTheSystemDoesNotTakeIsAFailure) {
    InstallerHarness pc;
    pc.SetPaths(); // each font is recorded for the removal
    Installer& installer = pc.Get();
    EXPECT_EQ(QueryFontRegistration(installer, FontValueName("Telmora Sans")), 2);
    pc.Folder().WriteFile("drive_c/TTF/TLSANS.TTF", "font");
    installer.destination.typedFontDir = "c:\\ttf";
    EXPECT_TRUE(RegisterFont(installer, "C:\\TTF\\TLSANS.TTF", "Telmora Sans (TrueType)"));
    EXPECT_EQ(pc.RegistryString(kHkeyLocalMachine, kInstalledFontsKey, "Telmora Sans (TrueType)"),
              "c:\\ttf\\TLSANS.TTF");
    EXPECT_TRUE(pc.HasEvent("addfont", {"c:\\ttf\\TLSANS.TTF"}));
    EXPECT_EQ(QueryFontRegistration(installer, FontValueName("Telmora Sans")), 0);

    EXPECT_FALSE(RegisterFont(installer, "C:\\TTF\\NONE.TTF", "None (TrueType)"));
    EXPECT_TRUE(pc.HasEvent("error", {"AddFontResource"}));
    EXPECT_EQ(pc.RegistryString(kHkeyLocalMachine, kInstalledFontsKey, "None (TrueType)"),
              std::nullopt);
    EXPECT_EQ(QueryFontRegistration(installer, FontValueName("None")), 2);
}

TEST(HasLaterFont, AFullListIsSearchedToItsLastEntryAndNoFurther) {
    CopyList list;
    for (std::size_t i = 0; i < kCopyListEntries; ++i) {
        const bool font = i == 0 || i == kCopyListEntries - 1;
        ASSERT_EQ(list.Append(font ? kFlagFont : kFlagSystemFile, '1', "F.TTF"),
                  CopyListError::None);
    }
    EXPECT_TRUE(HasLaterFont(list, 0));
    EXPECT_FALSE(HasLaterFont(list, kCopyListEntries - 1));
    EXPECT_FALSE(HasLaterFont(list, kCopyListEntries + 5));
}

} // namespace
} // namespace tl::test
