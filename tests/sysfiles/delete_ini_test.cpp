#include "resources/string_table.h"
#include "state/inf_query.h"
#include "support/installer_harness.h"
#include "sysfiles/delete_ini.h"

#include <gtest/gtest.h>

#include <string>

namespace tl::test {
namespace {

TEST(DeleteIniTest, NoticeModeTellsThenRemovesAndSkipsTheRest) {
    InstallerHarness pc;
    pc.SetPaths();
    pc.MainWindow();
    Installer& installer = pc.Get();
    installer.printerName = "Telmora P-200";
    installer.installationState = InstallationState::Installed;
    installer.languageIndex = 7;
    pc.WriteWindowsFile("WIN.INI", "[windows]\r\nload=OLD.EXE\r\nrun=OLDMON.EXE\r\n");
    pc.WriteDiskFile("INSTALL.INF",
                     "[DeleteIni]\r\n\"6:Alpha or Beta\"\r\n21:WIN.INI,windows,load,0:OLD.EXE,Q\r\n"
                     "21:WIN.INI,windows,run,0:OLDMON.EXE,Q\r\n0:off\r\n"
                     "21:WIN.INI,windows,run,0:OLDMON.EXE,Q\r\n1:on\r\n");
    ASSERT_EQ(LoadInf(installer.scripts, pc.Ports().files, "A:\\INSTALL.INF").status,
              InfLoadStatus::Loaded);
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
