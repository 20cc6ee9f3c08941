#include "startup/option_flags.h"

#include "sequencer/configuration.h"
#include "startup_machine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace tl {
namespace {

class Flags : public ::testing::Test {
protected:
    // Start-up on a disk whose INSTALL.INF is `script`; the flags it gave.
    const OptionFlags& Configure(std::string_view script, std::string_view commandLine = "",
                                 test::StartupMachine* on = nullptr) {
        test::StartupMachine& m = on ? *on : machine;
        m.WriteDiskFile("INSTALL.INF", script);
        m.Get().commandLine = std::string(commandLine);
        EXPECT_EQ(Configuration(m.Get()), 1);
        return m.Get().options;
    }

    test::StartupMachine machine;
};

TEST_F(Flags, SampleDisk) {
    std::ifstream file(TL_SOURCE_DIR "/examples/disk/INSTALL.INF", std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    const OptionFlags& flags = Configure(text.str());
    EXPECT_TRUE(flags.driverPath);
    EXPECT_TRUE(flags.fontList);
    EXPECT_TRUE(flags.portDriverMessage);
    EXPECT_TRUE(flags.demoFiles);
    EXPECT_FALSE(flags.deleteInstaller);
    EXPECT_EQ(flags.rebootMode, 1);
    EXPECT_TRUE(flags.versionText);
    EXPECT_TRUE(flags.ecpCheck);
    EXPECT_TRUE(machine.EcpSearched());
    EXPECT_FALSE(flags.addPrinterMode);
    EXPECT_FALSE(flags.versionType);
    EXPECT_EQ(machine.Get().paths.sourceDir, "A:\\WIN95");
}

TEST_F(Flags, EmptyScriptSetsNothingButTheEcpCheck) {
    const OptionFlags& flags = Configure("[Other]\nx\n");
    EXPECT_FALSE(flags.driverPath || flags.fontList || flags.portDriverMessage || flags.demoFiles ||
                 flags.deleteInstaller || flags.versionText || flags.addPrinterMode ||
                 flags.versionType);
    EXPECT_EQ(flags.rebootMode, 0);
    // A missing [CheckECP] asks for the search.
    EXPECT_TRUE(flags.ecpCheck);
    EXPECT_TRUE(machine.EcpSearched());
}

TEST_F(Flags, FirstLinesCompareWhole) {
    const OptionFlags& flags = Configure("[DEL.INST]\nTRUE\n[VERSION_TYPE]\n1\n[WIN95SETUP]\n01\n"
                                         "[REBOOTSYSTEM]\n3\n[TRUETYPEFONTS]\nFontList =\n");
    EXPECT_FALSE(flags.deleteInstaller);
    EXPECT_TRUE(flags.versionType);
    EXPECT_FALSE(flags.addPrinterMode);
    EXPECT_EQ(flags.rebootMode, 0);
    EXPECT_FALSE(flags.fontList);

    test::StartupMachine other;
    EXPECT_TRUE(Configure("[DEL.INST]\n1\n[REBOOTSYSTEM]\n2\n", "", &other).deleteInstaller);
    EXPECT_EQ(other.Get().options.rebootMode, 2);
}

TEST_F(Flags, AddPrinterModeNeedsWindows95) {
    EXPECT_TRUE(Configure("[WIN95SETUP]\n1\n").addPrinterMode);
    test::StartupMachine nt("[Machine]\nVersion=3.51\n");
    EXPECT_FALSE(Configure("[WIN95SETUP]\n1\n", "", &nt).addPrinterMode);

    EXPECT_TRUE(IsAddPrinterVersion(0x5A03)); // 3.90
    EXPECT_FALSE(IsAddPrinterVersion(0x5903));
    EXPECT_TRUE(IsAddPrinterVersion(0x0004));
    EXPECT_TRUE(IsAddPrinterVersion(0x80000A04u));
}

TEST_F(Flags, EcpSearchIsSkippedByTheSwitchOrTheScript) {
    EXPECT_FALSE(Configure("[CheckECP]\n0\n").ecpCheck);
    EXPECT_FALSE(machine.EcpSearched());

    test::StartupMachine noDriver;
    EXPECT_FALSE(Configure("[CheckECP]\n1\n", "/ND", &noDriver).ecpCheck);
    EXPECT_FALSE(noDriver.EcpSearched());

    // Only the exact switch counts: "/nd" is an ordinary command line.
    test::StartupMachine lower;
    EXPECT_TRUE(Configure("[CheckECP]\n1\n", "/nd", &lower).ecpCheck);
    EXPECT_TRUE(lower.EcpSearched());
    EXPECT_FALSE(IsNoDriverSwitch("/nd"));
    EXPECT_FALSE(IsNoDriverSwitch("/ND "));
}

TEST_F(Flags, PortDriverMessageNeedsTwoVxdLines) {
    EXPECT_FALSE(Configure("[VxD]\nmessage = TRUE\n").portDriverMessage);
    test::StartupMachine two;
    // Read with the INI function, and upper-cased before it is compared.
    EXPECT_TRUE(Configure("[VxD]\n0:TLPM.386\nmessage = true\n", "", &two).portDriverMessage);
    test::StartupMachine other;
    EXPECT_FALSE(Configure("[VxD]\n0:TLPM.386\nmessage = yes\n", "", &other).portDriverMessage);
}

} // namespace
} // namespace tl
