// The last step's reports: backups, the restart marker, the port-driver note, the Add-Printer
// advice and the outcome, each with its caption and icon.
#include "sequencer_machine.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

using test::SequencerMachine;
using Keys = std::vector<std::string>;

constexpr UINT kFinish = 404;
constexpr std::string_view kScript = "[CheckECP]\n0\n";

// Runs step 404 alone on a machine that started up with INSTALL.INF = kScript + `script` and
// tlsetup.ini's [Install] = `settings`, arriving with the installation state, change bits and the
// backups this run recorded.
void RunFinish(SequencerMachine& machine, InstallationState state, unsigned bits,
               const std::string& script = "", const std::string& settings = "",
               const RunBackups& backups = {}) {
    machine.WriteDiskFile("INSTALL.INF", std::string(kScript) + script);
    machine.WriteWindowsFile("tlsetup.ini", "[Install]\n" + settings);
    ASSERT_TRUE(machine.StartUp());
    machine.Get().installationState = state;
    machine.Get().changeBits = bits;
    machine.Get().backups = backups;
    machine.RunFrom(kFinish);
    EXPECT_FALSE(machine.StopReason());
    EXPECT_FALSE(machine.Windows().IsWindow(machine.Get().mainWindow));
    EXPECT_FALSE(machine.Get().scripts.Current());
}

void ExpectBox(SequencerMachine& machine, std::string_view key, std::string_view text,
               std::string_view caption, UINT type) {
    const test::ShownBox* box = machine.FindBox(key);
    ASSERT_NE(box, nullptr) << key;
    EXPECT_EQ(machine.Utf8(box->request.text), text);
    EXPECT_EQ(machine.Utf8(box->request.caption), caption);
    EXPECT_EQ(box->request.type, type);
    EXPECT_EQ(box->request.owner, machine.Get().mainWindow);
}

TEST(FinishStep, BackupsOfThisRunAreNamedByTheirFileName) {
    SequencerMachine machine;
    // The settings file's records are an earlier installation's: only this run's are named.
    RunFinish(machine, InstallationState::Installed, kChangeDriverInstalled | kChangeSystemIni, "",
              "BFileWinIni=C:\\WINDOWS\\WIN.B07\nBFileSysIni=C:\\WINDOWS\\SYSTEM.B09\n",
              RunBackups{"A:SYSTEM.B01", "C:\\WINDOWS\\WIN.B03"});
    EXPECT_EQ(machine.BoxKeys(), (Keys{"158", "157", "156"}));
    ExpectBox(machine, "158",
              "WIN.INI화일이 변경되었습니다.\n 백업화일은 WIN.B03로 저장되었습니다.!", "주의",
              MB_OK | MB_ICONEXCLAMATION);
    ExpectBox(machine, "157",
              "SYSTEM.INI화일이 변경되었습니다.\n 백업화일은 SYSTEM.B01로 저장되었습니다.!", "주의",
              MB_OK | MB_ICONEXCLAMATION);
    ExpectBox(machine, "156", "Printer 드라이버 설치를 마쳤습니다.", "드라이버 설치",
              MB_OK | MB_ICONASTERISK);
    EXPECT_EQ(machine.Get().printerName, "Printer");
}

TEST(FinishStep, BackupNoticesNeedTheirChangeBitAndARecord) {
    struct Case {
        const char* name;
        std::string settings;
        unsigned bits;
    };
    const Case cases[] = {
        {"no records", "", kChangeDriverInstalled | kChangeSystemIni},
        {"one-character records", "BFileWinIni=E\nBFileSysIni=0\n",
         kChangeDriverInstalled | kChangeSystemIni},
        {"nothing changed", "BFileWinIni=C:\\WINDOWS\\WIN.B00\nBFileSysIni=C:\\WINDOWS\\S.B00\n",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SequencerMachine machine;
        RunFinish(machine, InstallationState::Installed, c.bits, "", c.settings);
        EXPECT_EQ(machine.BoxKeys(), (Keys{"156"}));
    }
}

TEST(FinishStep, TheOutcomeFollowsTheStateAndAlwaysNamesThePrinter) {
    struct Case {
        InstallationState state;
        Keys keys;
    };
    for (const Case& c :
         {Case{InstallationState::NotStarted, Keys{}}, Case{InstallationState::Failed, Keys{"153"}},
          Case{InstallationState::Installed, Keys{"156"}}}) {
        SCOPED_TRACE(StateNumber(c.state));
        SequencerMachine machine;
        RunFinish(machine, c.state, 0);
        EXPECT_EQ(machine.BoxKeys(), c.keys);
        EXPECT_EQ(machine.Get().installationState, c.state);
    }
    SequencerMachine failed;
    RunFinish(failed, InstallationState::Failed, 0);
    ExpectBox(failed, "153", "Printer 드라이버 설치에 실패했습니다.", "드라이버 설치",
              MB_OK | MB_ICONHAND);
}

TEST(FinishStep, TheRestartMarkerMeansARestartAndIsTakenAway) {
    SequencerMachine machine("", "[Atoms]\nbi-di.386=1\n");
    ASSERT_NE(machine.Get().platform.system.GlobalFindAtom("bi-di.386"), 0);
    RunFinish(machine, InstallationState::NotStarted, 0);
    EXPECT_EQ(machine.Get().installationState, InstallationState::RestartNeeded);
    EXPECT_EQ(machine.Get().platform.system.GlobalFindAtom("bi-di.386"), 0);
    // Without a reboot mode the user is told to restart.
    EXPECT_EQ(machine.BoxKeys(), (Keys{"215"}));
    ExpectBox(machine, "215", "윈도우를 재시작해야 설치된 프로그램이 유효하게 됩니다 !!",
              "드라이버 설치", MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(machine.Dialogs().empty());
}

// The reboot modes and the port-driver note are shown end to end by the finish scenario.

TEST(FinishStep, AddPrinterModeExplainsTheWizardInsteadOfAnOutcome) {
    SequencerMachine machine;
    RunFinish(machine, InstallationState::RestartNeeded, 0, "[WIN95SETUP]\n1\n");
    EXPECT_EQ(machine.BoxKeys(), (Keys{"178"}));
    const test::ShownBox* box = machine.FindBox("178");
    ASSERT_NE(box, nullptr);
    const std::string text = machine.Utf8(box->request.text);
    EXPECT_EQ(text.find("이 윈도우에서는 프린터를"), 0u);
    EXPECT_NE(text.find("\"프린터 추가\"를 두 번 클릭하세요.\n제조업체와"), std::string::npos);
    EXPECT_TRUE(text.ends_with("화면의 지시에 따르세요."));
    EXPECT_EQ(box->request.type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(machine.Dialogs().empty());
}

TEST(FinishStep, TheIniFilesAreEditedOnlyAfterAnInstalledDriver) {
    const std::string script =
        "[DeleteIni]\n3\n21:WIN.INI, windows, load, 0:TLSTAT.EXE, \"Off:\"\n";
    for (InstallationState state : {InstallationState::Failed, InstallationState::Installed}) {
        SCOPED_TRACE(StateNumber(state));
        SequencerMachine machine;
        machine.WriteWindowsFile("WIN.INI", "[windows]\nload=TLSTAT.EXE\n");
        RunFinish(machine, state, kChangeDriverInstalled, script);
        const bool edited = machine.ReadWindowsFile("WIN.INI").find("Off:") != std::string::npos;
        EXPECT_EQ(edited, state == InstallationState::Installed);
    }
}

} // namespace
} // namespace tl
