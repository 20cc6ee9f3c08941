#include "ini_edit_fixture.h"

#include "resources/string_table.h"
#include "state/inf_query.h"
#include "sysfiles/delete_ini.h"
#include "sysfiles/ini_edit.h"
#include "sysfiles/waiting_dialog.h"

#include <gtest/gtest.h>

#include <string>

namespace tl {
namespace {

std::string Text(unsigned id) {
    return std::string(LookupString(id).value_or(""));
}

class DeleteIniTest : public test::IniEditFixture {
protected:
    void LoadScript(const std::string& text) {
        Write("drive_c/SETUP/INSTALL.INF", text);
        ASSERT_EQ(
            LoadInf(installer->scripts, machine->GetPlatform().files, "C:\\SETUP\\INSTALL.INF")
                .status,
            InfLoadStatus::Loaded);
    }
};

constexpr const char* kSystemIni = "drive_c/WINDOWS/SYSTEM.INI";
constexpr const char* kWinIni = "drive_c/WINDOWS/WIN.INI";
const std::string kWinIniText = "[windows]\r\nload=OLD.EXE\r\nrun=OLDMON.EXE\r\n";
const std::string kSystemIniText = "[386Enh]\r\ndevice=PM.386,OTHER.386\r\n";

const std::string kAskScript = "[DeleteIni]\r\n"
                               "\"5:Alpha or Beta\"\r\n"
                               "21:WIN.INI,windows,load,0:OLD.EXE,Q\r\n"
                               "21:WIN.INI,windows,run,0:OLDMON.EXE,Q\r\n"
                               "[VxD]\r\n"
                               "0:PM.386\r\n";

TEST_F(DeleteIniTest, WithoutTheSectionNothingHappens) {
    LoadScript("[VxD]\r\n0:PM.386\r\n");
    EXPECT_EQ(ApplyDeleteIni(*installer), 0);
    EXPECT_TRUE(frontend.dialogs.empty());
    EXPECT_TRUE(windows.IsWindowEnabled(installer->mainWindow));
}

TEST_F(DeleteIniTest, DeclinedRemovalTakesTheOwnPortMonitorOutOfSystemIni) {
    Write(kWinIni, kWinIniText);
    Write(kSystemIni, kSystemIniText);
    LoadScript(kAskScript);
    installer->languageIndex = 2;
    frontend.boxAnswers = {IDNO};

    EXPECT_EQ(ApplyDeleteIni(*installer), 1);
    // No sets the mode to "0": the second action line is not carried out.
    ASSERT_EQ(frontend.boxes.size(), 1u);
    const ui::MessageBoxRequest& box = frontend.boxes[0];
    EXPECT_EQ(box.key, "101");
    EXPECT_EQ(box.caption, Text(163));
    EXPECT_EQ(box.type, MB_YESNO | MB_ICONEXCLAMATION);
    const std::string t = "Alpha oder Beta";
    EXPECT_EQ(box.text,
              Text(101) + t + Text(102) + Text(103) + Text(104) + t + Text(105) + t + Text(106));

    EXPECT_EQ(Read(kWinIni), kWinIniText);
    EXPECT_EQ(Read(kSystemIni), "[386Enh]\r\ndevice=OTHER.386\r\n"
                                ";Removed by Telmora Printer Driver Setup: "
                                "device=PM.386,OTHER.386\r\n");
    EXPECT_EQ(installer->installationState, InstallationState::Installed);
    EXPECT_FALSE(installer->iniEdit.declined);
    EXPECT_EQ(Setting(kSystemIniBackupKey), "C:\\WINDOWS\\SYSTEM.B00");
    EXPECT_TRUE(windows.IsWindowEnabled(installer->mainWindow));
}

TEST_F(DeleteIniTest, YesRemovesLaterLinesWithoutAskingAndNeedsARestart) {
    Write(kWinIni, kWinIniText);
    Write(kSystemIni, kSystemIniText);
    LoadScript(kAskScript);
    installer->changeBits = 2;
    frontend.boxAnswers = {IDYES};

    EXPECT_EQ(ApplyDeleteIni(*installer), 1);
    EXPECT_EQ(frontend.boxes.size(), 1u);
    EXPECT_NE(frontend.boxes[0].text.find("Alpha or Beta"), std::string::npos);
    EXPECT_EQ(Read(kWinIni), "[windows]\r\n;Q load=OLD.EXE\r\n;Q run=OLDMON.EXE\r\n");
    EXPECT_EQ(Read(kSystemIni), kSystemIniText);
    EXPECT_EQ(installer->installationState, InstallationState::RestartNeeded);
    EXPECT_EQ(installer->iniEdit.modeText, "3:Alpha or Beta");
}

TEST_F(DeleteIniTest, NoticeModeTellsThenRemovesAndSkipsTheRest) {
    Write(kWinIni, kWinIniText);
    LoadScript("[DeleteIni]\r\n"
               "\"6:Alpha or Beta\"\r\n"
               "21:WIN.INI,windows,load,0:OLD.EXE,Q\r\n"
               "21:WIN.INI,windows,run,0:OLDMON.EXE,Q\r\n"
               "0:off\r\n"
               "21:WIN.INI,windows,run,0:OLDMON.EXE,Q\r\n"
               "1:on\r\n");
    installer->languageIndex = 7;

    EXPECT_EQ(ApplyDeleteIni(*installer), 1);
    ASSERT_EQ(frontend.boxes.size(), 1u);
    const ui::MessageBoxRequest& box = frontend.boxes[0];
    EXPECT_EQ(box.key, "107");
    EXPECT_EQ(box.type, MB_OK | MB_ICONEXCLAMATION);
    const std::string t = "Alpha  Beta";
    std::string status = Text(111);
    status.replace(status.find("%s"), 2, "Telmora P-200");
    EXPECT_EQ(box.text, Text(107) + t + Text(108) + Text(109) + t + Text(110) + t + status +
                            Text(112) + t + Text(113) + t + Text(114));
    EXPECT_EQ(Read(kWinIni), "[windows]\r\n;Q load=OLD.EXE\r\nrun=OLDMON.EXE\r\n");
    EXPECT_EQ(installer->installationState, InstallationState::Installed);
}

TEST_F(DeleteIniTest, WaitingDialogShowsItsTextWhileTheFilesAreEdited) {
    Write(kSystemIni, kSystemIniText);
    LoadScript("[DeleteIni]\r\n3:x\r\n20:SYSTEM.INI,386Enh,device,1:OTHER.386,R\r\n");
    EXPECT_EQ(ApplyDeleteIni(*installer), 1);
    ASSERT_EQ(frontend.dialogs.size(), 1u);
    const ui::DialogRecord& waiting = frontend.dialogs[0];
    EXPECT_EQ(waiting.name, "WAITING");
    EXPECT_EQ(waiting.opened.caption, Text(211));
    ASSERT_NE(waiting.opened.Find(kWaitingTextId), nullptr);
    EXPECT_EQ(waiting.opened.Find(kWaitingTextId)->text, Text(212));
    EXPECT_EQ(Read(kSystemIni), "[386Enh]\r\n;R device=PM.386,OTHER.386\r\n");
    EXPECT_TRUE(windows.IsWindowEnabled(installer->mainWindow));
}

} // namespace
} // namespace tl
