// The chain of step messages: which step follows which outcome, run through the main window.
#include "driver_disk.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

using test::SequencerMachine;
using test::WriteDriverDisk;
using Steps = std::vector<UINT>;

constexpr UINT kDriver = 400;
constexpr UINT kDemo = 405;
constexpr UINT kFonts = 403;
constexpr UINT kFinish = 404;
using Keys = std::vector<std::string>;

TEST(StepChain, AnInstalledDriverGoesThroughEveryStep) {
    SequencerMachine machine;
    WriteDriverDisk(machine);
    ASSERT_TRUE(machine.Run());
    EXPECT_FALSE(machine.StopReason());
    EXPECT_EQ(machine.steps, (Steps{kDriver, kDemo, kFonts, kFinish}));
    EXPECT_EQ(machine.BoxKeys(), (Keys{"139", "156"}));
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM/TL600.DRV"), "driver");
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM/TLUI.DLL"), "interface");
    // The demonstration file is not part of the driver.
    EXPECT_FALSE(machine.WindowsFileExists("SYSTEM/TLDEMO.PRN"));
    Installer& installer = machine.Get();
    EXPECT_EQ(installer.installationState, 4);
    EXPECT_EQ(installer.changeBits & 2u, 2u);
    EXPECT_FALSE(installer.renames.Held());
    EXPECT_FALSE(machine.Windows().IsWindow(installer.mainWindow));
    EXPECT_FALSE(installer.scripts.Current());

    bool broadcast = false;
    for (const PlatformEvent& event : machine.Events()) {
        if (event.event == "broadcast" && event.fields.size() == 2 &&
            std::get<std::string>(event.fields[0].second) == "WM_DEVMODECHANGE") {
            broadcast = true;
            EXPECT_EQ(std::get<std::string>(event.fields[1].second), "Telmora 600");
        }
    }
    EXPECT_TRUE(broadcast);
}

TEST(StepChain, DeclinedAndInapplicableDriverStepsPassToTheFonts) {
    struct Case {
        const char* name;
        std::string extraInstall;
        std::string machineIni;
        std::string commandLine;
        std::string catalogue;
        Keys keys;
    };
    const std::string noSpace = "[Drive.C]\nFreeBytes=50000\n";
    const Case cases[] = {
        {"Add-Printer mode", "[WIN95SETUP]\n1\n", "", "", "", Keys{"178"}},
        {"no catalogue section", "", "", "", "[Models]\nx=y\n", Keys{}},
        {"not enough space", "", noSpace, "", "", Keys{"139", "148"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SequencerMachine machine("", c.machineIni);
        WriteDriverDisk(machine, c.extraInstall);
        if (!c.catalogue.empty())
            machine.WriteDiskFile("WIN95/OEMSETUP.INF", c.catalogue);
        ASSERT_TRUE(machine.Run(c.commandLine));
        EXPECT_EQ(machine.steps, (Steps{kDriver, kFonts, kFinish}));
        EXPECT_EQ(machine.BoxKeys(), c.keys);
        EXPECT_FALSE(machine.WindowsFileExists("SYSTEM/TL600.DRV"));
        EXPECT_EQ(machine.Get().changeBits, 0u);
    }
}

TEST(StepChain, WithoutADriverPathNothingIsAsked) {
    SequencerMachine machine;
    machine.WriteDiskFile("INSTALL.INF", "[CheckECP]\n0\n[OEM.INF]\nOEMSETUP.INF\n");
    machine.WriteDiskFile("OEMSETUP.INF", std::string(test::kManufacturer) + test::kModels.data());
    ASSERT_TRUE(machine.Run());
    EXPECT_EQ(machine.steps, (Steps{kDriver, kFonts, kFinish}));
    EXPECT_TRUE(machine.Boxes().empty());
}

TEST(StepChain, UnderTheSwitchOnlyTheFontsStepRunsAfterTwoSeconds) {
    SequencerMachine machine;
    WriteDriverDisk(machine, test::kFontSections);
    machine.WriteWindowsFile("tlsetup.ini", "[Install]\nLanguage=7\n");
    ASSERT_TRUE(machine.Run("/ND"));
    EXPECT_FALSE(machine.StopReason()) << *machine.StopReason();
    EXPECT_EQ(machine.steps, (Steps{kDriver, kFonts, kFinish}));
    ASSERT_FALSE(machine.Timers().empty());
    EXPECT_EQ(machine.Timers()[0], (std::pair<UINT_PTR, std::uint64_t>{1, 2000}));
    // The fonts question comes first: nothing about the driver.
    ASSERT_FALSE(machine.Boxes().empty());
    EXPECT_EQ(machine.Boxes()[0].request.key, "143");
    EXPECT_EQ(machine.Get().languageIndex, 7);
    EXPECT_EQ(machine.Get().languageCode, "ITA");
    EXPECT_EQ(machine.Get().changeBits & 2u, 0u);
    EXPECT_EQ(machine.ReadWindowsFile("FONTS/GOTHIC.TTF"), "gothic");
    EXPECT_FALSE(machine.WindowsFileExists("SYSTEM/TL600.DRV"));
}

TEST(StepChain, NoToTheDriverGoesToTheDemonstrationFile) {
    SequencerMachine machine("[Messages]\n139=No\n");
    WriteDriverDisk(machine, "[DEMOFILE]\nfile = 1:TLDEMO.PRN\n");
    ASSERT_TRUE(machine.Run());
    EXPECT_EQ(machine.steps, (Steps{kDriver, kDemo, kFonts, kFinish}));
    EXPECT_EQ(machine.BoxKeys(), (Keys{"139", "142", "156"}));
    // The copy list was empty: INSTALL.INF names the file, which goes to the system directory.
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM/TLDEMO.PRN"), "demonstration");
    EXPECT_FALSE(machine.WindowsFileExists("SYSTEM/TL600.DRV"));
}

TEST(StepChain, TheDemonstrationFileOfTheDriverIsCopiedAfterIt) {
    SequencerMachine machine;
    WriteDriverDisk(machine, "[DEMOFILE]\nfile = 1:OTHER.PRN\n");
    ASSERT_TRUE(machine.Run());
    EXPECT_EQ(machine.steps, (Steps{kDriver, kDemo, kFonts, kFinish}));
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM/TLDEMO.PRN"), "demonstration");
    const CopyList& list = machine.Get().copyList;
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.Flag(0), '3');
    EXPECT_EQ(list.Name(0), "TLDEMO.PRN");
}

TEST(StepChain, TheDemonstrationStepPassesOnWhateverItDecides) {
    struct Case {
        const char* name;
        std::string answers;
        std::string machineIni;
        std::string demoFile; // "" leaves the file off the disk
        Steps steps;
        Keys keys;
    };
    const Case cases[] = {
        {"declined", "[Messages]\n139=No\n142=No\n", "", "x",
         Steps{kDriver, kDemo, kFonts, kFinish}, Keys{"139", "142"}},
        // 100 KB for the driver fit, 400 KB for the demonstration file do not.
        {"no room", "", "[Drive.C]\nFreeBytes=300000\n", "x",
         Steps{kDriver, kDemo, kFonts, kFinish}, Keys{"139", "142", "148", "156"}},
        // A file that cannot be copied fails the installation and ends it.
        {"copy failed", "[Messages]\n139=No\n", "", "", Steps{kDriver, kDemo, kFinish},
         Keys{"139", "142", "153"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SequencerMachine machine(c.answers, c.machineIni);
        WriteDriverDisk(machine, "[DEMOFILE]\nfile = 1:DEMO.PRN\n");
        if (!c.demoFile.empty())
            machine.WriteDiskFile("WIN95/DEMO.PRN", c.demoFile);
        ASSERT_TRUE(machine.Run());
        EXPECT_EQ(machine.steps, c.steps);
        EXPECT_EQ(machine.BoxKeys(), c.keys);
    }
}

TEST(StepChain, WithoutDemonstrationFilesTheStepIsSilent) {
    SequencerMachine machine("[Messages]\n139=No\n");
    WriteDriverDisk(machine);
    ASSERT_TRUE(machine.Run());
    EXPECT_EQ(machine.steps, (Steps{kDriver, kDemo, kFonts, kFinish}));
    EXPECT_EQ(machine.BoxKeys(), (Keys{"139"}));
    EXPECT_EQ(machine.Get().installationState, 0);
}

TEST(StepChain, CancelsAndFailuresOfTheDriverStepFinish) {
    struct Case {
        const char* name;
        std::string answers;
        std::string registry;
        std::function<void(SequencerMachine&)> prepare;
        Keys keys;
    };
    const std::string printerTaken =
        "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\Print\\Environments\\"
        "Windows 4.0\\Drivers\\Telmora 600]\r\n\"Driver\"=\"TL600.DRV\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\Print\\Printers\\"
        "Telmora 600]\r\n\"Port\"=\"LPT1:\"\r\n\"Printer Driver\"=\"Telmora 600\"\r\n\r\n";
    const auto twoModels = [](SequencerMachine& m) {
        m.WriteDiskFile(
            "WIN95/OEMSETUP.INF",
            std::string(test::kManufacturer) +
                "[Models.ENU]\n\"Telmora 600\"=TL600\n\"Telmora 300\"=TL600\n" +
                std::string(test::kModels).substr(std::string(test::kModels).find("[TL600]")));
    };
    const Case cases[] = {
        {"catalogue missing", "", "",
         [](SequencerMachine& m) {
             m.WriteDiskFile("INSTALL.INF", "[CheckECP]\n0\n[OEM.INF]\nNOWHERE.INF\n"
                                            "[PRINTERDRIVER]\nPath = WIN95\n");
         },
         Keys{"132"}},
        {"catalogue empty", "", "",
         [](SequencerMachine& m) { m.WriteDiskFile("WIN95/OEMSETUP.INF", ""); }, Keys{"131"}},
        {"catalogue unreadable", "", "",
         [](SequencerMachine& m) {
             std::filesystem::remove(m.Folder().Root() / "disk/WIN95/OEMSETUP.INF");
             m.Folder().MakeDirectory("disk/WIN95/OEMSETUP.INF");
         },
         Keys{"133"}},
        {"no catalogue named", "", "",
         [](SequencerMachine& m) { m.WriteDiskFile("INSTALL.INF", "[CheckECP]\n0\n"); },
         Keys{"132"}},
        {"model dialog cancelled", "[SELECTDRV]\nPress=118\n[Messages]\n123=Yes\n", "", twoModels,
         Keys{"139", "123"}},
        {"model section faulty", "", "",
         [](SequencerMachine& m) {
             m.WriteDiskFile("WIN95/OEMSETUP.INF", std::string(test::kManufacturer) +
                                                       "[Models.ENU]\n\"Telmora 600\"=MISSING\n");
         },
         Keys{"139", "131"}},
        {"printer name abandoned", "[PRINTERNAME]\nPress=2\n[Messages]\n123=Yes\n", printerTaken,
         [](SequencerMachine&) {}, Keys{"139", "123"}},
        {"a driver file missing", "", "",
         [](SequencerMachine& m) {
             std::filesystem::remove(m.Folder().Root() / "disk/WIN95/TLUI.DLL");
         },
         Keys{"139", "153"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SequencerMachine machine(c.answers, "", c.registry);
        WriteDriverDisk(machine);
        c.prepare(machine);
        ASSERT_TRUE(machine.Run());
        EXPECT_FALSE(machine.StopReason()) << *machine.StopReason();
        EXPECT_EQ(machine.steps, (Steps{kDriver, kFinish}));
        EXPECT_EQ(machine.BoxKeys(), c.keys);
        EXPECT_EQ(machine.Get().changeBits & 2u, 0u);
    }
}

TEST(StepChain, ADestroyedMainWindowReleasesTheRenameListAndEndsTheLoop) {
    SequencerMachine machine;
    WriteDriverDisk(machine);
    ASSERT_TRUE(machine.StartUp());
    Installer& installer = machine.Get();
    ASSERT_TRUE(installer.renames.Create(64));
    machine.Windows().DestroyWindow(installer.mainWindow);
    EXPECT_FALSE(installer.renames.Held());
    machine.Loop(); // returns: the quit message was posted
    EXPECT_FALSE(machine.StopReason());
    EXPECT_TRUE(machine.steps.empty());
}

} // namespace
} // namespace tl
