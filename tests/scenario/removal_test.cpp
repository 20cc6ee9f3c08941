// Install, then remove: the machine folder must be as it was before the install, file for file
// and byte for byte (WIN.INI, SYSTEM.INI and registry.reg included), for each kind of
// installation, an interrupted one too; and the removal must keep what is not the
// installation's: earlier files, other printers, edits made since.
#include "scenario.h"

#include "support/folder_files.h"

#include <gmock/gmock.h>

#include <functional>
#include <map>

namespace tl::test {
namespace {

namespace fs = std::filesystem;

using Files = std::map<std::string, std::string>;

constexpr int kExitRemoved = 0;
constexpr int kExitRemovedRestart = 3010 % 256;
constexpr int kExitRemovalCancelled = 1602 % 256;
constexpr int kExitRemovalIncomplete = 1603 % 256;

class Removal : public Scenario {
protected:
    void SetUp() override {
        fs::copy(TL_SOURCE_DIR "/examples/disk", disk.Root(), fs::copy_options::recursive);
    }

    RunOutcome Remove(const std::string& removalAnswers = "") {
        answers = removalAnswers;
        return Run("", "tlremove");
    }

    // The report's text (UTF-8), the last message of the removal.
    static std::string Report(const RunOutcome& removal) {
        const auto messages = removal.transcript.Events("message");
        return messages.empty() ? "" : messages.back().value("text", "");
    }
};

struct RoundTrip {
    const char* name;
    int installExit;
    std::string answers = {};
    std::string commandLine = {};
    std::vector<std::string> machine = {};                                 // tlmachine init options
    std::function<void(ScenarioMachine&, const TempFolder&)> prepare = {}; // before the install
};

const std::vector<RoundTrip>& RoundTrips() {
    static const std::vector<RoundTrip> trips{
        {"DefaultInstall", kExitInstalledRestart},
        {"GermanLp300WithTwoFontsIntoTtf", kExitInstalledRestart,
         ReadBytes(TL_SOURCE_DIR "/examples/answers/deutsch-lp300.ini")},
        {"FontsOnly", kExitRemoved, "", "/ND"},
        // The third disk's tag is missing and the user cancels the disk question: the fonts
        // copied before stay installed.
        {"CancelledInTheFontCopy",
         kExitInstalledRestart,
         "[SelectDrive]\nPress=2\n",
         "",
         {},
         [](ScenarioMachine&, const TempFolder& disk) { fs::remove(disk.Root() / "DISK3.TAG"); }},
        {"BesideAForeignPrinterAndDriver",
         kExitInstalledRestart,
         "",
         "",
         {"--driver", "Other Laser", "--printer", "Other Laser"}},
        // An older TLCORE.DLL and a font file of the same name were there: both come back.
        {"OverEarlierFiles",
         kExitInstalledRestart,
         "",
         "",
         {},
         [](ScenarioMachine& pc, const TempFolder&) {
             pc.Write("C:\\WINDOWS\\SYSTEM\\TLCORE.DLL", "an older core");
             pc.Write("C:\\WINDOWS\\FONTS\\TLGT.TTF", "another font file");
         }},
    };
    return trips;
}

TEST_F(Removal, InstallThenRemoveLeavesThePcAsItWas) {
    for (const RoundTrip& trip : RoundTrips()) {
        SCOPED_TRACE(trip.name);
        fs::remove_all(disk.Root());
        fs::create_directories(disk.Root());
        SetUp();
        MakeMachine(trip.machine);
        if (trip.prepare)
            trip.prepare(Machine(), disk);
        const Files before = MachineFiles(Machine().Root());
        answers = trip.answers;
        RunOutcome install = Run(trip.commandLine);
        ASSERT_EQ(install.program.exitCode, trip.installExit) << install.program.err;
        ASSERT_NE(MachineFiles(Machine().Root()), before);

        RunOutcome removal = Remove();
        EXPECT_THAT(removal.program.exitCode, ::testing::AnyOf(kExitRemoved, kExitRemovedRestart))
            << removal.program.err;
        EXPECT_TRUE(removal.transcript.Events("error").empty());
        EXPECT_EQ(FolderDifferences(before, MachineFiles(Machine().Root())), "");

        // A second run finds nothing to do and says so.
        RunOutcome again = Remove();
        EXPECT_EQ(again.program.exitCode, kExitRemoved);
        EXPECT_THAT(again.Story(), ::testing::ElementsAre("message 303 ok", "end 4 0"));
        EXPECT_EQ(FolderDifferences(before, MachineFiles(Machine().Root())), "");
    }
}

// The process stops right after a write of the install (a crash, a power cut); the removal then
// takes out what it had done so far.
TEST_F(Removal, AnInterruptedInstallIsRemovedToo) {
    for (const int stopAfter : {3, 12, 25, 40, 60}) {
        SCOPED_TRACE("StopAfterWrite=" + std::to_string(stopAfter));
        MakeMachine();
        const Files before = MachineFiles(Machine().Root());
        AddMachineLines("[Faults]\nStopAfterWrite=" + std::to_string(stopAfter));
        RunOutcome install = Run();
        EXPECT_NE(install.program.exitCode, 0);
        DropMachineLines();

        RunOutcome removal = Remove();
        EXPECT_THAT(removal.program.exitCode, ::testing::AnyOf(kExitRemoved, kExitRemovedRestart))
            << removal.program.err;
        EXPECT_EQ(FolderDifferences(before, MachineFiles(Machine().Root())), "");
    }
}

TEST_F(Removal, EditsMadeSinceTheInstallStay) {
    MakeMachine();
    RunOutcome install = Run();
    ASSERT_EQ(install.program.exitCode, kExitInstalledRestart);
    ScenarioMachine& pc = Machine();
    // The user adds a device by hand; another program adds its own WIN.INI section.
    const std::string systemIni = pc.Read("C:\\WINDOWS\\SYSTEM.INI");
    pc.Write("C:\\WINDOWS\\SYSTEM.INI",
             Replaced(systemIni, "[386Enh]\r\n", "[386Enh]\r\ndevice=USERVXD.386\r\n"));
    pc.Write("C:\\WINDOWS\\WIN.INI",
             pc.Read("C:\\WINDOWS\\WIN.INI") + "[Other Program]\r\nSetting=1\r\n");

    RunOutcome removal = Remove();
    EXPECT_EQ(removal.program.exitCode, kExitRemovedRestart) << removal.program.err;
    EXPECT_EQ(pc.Ini("C:\\WINDOWS\\SYSTEM.INI").Get("386Enh", "device"), "USERVXD.386");
    EXPECT_THAT(pc.Read("C:\\WINDOWS\\SYSTEM.INI"), ::testing::Not(::testing::HasSubstr("TLPM")));
    EXPECT_EQ(pc.Ini("C:\\WINDOWS\\WIN.INI").Get("Other Program", "Setting"), "1");
    EXPECT_FALSE(pc.Exists("C:\\WINDOWS\\SYSTEM\\TL600.DRV"));
}

TEST_F(Removal, ACancelledRemovalChangesNothing) {
    MakeMachine();
    ASSERT_EQ(Run().program.exitCode, kExitInstalledRestart);
    const Files installed = MachineFiles(Machine().Root());
    RunOutcome removal = Remove("[Messages]\n300=No\n");
    EXPECT_EQ(removal.program.exitCode, kExitRemovalCancelled);
    EXPECT_THAT(removal.Story(), ::testing::ElementsAre("message 300 no", "end 0 0"));
    EXPECT_EQ(FolderDifferences(installed, MachineFiles(Machine().Root())), "");
}

// A file in use is reported and left; everything else goes, and the records stay so that a
// later run finishes the job.
TEST_F(Removal, AFileInUseIsLeftAndALaterRunFinishes) {
    MakeMachine();
    const Files before = MachineFiles(Machine().Root());
    ASSERT_EQ(Run().program.exitCode, kExitInstalledRestart);
    AddMachineLines("[InUse]\nC:\\WINDOWS\\SYSTEM\\TLCORE.DLL=1");

    RunOutcome removal = Remove();
    EXPECT_EQ(removal.program.exitCode, kExitRemovalIncomplete);
    EXPECT_THAT(Report(removal),
                ::testing::HasSubstr("사용중이라 남겨둠: C:\\WINDOWS\\SYSTEM\\TLCORE.DLL"));
    EXPECT_TRUE(Machine().Exists("C:\\WINDOWS\\SYSTEM\\TLCORE.DLL"));
    EXPECT_FALSE(Machine().Exists("C:\\WINDOWS\\SYSTEM\\TL600.DRV"));
    EXPECT_TRUE(Machine().Show()["printers"].empty());

    DropMachineLines();
    RunOutcome again = Remove();
    EXPECT_THAT(again.program.exitCode, ::testing::AnyOf(kExitRemoved, kExitRemovedRestart));
    EXPECT_EQ(FolderDifferences(before, MachineFiles(Machine().Root())), "");
}

// Records are untrusted: one naming a path outside the directories an installation writes to,
// or climbing out of one, is refused and the file stays.
TEST_F(Removal, RecordsOutsideTheInstallationsDirectoriesAreRefused) {
    MakeMachine();
    ScenarioMachine& pc = Machine();
    pc.Write("C:\\AUTOEXEC.BAT", "keep me");
    pc.Write("C:\\WINDOWS\\tlsetup.ini",
             "[Removal]\r\n"
             "Change0001=File|1|0|C:\\AUTOEXEC.BAT||\r\n"
             "Change0002=File|1|0|C:\\WINDOWS\\SYSTEM\\..\\..\\AUTOEXEC.BAT||\r\n"
             "Change0003=Directory|C:\\|\r\n"
             "Change0004=not a record\r\n");
    RunOutcome removal = Remove();
    EXPECT_EQ(removal.program.exitCode, kExitRemovalIncomplete);
    EXPECT_EQ(pc.Read("C:\\AUTOEXEC.BAT"), "keep me");
    const std::string report = Report(removal);
    EXPECT_THAT(report, ::testing::HasSubstr("거부함: C:\\AUTOEXEC.BAT"));
    EXPECT_THAT(report, ::testing::HasSubstr("거부함: C:\\WINDOWS\\SYSTEM\\..\\..\\AUTOEXEC.BAT"));
    EXPECT_THAT(report, ::testing::HasSubstr("거부함: Change0004"));
}

} // namespace
} // namespace tl::test
