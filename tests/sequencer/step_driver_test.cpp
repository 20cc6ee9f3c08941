// The driver step's own rules: the version pass over the copy list, and a copy run that stops.
#include "driver_disk.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

using test::SequencerMachine;
using test::WriteDriverDisk;

const std::string kModelsWithDeviceDriver = [] {
    std::string models(test::kModels);
    const std::string files = "[Files.Driver]\nTL600.DRV\nTLDEMO.PRN\nTLUI.DLL\n";
    models.replace(models.find(files), files.size(), files + "TLPORT.386\n");
    return models;
}();

// Both the driver and the device driver are installed already; the user keeps one of them.
std::string RunKeeping(SequencerMachine& machine) {
    WriteDriverDisk(machine, "", test::kManufacturer, kModelsWithDeviceDriver);
    machine.WriteWindowsFile("SYSTEM/TL600.DRV", "old driver");
    machine.WriteWindowsFile("SYSTEM/TLPORT.386", "old port");
    machine.WriteWindowsFile("SYSTEM.INI", "[386Enh]\ndevice=*vmm\n");
    EXPECT_TRUE(machine.Run());
    EXPECT_FALSE(machine.StopReason());
    std::string flags;
    const CopyList& list = machine.Get().copyList;
    for (std::size_t i = 0; i < list.Count(); ++i)
        flags += static_cast<char>(list.Flag(i) & 0x7F);
    return flags;
}

TEST(DriverStep, KeepingADeviceDriverSkipsItAlone) {
    SequencerMachine machine("[VER_CHECK#2]\nPress=Escape\n");
    // TL600.DRV, TLDEMO.PRN (a demonstration file, never copied here), TLUI.DLL, TLPORT.386.
    EXPECT_EQ(RunKeeping(machine), "1010");
    EXPECT_EQ(machine.ModalDialogs(), (std::vector<std::string>{"VER_CHECK", "VER_CHECK"}));
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM/TL600.DRV"), "driver");
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM/TLPORT.386"), "old port");
}

TEST(DriverStep, KeepingAnyOtherFileKeepsTheWholeDriverButNotTheDeviceDrivers) {
    SequencerMachine machine("[VER_CHECK#1]\nPress=Escape\n");
    EXPECT_EQ(RunKeeping(machine), "0002");
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM/TL600.DRV"), "old driver");
    EXPECT_FALSE(machine.WindowsFileExists("SYSTEM/TLUI.DLL"));
    EXPECT_EQ(machine.ReadWindowsFile("SYSTEM/TLPORT.386"), "port");
    // The device line makes a restart necessary.
    EXPECT_EQ(machine.Get().installationState, 5);
}

TEST(DriverStep, ACopyRunThatStopsIsNotReportedAsInstalled) {
    // The system directory cannot be made on a write-protected drive: the copy engine reports
    // it and stops without a failure state of its own.
    SequencerMachine machine("", "[Machine]\nSystemDirectory=C:\\WINDOWS\\SYSNEW\n"
                                 "[Drive.C]\nReadOnly=1\n");
    WriteDriverDisk(machine);
    ASSERT_TRUE(machine.Run());
    EXPECT_EQ(machine.steps, (std::vector<UINT>{400, 404}));
    ASSERT_FALSE(machine.Boxes().empty());
    EXPECT_EQ(machine.Boxes().back().request.key, "153");
    EXPECT_EQ(machine.Get().installationState, 1);
    EXPECT_EQ(machine.Get().changeBits & kChangeDriverInstalled, 0u);
}

} // namespace
} // namespace tl
