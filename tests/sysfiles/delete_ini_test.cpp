#include "resources/string_table.h"
#include "state/inf_query.h"
#include "support/installer_harness.h"
#include "sysfiles/delete_ini.h"

#include <gtest/gtest.h>

#include <string>

namespace tl::test {
namespace {

// [DeleteIni] run over WIN.INI and SYSTEM.INI; a question answered yes or no and a notice are
// the scenarios' (full install, refused removal).
class DeleteIniTest : public ::testing::Test {
protected:
    void SetUp() override {
        pc.SetPaths();
        pc.MainWindow();
        installer.printerName = "Telmora P-200";
        installer.installationState = InstallationState::Installed;
        pc.WriteWindowsFile("WIN.INI", kWinIni);
        pc.WriteWindowsFile("SYSTEM.INI", kSystemIni);
    }
    void LoadScript(const std::string& text) {
        pc.WriteDiskFile("INSTALL.INF", text);
        ASSERT_EQ(LoadInf(installer.scripts, pc.Ports().files, "A:\\INSTALL.INF").status,
                  InfLoadStatus::Loaded);
    }
    static constexpr const char* kWinIni = "[windows]\r\nload=OLD.EXE\r\nrun=OLDMON.EXE\r\n";
    static constexpr const char* kSystemIni = "[386Enh]\r\ndevice=PM.386,OTHER.386\r\n";
    InstallerHarness pc;
    Installer& installer = pc.Get();
};

TEST_F(DeleteIniTest, NoticeModeTellsThenRemovesAndSkipsTheRest) {
    LoadScript("[DeleteIni]\r\n\"6:Alpha or Beta\"\r\n21:WIN.INI,windows,load,0:OLD.EXE,Q\r\n"
               "21:WIN.INI,windows,run,0:OLDMON.EXE,Q\r\n0:off\r\n"
               "21:WIN.INI,windows,run,0:OLDMON.EXE,Q\r\n1:on\r\n");
    installer.languageIndex = 7;
    EXPECT_EQ(ApplyDeleteIni(installer), 1);
    ASSERT_EQ(pc.BoxKeys(), std::vector<std::string>{"107"});
    const ui::MessageBoxRequest& box = pc.Boxes()[0].request;
    EXPECT_EQ(box.type, MB_OK | MB_ICONEXCLAMATION);
    const std::string t = "Alpha  Beta";
    std::string status = Text(111);
    status.replace(status.find("%s"), 2, "Telmora P-200");
    EXPECT_EQ(box.text, Text(107) + t + Text(108) + Text(109) + t + Text(110) + t + status +
                            Text(112) + t + Text(113) + t + Text(114));
    EXPECT_EQ(pc.ReadWindowsFile("WIN.INI"), "[windows]\r\n;Q load=OLD.EXE\r\nrun=OLDMON.EXE\r\n");
    EXPECT_EQ(installer.installationState, InstallationState::Installed);
}

} // namespace
} // namespace tl::test
