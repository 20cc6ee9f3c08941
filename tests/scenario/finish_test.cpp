// The last step: the restart marker, the ways a restart is offered, and the INI editing when the
// user refuses a removal.
#include "scenario.h"

#include <gmock/gmock.h>

namespace tl::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

TEST_F(Scenario, RestartMarkerMakesTheRunNeedARestartOfferedByTheRebootMode) {
    struct Case {
        const char* rebootMode;
        const char* answers;
        std::vector<std::string> tail;
    };
    const std::vector<Case> cases{
        {"0", "", {"message 165 ok", "message 215 ok"}},
        {"1", "", {"message 165 ok", "restart 0", "dialog WIN_RESTART 1"}},
        {"2", "", {"message 165 ok", "restart 2", "dialog WIN_RESTART 1"}},
        {"2", "[WIN_RESTART]\nPress=1021\n", {"message 165 ok", "dialog WIN_RESTART 0"}},
    };
    WriteStandardDisk(disk);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("reboot mode ") + c.rebootMode + " " + c.answers);
        disk.Write("INSTALL.INF", Replaced(kInstallInf, "[REBOOTSYSTEM]\n1\n",
                                           std::string("[REBOOTSYSTEM]\n") + c.rebootMode + "\n"));
        MakeMachine({"--atom", "bi-di.386"});
        answers = std::string("[Messages]\n139=No\n142=No\n143=No\n") + c.answers;

        RunOutcome run = Run();
        ASSERT_TRUE(run.Ended()) << run.program.err;
        std::vector<std::string> story{"message 139 no", "message 142 no", "message 143 no"};
        story.insert(story.end(), c.tail.begin(), c.tail.end());
        story.push_back("end 5 0");
        EXPECT_THAT(run.Story(), ElementsAreArray(story));
        nlohmann::json notice = run.transcript.Message("165");
        EXPECT_EQ(notice.value("caption", ""), "주의");
        EXPECT_EQ(notice.value("icon", ""), "warning");
        EXPECT_EQ(notice.value("text", ""),
                  "프린터 포트 드라이버가 설치되었습니다.\n새 포트 드라이버는 윈도우를 재시작한 "
                  "후에 동작합니다.\n설치를 마친 후 윈도우를 재시작하세요.");
    }
}

TEST_F(Scenario, RefusedRemovalTakesTheInstallersOwnPortMonitorOutOfSystemIni) {
    WriteStandardDisk(disk);
    ScenarioMachine& pc = MakeMachine();
    pc.Write("C:\\WINDOWS\\SYSTEM.INI",
             Replaced(pc.Read("C:\\WINDOWS\\SYSTEM.INI"), "device=*vcd\r\n",
                      "device=*vcd\r\ndevice=BIDI.386\r\n"));
    answers = "[Messages]\n142=No\n143=No\n101=No\n";

    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    EXPECT_THAT(run.Story(), ElementsAre("message 139 yes", "message 175 ok", "dialog SELECTDRV 1",
                                         "dialog COPYING -", "broadcast WM_DEVMODECHANGE",
                                         "message 142 no", "message 143 no", "message 101 no",
                                         "dialog WAITING -", "message 157 ok", "message 165 ok",
                                         "restart 0", "dialog WIN_RESTART 1", "end 5 0"));
    nlohmann::json question = run.transcript.Message("101");
    EXPECT_EQ(question.value("caption", ""), "경고");
    EXPECT_EQ(question.value("buttons", ""), "yesno");
    EXPECT_NE(question.value("text", "").find("Bi-Di Status Monitor"), std::string::npos);

    const std::string systemIni = pc.Read("C:\\WINDOWS\\SYSTEM.INI");
    EXPECT_NE(systemIni.find("\r\ndevice=BIDI.386\r\n"), std::string::npos) << systemIni;
    EXPECT_NE(systemIni.find("\r\n;Removed by Telmora Printer Driver Setup: device=TLPM.386\r\n"),
              std::string::npos)
        << systemIni;
    // The backup reported is the one made before the device line was added.
    const std::string backup = Setting("BFileSysIni");
    EXPECT_EQ(pc.Read(backup).find("TLPM.386"), std::string::npos);
    EXPECT_EQ(pc.Read(backup).find("BIDI.386") != std::string::npos, true);
}

TEST_F(Scenario, HandedOverSettingsFileIsTheOneWrittenAndTheInstallersFilesGoAtTheEnd) {
    WriteStandardDisk(disk);
    disk.Write("INSTALL.INF", Replaced(kInstallInf, "[VxD]", "[DEL.INST]\n1\n\n[VxD]"));
    ScenarioMachine& pc = MakeMachine();
    pc.Write("C:\\WINDOWS\\~TL00001.txt", std::string("C:\\SETUP\\TELMORA.INI\0", 21));
    pc.Write("C:\\SETUP\\TELMORA.INI", "[Install]\r\nLanguage=0\r\n");
    pc.Write("C:\\WINDOWS\\SYSTEM\\TLINS32A.EXE", "installer");
    pc.Write("C:\\WINDOWS\\SYSTEM\\TLINS32A.DLL", "installer library");
    answers = "[Messages]\n142=No\n143=No\n";

    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    EXPECT_EQ(run.State(), 5);
    EXPECT_FALSE(pc.Exists("C:\\WINDOWS\\~TL00001.txt"));
    EXPECT_FALSE(pc.Exists("C:\\WINDOWS\\tlsetup.ini"));
    host::IniText settings = pc.Ini("C:\\SETUP\\TELMORA.INI");
    EXPECT_EQ(settings.Get("Install", "DriverName"), "Telmora 600");
    EXPECT_EQ(settings.Get("Install", "File0100"), "C:\\WINDOWS\\SYSTEM\\TL600.DRV");
    EXPECT_TRUE(settings.Get("Install", "BFileSysIni").has_value());
    EXPECT_FALSE(pc.Exists("C:\\WINDOWS\\SYSTEM\\TLINS32A.EXE"));
    EXPECT_FALSE(pc.Exists("C:\\WINDOWS\\SYSTEM\\TLINS32A.DLL"));
}

} // namespace
} // namespace tl::test
