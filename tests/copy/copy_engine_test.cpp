#include "platform/system.h"
#include "state/rename_list.h"

#include "copy/progress_display.h"
#include "copy_engine_fixture.h"

#include <utility>
#include <variant>

namespace tl::test {
namespace {

TEST_F(CopyEngineTest, CopiesPlainAndCompressedSourcesWithTheirRecords) {
    folder.WriteFile("drive_d/DISK/PLAIN.DRV", "plain");
    folder.WriteFile("drive_d/DISK/PACKED.DL_", kCompressedHello);
    folder.WriteFile("drive_d/DISK/FONTDRV.DLL", "disk two");
    Add(kFlagDriver, '1', "PLAIN.DRV");
    Add(kFlagSkipped, '1', "NOTHERE.DRV");
    Add(kFlagSystemFile, '1', "PACKED.DLL");
    Add(kFlagSystemFile, '2', "FONTDRV.DLL"); // disk 2 files go to the font directory
    EXPECT_EQ(Run(), CopyOutcome::Done);

    EXPECT_EQ(folder.ReadFile("drive_c/WINDOWS/SYSTEM/PLAIN.DRV"), "plain");
    EXPECT_EQ(folder.ReadFile("drive_c/WINDOWS/SYSTEM/PACKED.DLL"), "hello");
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/FONTDRV.DLL"), "disk two");
    EXPECT_FALSE(folder.Exists("drive_c/WINDOWS/SYSTEM/FONTDRV.DLL"));
    EXPECT_FALSE(folder.Exists("drive_c/WINDOWS/SYSTEM/PLAIN.DRV.TMP"));
    EXPECT_EQ(Recorded("File0100"), "C:\\WINDOWS\\SYSTEM\\PLAIN.DRV");
    EXPECT_EQ(Recorded("File0101"), "-");
    EXPECT_EQ(Recorded("File0102"), "C:\\WINDOWS\\SYSTEM\\PACKED.DLL");
    EXPECT_EQ(Recorded("File0103"), "D:\\FONTS\\FONTDRV.DLL");
    EXPECT_EQ(notes, (std::vector<std::string>{"5/0 ", "2/0 PLAIN.DRV", "2/100 PLAIN.DRV",
                                               "2/0 PACKED.DLL", "2/100 PACKED.DLL",
                                               "2/0 FONTDRV.DLL", "2/100 FONTDRV.DLL", "6/0 "}));
    EXPECT_EQ(installer->installationState, InstallationState::NotStarted);
}

// CopyNotify against stand-ins for the progress bar and the text bar that keep what they are
// sent: the range counts every entry whose flag is not "0", also those passed over.
TEST_F(CopyEngineTest, CopyNotifyDrivesTheProgressDisplayAndTheErrorMode) {
    std::vector<std::pair<UINT, WPARAM>> sent;
    WindowClass recorder;
    recorder.name = "Recorder";
    recorder.proc = [this, &sent](WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message >= WM_USER || message == kTbmRedraw) {
            sent.emplace_back(message, wParam);
            return LRESULT{0};
        }
        return windows.DefWindowProc(window, message, wParam, lParam);
    };
    windows.RegisterClass(recorder);
    installer->progress.bar =
        windows.CreateWindow("Recorder", "", WS_POPUP, 0, 0, 10, 10, WindowHandle{}, 0, 0);
    installer->progress.textBar = installer->progress.bar;
    notify = [this](WindowHandle window, int code, int value, std::string_view name) {
        return CopyNotify(*installer, window, code, value, name);
    };

    EXPECT_EQ(Run(), CopyOutcome::Done);
    EXPECT_EQ(sent, (std::vector<std::pair<UINT, WPARAM>>{{kPbmSetRange, 0}}));
    EXPECT_EQ(system->modes, (std::vector<UINT>{kSemFailCriticalErrors, 0}));

    folder.WriteFile("drive_d/DISK/PLAIN.DRV", "plain");
    Add(kFlagDriver, '1', "PLAIN.DRV");
    Add(kFlagSkipped, '1', "SKIPPED.DRV");
    Add('9', '1', "NINE.DRV");  // kinds above 6 are passed over
    Add('/', '1', "SLASH.DRV"); // and so is a flag below "0"
    sent.clear();
    EXPECT_EQ(Run(), CopyOutcome::Done);
    EXPECT_EQ(sent, (std::vector<std::pair<UINT, WPARAM>>{
                        {kPbmSetRange, 3}, {kTbmRedraw, 0}, {kPbmAdvance, 1}}));
    EXPECT_EQ(installer->progress.currentFileName, "PLAIN.DRV");
    EXPECT_EQ(CopyNotify(*installer, owner, 7, 0, {}), 1);
    EXPECT_EQ(CopyNotify(*installer, owner, kNotifyStart, 1, {}), 1);
    EXPECT_EQ(system->modes.size(), 4u) << "unknown codes and values do nothing";
}

TEST_F(CopyEngineTest, DeviceDriverGetsItsLineBackupRecordAndRestartState) {
    folder.WriteFile("drive_d/DISK/TLPORT.386", "new vxd");
    folder.WriteFile("drive_d/DISK/TLNEW.386", "another vxd");
    folder.WriteFile("drive_c/WINDOWS/SYSTEM/TLPORT.386", "old vxd");
    Add(kFlagDevice, '1', "TLPORT.386");
    Add(kFlagDevice, '1', "TLNEW.386");
    installer->installationState = InstallationState::Installed;
    EXPECT_EQ(Run(), CopyOutcome::Done);
    EXPECT_EQ(installer->installationState, InstallationState::RestartNeeded);
    EXPECT_EQ(folder.ReadFile("drive_c/WINDOWS/SYSTEM/TLPORT.386"), "new vxd");
    EXPECT_EQ(folder.ReadFile("drive_c/WINDOWS/SYSTEM/TLPORT.B00"), "old vxd");
    EXPECT_EQ(Recorded("BFile0100"), "C:\\WINDOWS\\SYSTEM\\TLPORT.B00");
    // Nothing to back up: the record names the free backup name all the same.
    EXPECT_EQ(Recorded("BFile0101"), "C:\\WINDOWS\\SYSTEM\\TLNEW.B00");
    EXPECT_FALSE(folder.Exists("drive_c/WINDOWS/SYSTEM/TLNEW.B00"));
    const std::string systemIni = folder.ReadFile("drive_c/WINDOWS/SYSTEM.INI");
    EXPECT_NE(systemIni.find("device=TLPORT.386"), std::string::npos);
    EXPECT_NE(systemIni.find("device=TLNEW.386"), std::string::npos);

    // On disk 2 it goes to the font directory, without a device line or a restart.
    installer->copyList.Clear();
    installer->installationState = InstallationState::Installed;
    folder.WriteFile("drive_d/DISK/TLDISK2.386", "vxd");
    Add(kFlagDevice, '2', "TLDISK2.386");
    EXPECT_EQ(Run(), CopyOutcome::Done);
    EXPECT_EQ(installer->installationState, InstallationState::Installed);
    EXPECT_EQ(folder.ReadFile("drive_d/FONTS/TLDISK2.386"), "vxd");
    EXPECT_EQ(folder.ReadFile("drive_c/WINDOWS/SYSTEM.INI").find("TLDISK2"), std::string::npos);
    EXPECT_EQ(Recorded("BFile0100"), "D:\\FONTS\\TLDISK2.B00");
}

TEST_F(CopyEngineTest, RenamedEntriesTakeTheRenameListInTurn) {
    ASSERT_TRUE(installer->renames.Create(64));
    ASSERT_EQ(installer->renames.Append("TLUI.DLL"), RenameListError::None);
    ASSERT_EQ(installer->renames.Append("TLHELP.HLP"), RenameListError::None);
    folder.WriteFile("drive_d/DISK/TLUI95.DL_", kCompressedHello);
    folder.WriteFile("drive_d/DISK/TLHELP95.HLP", "help");
    Add(kFlagRenamedDriver, '1', "TLUI95.DLL");
    Add(kFlagSkipped, '1', "TLOLD.DLL");
    Add(kFlagRenamed, '1', "TLHELP95.HLP");
    EXPECT_EQ(Run(), CopyOutcome::Done);
    EXPECT_EQ(folder.ReadFile("drive_c/WINDOWS/SYSTEM/TLUI.DLL"), "hello");
    EXPECT_EQ(folder.ReadFile("drive_c/WINDOWS/SYSTEM/TLHELP.HLP"), "help");
    EXPECT_EQ(Recorded("File0102"), "C:\\WINDOWS\\SYSTEM\\TLHELP.HLP");

    // Every run reads the list from its first name; one entry too many has nowhere to go.
    Add(kFlagRenamed, '1', "TLHELP95.HLP");
    EXPECT_EQ(Run(), CopyOutcome::Failed);
    EXPECT_EQ(installer->installationState, InstallationState::Failed);
    EXPECT_EQ(Recorded("File0103"), "-");
}

TEST_F(CopyEngineTest, MissingSourceAndFailedCopyFailTheRun) {
    folder.WriteFile("drive_d/DISK/FIRST.DLL", "first");
    Add(kFlagSystemFile, '1', "FIRST.DLL");
    Add(kFlagSystemFile, '1', "GONE.DLL");
    installer->installationState = InstallationState::RestartNeeded;
    EXPECT_EQ(Run(), CopyOutcome::Failed);
    EXPECT_EQ(installer->installationState, InstallationState::Failed);
    EXPECT_EQ(notes,
              (std::vector<std::string>{"5/0 ", "2/0 FIRST.DLL", "2/100 FIRST.DLL", "6/0 "}));
    EXPECT_EQ(folder.ReadFile("drive_c/WINDOWS/SYSTEM/FIRST.DLL"), "first")
        << "nothing is rolled back";
    // The platform was asked to prompt for the compressed name.
    std::vector<std::string> prompted;
    for (const PlatformEvent& event : events.Events()) {
        if (event.event == "prompt") {
            prompted.push_back(std::get<std::string>(event.fields.at(0).second));
        }
    }
    EXPECT_EQ(prompted, std::vector<std::string>{"D:\\DISK\\GONE.DL_"});

    // A copy that breaks off leaves no destination, but its record.
    installer->copyList.Clear();
    installer->installationState = InstallationState::Installed;
    folder.WriteFile("drive_d/DISK/BROKEN.DL_", kDamaged);
    Add(kFlagSystemFile, '1', "BROKEN.DLL");
    EXPECT_EQ(Run(), CopyOutcome::Failed);
    EXPECT_FALSE(folder.Exists("drive_c/WINDOWS/SYSTEM/BROKEN.DLL"));
    EXPECT_EQ(Recorded("File0100"), "C:\\WINDOWS\\SYSTEM\\BROKEN.DLL");
    EXPECT_EQ(installer->installationState, InstallationState::Failed);
    // Over a good file, the broken copy leaves that file as it was: the failure scenarios.
}

TEST_F(CopyEngineTest, DirectoryThatCannotBeMadeLeavesTheState) {
    folder.WriteFile("drive_d/FONTS", "a file in the way");
    folder.WriteFile("drive_d/DISK/FONTDRV.DLL", "x");
    Add(kFlagSystemFile, '2', "FONTDRV.DLL");
    installer->installationState = InstallationState::Installed;
    EXPECT_EQ(Run(), CopyOutcome::Failed);
    EXPECT_EQ(installer->installationState, InstallationState::Installed);
    ASSERT_EQ(frontend.boxes.size(), 1u);
    EXPECT_EQ(frontend.boxes[0].key, "125");
    EXPECT_TRUE(PostedSteps().empty());
}

} // namespace
} // namespace tl::test
