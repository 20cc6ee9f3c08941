// A whole run whose setup the scenario list cannot say: an installation copied to the hard disk.
#include "scenario.h"

#include <gmock/gmock.h>

namespace tl::test {
namespace {

using ::testing::ElementsAre;

TEST_F(Scenario, SecondFontDiskIsFoundByItsTagFileOnDriveA) {
    // The installation was copied to the hard disk, but for its second font disk: the private
    // settings file points there, and drive A: holds the second disk.
    TempFolder copied;
    WriteStandardDisk(copied);
    std::filesystem::remove(copied.Root() / "DISK2.TAG");
    std::filesystem::remove(copied.Root() / "WIN95/TLGT.TT_");
    ScenarioMachine& pc = MakeMachine();
    std::filesystem::copy(copied.Root(), pc.Root() / "drive_c/TLSETUP",
                          std::filesystem::copy_options::recursive);
    pc.Write("C:\\WINDOWS\\tlsetup.ini", "[Install]\r\nDiskPath=C:\\TLSETUP\\\r\n");
    disk.WriteFile("INSTALL.INF", copied.ReadFile("INSTALL.INF"));
    disk.WriteFile("DISK2.TAG", "Telmora Font Disk 2\r\n");
    disk.WriteFile("TLGT.TTF", std::string(2000, 'g'));
    answers = "[Messages]\n139=No\n142=No\n";

    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    EXPECT_THAT(run.Story(),
                ElementsAre("message 139 no", "message 142 no", "message 143 yes",
                            "dialog DIRECTORY 1", "dialog FONT 1",
                            "addfont C:\\WINDOWS\\FONTS\\TLMJ.TTF", "beep", "message 128 ok",
                            "addfont C:\\WINDOWS\\FONTS\\TLGT.TTF", "dialog COPYING -",
                            "broadcast WM_FONTCHANGE", "message 156 ok", "end 4 0"));
    EXPECT_EQ(run.transcript.Message("128").value("text", ""),
              "삽입하세요 Telmora Font Disk 2 디스크 드라이브에 넣으세요.");
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\FONTS\\TLGT.TTF"), std::string(2000, 'g'));
    // The disk counter moved with the confirmed disk change.
    EXPECT_EQ(Setting("File0202"), "C:\\WINDOWS\\FONTS\\TLGT.TTF");
}

} // namespace
} // namespace tl::test
