// The steps' own ends that the whole-program scenarios do not reach: faults, stops and the
// last step's rules, run through the main window.
#include "driver_disk.h"
#include "sequencer/language_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace tl {
namespace {

using test::InstallerHarness;
using test::WriteDriverDisk;
using Keys = std::vector<std::string>;
using Steps = std::vector<UINT>;

InstallerHarness Machine(std::string_view answers = "", std::string_view machineIni = "") {
    return InstallerHarness(test::HarnessOptions().Answers(answers).Ini(machineIni));
}

struct ShortRun {
    const char* name;
    std::string answers;
    std::string machineIni;
    std::string install;
    std::string manufacturer;
    std::function<void(InstallerHarness&)> prepare;
    Steps steps;
    Keys keys;
    InstallationState state;
};

TEST(StepChain, WaysARunEndsShortOfAnInstallation) {
    const ShortRun runs[] = {
        {"AnUnreadableCatalogueEndsTheDriverStep",
         "",
         "",
         "",
         std::string(test::kManufacturer),
         [](InstallerHarness& m) {
             std::filesystem::remove(m.Folder().Root() / "disk/WIN95/OEMSETUP.INF");
             m.Folder().MakeDirectory("disk/WIN95/OEMSETUP.INF");
         },
         {400, 404},
         {"133"},
         InstallationState::NotStarted},
        // The system directory cannot be made on a write-protected drive: the copy engine
        // reports it and stops without a failure state of its own.
        {"ACopyRunThatStopsIsNotReportedAsInstalled",
         "",
         "[Machine]\nSystemDirectory=C:\\WINDOWS\\SYSNEW\n[Drive.C]\nReadOnly=1\n",
         "",
         std::string(test::kManufacturer),
         nullptr,
         {400, 404},
         {"139", "125", "153"},
         InstallationState::Failed},
        // Disk 2 has no section in INSTALL.INF: the copy run takes its cancellation exit, which
        // posts the last step itself, once.
        {"ACancelledFontCopyEndsOnceAndClaimsNothing",
         "[Messages]\n139=No\n",
         "",
         "[TRUETYPEFONTS]\nFontList = Gothic\n[NEEDED.SPACE]\nGothic = 10,0\n"
         "[Gothic.TrueType]\n2:GOTHIC.TTF, 0:\"Telmora Gothic\"\n",
         std::string(test::kManufacturer),
         nullptr,
         {400, 405, 403, 404},
         {"139", "143"},
         InstallationState::NotStarted},
        {"NoKnownEditionFinishes",
         "",
         "",
         "",
         "[Manufacturer]\n\"Telmora Korean\"=Models.ENU\nJapanese\n",
         nullptr,
         {400, 404},
         {"Error", "Error"},
         InstallationState::NotStarted},
    };
    for (const ShortRun& run : runs) {
        SCOPED_TRACE(run.name);
        InstallerHarness machine = Machine(run.answers, run.machineIni);
        WriteDriverDisk(machine, run.install, run.manufacturer);
        if (run.prepare)
            run.prepare(machine);
        ASSERT_TRUE(machine.Run());
        EXPECT_FALSE(machine.StopReason());
        EXPECT_EQ(machine.Steps(), run.steps);
        EXPECT_EQ(machine.BoxKeys(), run.keys);
        EXPECT_EQ(machine.Get().installationState, run.state);
        EXPECT_EQ(machine.Get().changeBits & kChangeDriverInstalled, 0u);
        EXPECT_FALSE(machine.Get().scripts.Current());
    }
}

TEST(StepChain, ADestroyedMainWindowReleasesTheRenameListAndEndsTheLoop) {
    InstallerHarness machine = Machine();
    WriteDriverDisk(machine);
    ASSERT_TRUE(machine.StartUp());
    ASSERT_TRUE(machine.Get().renames.Create(64));
    machine.Windows().DestroyWindow(machine.Get().mainWindow);
    EXPECT_FALSE(machine.Get().renames.Held());
    machine.Loop(); // returns: the quit message was posted
    EXPECT_FALSE(machine.StopReason());
}

TEST(FontsStep, AMissingOrEmptyInstallInfIsReportedWithoutOwner) {
    const struct {
        const char* name;
        bool missing;
        std::string key;
        std::string text;
    } cases[] = {{"missing", true, "132", "INSTALL.INF 찾을수 없습니다."},
                 {"empty", false, "131", "정보화일을 읽을수 없습니다."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InstallerHarness machine = Machine();
        WriteDriverDisk(machine, test::kFontSections);
        ASSERT_TRUE(machine.StartUp());
        if (c.missing)
            std::filesystem::remove(machine.Folder().Root() / "disk/INSTALL.INF");
        else
            machine.WriteDiskFile("INSTALL.INF", "");
        machine.RunFrom(403);
        EXPECT_EQ(machine.Steps(), (Steps{403, 404}));
        ASSERT_EQ(machine.BoxKeys(), (Keys{c.key}));
        const ui::MessageBoxRequest& box = machine.Boxes()[0].request;
        EXPECT_EQ(machine.Utf8(box.text), c.text);
        EXPECT_EQ(machine.Utf8(box.caption), "드라이버 설치");
        EXPECT_EQ(box.type, MB_OK | MB_ICONHAND);
        EXPECT_FALSE(box.owner);
    }
}

// Runs step 404 alone after start-up with INSTALL.INF = `script` and tlsetup.ini's [Install] =
// `settings`, arriving with the installation state and change bits.
void RunFinish(InstallerHarness& machine, InstallationState state, unsigned bits,
               const std::string& script = "", const std::string& settings = "") {
    machine.WriteDiskFile("INSTALL.INF", "[CheckECP]\n0\n" + script);
    machine.WriteWindowsFile("tlsetup.ini", "[Install]\n" + settings);
    ASSERT_TRUE(machine.StartUp());
    machine.Get().installationState = state;
    machine.Get().changeBits = bits;
    machine.RunFrom(404);
    EXPECT_FALSE(machine.StopReason());
    EXPECT_FALSE(machine.Windows().IsWindow(machine.Get().mainWindow));
    EXPECT_FALSE(machine.Get().scripts.Current());
}

// Which backups were named, the reboot modes and the restart marker are shown end to end by the
// finish scenarios.
TEST(FinishStep, BackupNoticesNeedTheirChangeBitAndARecordOfThisRun) {
    const struct {
        const char* name;
        std::string settings;
        unsigned bits;
    } cases[] = {
        {"no records", "", kChangeDriverInstalled | kChangeSystemIni},
        {"one-character records", "BFileWinIni=E\nBFileSysIni=0\n",
         kChangeDriverInstalled | kChangeSystemIni},
        {"an earlier run's records", "BFileWinIni=C:\\WINDOWS\\WIN.B07\n",
         kChangeDriverInstalled | kChangeSystemIni},
        {"nothing changed", "BFileWinIni=C:\\WINDOWS\\WIN.B00\nBFileSysIni=C:\\WINDOWS\\S.B00\n",
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InstallerHarness machine = Machine();
        RunFinish(machine, InstallationState::Installed, c.bits, "", c.settings);
        EXPECT_EQ(machine.BoxKeys(), (Keys{"156"}));
    }
}

TEST(FinishStep, TheOutcomeFollowsTheStateAndAlwaysNamesThePrinter) {
    const struct {
        InstallationState state;
        Keys keys;
        const char* text;
        UINT icon;
    } cases[] = {
        {InstallationState::NotStarted, {}, "", 0},
        {InstallationState::Failed, {"153"}, "Printer 드라이버 설치에 실패했습니다.", MB_ICONHAND},
        {InstallationState::Installed,
         {"156"},
         "Printer 드라이버 설치를 마쳤습니다.",
         MB_ICONASTERISK}};
    for (const auto& c : cases) {
        SCOPED_TRACE(StateNumber(c.state));
        InstallerHarness machine = Machine();
        RunFinish(machine, c.state, 0);
        ASSERT_EQ(machine.BoxKeys(), c.keys);
        EXPECT_EQ(machine.Get().installationState, c.state);
        if (c.keys.empty())
            continue;
        const ui::MessageBoxRequest& box = machine.Boxes()[0].request;
        EXPECT_EQ(machine.Utf8(box.text), c.text);
        EXPECT_EQ(machine.Utf8(box.caption), "드라이버 설치");
        EXPECT_EQ(box.type, MB_OK | c.icon);
        EXPECT_EQ(box.owner, machine.Get().mainWindow);
    }
}

TEST(FinishStep, TheIniFilesAreEditedOnlyAfterAnInstalledDriver) {
    const std::string script =
        "[DeleteIni]\n3\n21:WIN.INI, windows, load, 0:TLSTAT.EXE, \"Off:\"\n";
    for (InstallationState state : {InstallationState::Failed, InstallationState::Installed}) {
        SCOPED_TRACE(StateNumber(state));
        InstallerHarness machine = Machine();
        machine.WriteWindowsFile("WIN.INI", "[windows]\nload=TLSTAT.EXE\n");
        RunFinish(machine, state, kChangeDriverInstalled, script);
        const bool edited = machine.ReadWindowsFile("WIN.INI").find("Off:") != std::string::npos;
        EXPECT_EQ(edited, state == InstallationState::Installed);
    }
}

TEST(ManufacturerLanguage, TheFirstFourLettersAfterTheBracketNameTheLanguage) {
    EXPECT_EQ(ManufacturerLanguage("Telmora (deutsch)"), 2);
    EXPECT_EQ(ManufacturerLanguage("Telmora [DEUTSCHLAND"), 2);
    EXPECT_EQ(ManufacturerLanguage("English"), 0);
    EXPECT_EQ(ManufacturerLanguage("Telmora (Francais)"), 1); // "&Fran" ends at its NUL
    EXPECT_EQ(ManufacturerLanguage("(Norsk)"), 4);            // "Nors&k" without its "&"
    EXPECT_EQ(ManufacturerLanguage("Telmora (Spain)"), 8);
    // The text before the bracket does not count; without a bracket the whole name does.
    EXPECT_EQ(ManufacturerLanguage("Deutsch (Korea)"), std::nullopt);
    EXPECT_EQ(ManufacturerLanguage("Telmora Deutsch"), std::nullopt);
}

} // namespace
} // namespace tl
