// The chain of step messages: which step follows which outcome, run through the main window.
#include "driver_disk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace tl {
namespace {

using test::SequencerMachine;
using test::WriteDriverDisk;
using Steps = std::vector<UINT>;
using Keys = std::vector<std::string>;

constexpr UINT kDriver = 400;
constexpr UINT kDemo = 405;
constexpr UINT kFonts = 403;
constexpr UINT kFinish = 404;

// One run on the standard disk (INSTALL.INF with `install` added), changed by `prepare`.
struct Outcome {
    const char* name;
    std::string answers;
    std::string machineIni;
    std::string install;
    std::function<void(SequencerMachine&)> prepare;
    Steps steps;
    Keys keys;
};

void Check(const Outcome& run) {
    SCOPED_TRACE(run.name);
    SequencerMachine machine(run.answers, run.machineIni);
    WriteDriverDisk(machine, run.install);
    if (run.prepare)
        run.prepare(machine);
    ASSERT_TRUE(machine.Run());
    EXPECT_FALSE(machine.StopReason()) << *machine.StopReason();
    EXPECT_EQ(machine.steps, run.steps);
    EXPECT_EQ(machine.BoxKeys(), run.keys);
}

void Remove(SequencerMachine& m, const std::string& name) {
    std::filesystem::remove(m.Folder().Root() / "disk" / name);
}

TEST(StepChain, AnInstalledDriverGoesThroughEveryStep) {
    SequencerMachine machine;
    WriteDriverDisk(machine);
    ASSERT_TRUE(machine.Run());
    EXPECT_EQ(machine.steps, (Steps{kDriver, kDemo, kFonts, kFinish}));
    EXPECT_EQ(machine.BoxKeys(), (Keys{"139", "156"}));
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM/TL600.DRV"), "driver");
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM/TLUI.DLL"), "interface");
    EXPECT_FALSE(machine.WindowsFileExists("SYSTEM/TLDEMO.PRN")); // not part of the driver
    Installer& installer = machine.Get();
    EXPECT_EQ(installer.installationState, InstallationState::Installed);
    EXPECT_EQ(installer.changeBits, kChangeDriverInstalled);
    EXPECT_FALSE(installer.renames.Held());
    EXPECT_FALSE(machine.Windows().IsWindow(installer.mainWindow));
    EXPECT_FALSE(installer.scripts.Current());
    EXPECT_TRUE(machine.HasEvent("broadcast", {"WM_DEVMODECHANGE", "Telmora 600"}));
}

// The other outcomes, cancelling included, are walked end to end by the scenario chain.
TEST(StepChain, AnUnreadableCatalogueEndsTheDriverStep) {
    Check({"catalogue unreadable",
           "",
           "",
           "",
           [](SequencerMachine& m) {
               Remove(m, "WIN95/OEMSETUP.INF");
               m.Folder().MakeDirectory("disk/WIN95/OEMSETUP.INF");
           },
           {kDriver, kFinish},
           {"133"}});
}

TEST(StepChain, AfterADriverTheDemonstrationFileIsTheDriversWhateverTheScriptSays) {
    SequencerMachine installed;
    WriteDriverDisk(installed, "[DEMOFILE]\nfile = 1:OTHER.PRN\n");
    ASSERT_TRUE(installed.Run());
    EXPECT_EQ(installed.ReadWindowsFile("SYSTEM/TLDEMO.PRN"), "demonstration");
    const CopyList& list = installed.Get().copyList;
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.Flag(0), '3');
}

TEST(StepChain, UnderTheSwitchOnlyTheFontsStepRunsAfterTwoSeconds) {
    SequencerMachine machine;
    WriteDriverDisk(machine, test::kFontSections);
    machine.WriteWindowsFile("tlsetup.ini", "[Install]\nLanguage=7\n");
    ASSERT_TRUE(machine.Run("/ND"));
    EXPECT_EQ(machine.steps, (Steps{kDriver, kFonts, kFinish}));
    ASSERT_FALSE(machine.Timers().empty());
    EXPECT_EQ(machine.Timers()[0], (std::pair<UINT_PTR, std::uint64_t>{1, 2000}));
    EXPECT_EQ(machine.BoxKeys().front(), "143");
    EXPECT_EQ(machine.Get().languageCode, "ITA");
    EXPECT_EQ(machine.ReadWindowsFile("FONTS/GOTHIC.TTF"), "gothic");
    EXPECT_FALSE(machine.WindowsFileExists("SYSTEM/TL600.DRV"));
}

TEST(StepChain, ADestroyedMainWindowReleasesTheRenameListAndEndsTheLoop) {
    SequencerMachine machine;
    WriteDriverDisk(machine);
    ASSERT_TRUE(machine.StartUp());
    ASSERT_TRUE(machine.Get().renames.Create(64));
    machine.Windows().DestroyWindow(machine.Get().mainWindow);
    EXPECT_FALSE(machine.Get().renames.Held());
    machine.Loop(); // returns: the quit message was posted
    EXPECT_FALSE(machine.StopReason());
}

} // namespace
} // namespace tl
