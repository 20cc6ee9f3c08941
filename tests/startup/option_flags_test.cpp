#include "startup/option_flags.h"

#include "sequencer/configuration.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace tl {
namespace {

// Start-up on a disk whose INSTALL.INF is `script`: the flags it gave, and whether the ECP search
// ran (it always writes its answer to WIN.INI).
struct Started {
    OptionFlags flags;
    bool ecpSearched = false;
    std::string sourceDir;
};

Started Configure(std::string_view script, std::string_view commandLine = "",
                  std::string_view machineIni = "") {
    test::InstallerHarness machine(test::HarnessOptions().Ini(machineIni));
    machine.WriteDiskFile("INSTALL.INF", script);
    machine.Get().commandLine = std::string(commandLine);
    EXPECT_EQ(Configuration(machine.Get()), 1);
    return {machine.Get().options,
            machine.ReadWindowsFile("WIN.INI").find("[tlsetup]") != std::string::npos,
            machine.Get().paths.sourceDir};
}

TEST(Flags, SampleDisk) {
    std::ifstream file(TL_SOURCE_DIR "/examples/disk/INSTALL.INF", std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    const Started started = Configure(text.str());
    const OptionFlags& flags = started.flags;
    EXPECT_TRUE(flags.driverPath && flags.fontList && flags.portDriverMessage && flags.demoFiles &&
                flags.versionText && flags.ecpCheck && started.ecpSearched);
    EXPECT_FALSE(flags.deleteInstaller || flags.addPrinterMode || flags.versionType);
    EXPECT_EQ(flags.rebootMode, 1);
    EXPECT_EQ(started.sourceDir, "A:\\WIN95");
}

TEST(Flags, EmptyScriptSetsNothingButTheEcpCheck) {
    const Started started = Configure("[Other]\nx\n");
    const OptionFlags& flags = started.flags;
    EXPECT_FALSE(flags.driverPath || flags.fontList || flags.portDriverMessage || flags.demoFiles ||
                 flags.deleteInstaller || flags.versionText || flags.addPrinterMode ||
                 flags.versionType);
    EXPECT_EQ(flags.rebootMode, 0);
    // A missing [CheckECP] asks for the search.
    EXPECT_TRUE(flags.ecpCheck && started.ecpSearched);
}

TEST(Flags, FirstLinesCompareWhole) {
    const OptionFlags flags = Configure("[DEL.INST]\nTRUE\n[VERSION_TYPE]\n1\n[WIN95SETUP]\n01\n"
                                        "[REBOOTSYSTEM]\n3\n[TRUETYPEFONTS]\nFontList =\n")
                                  .flags;
    EXPECT_FALSE(flags.deleteInstaller || flags.addPrinterMode || flags.fontList);
    EXPECT_TRUE(flags.versionType);
    EXPECT_EQ(flags.rebootMode, 0);
    const OptionFlags other = Configure("[DEL.INST]\n1\n[REBOOTSYSTEM]\n2\n").flags;
    EXPECT_TRUE(other.deleteInstaller);
    EXPECT_EQ(other.rebootMode, 2);
}

TEST(Flags, AddPrinterModeNeedsWindows95) {
    EXPECT_TRUE(Configure("[WIN95SETUP]\n1\n").flags.addPrinterMode);
    EXPECT_FALSE(
        Configure("[WIN95SETUP]\n1\n", "", "[Machine]\nVersion=3.51\n").flags.addPrinterMode);
    EXPECT_TRUE(IsAddPrinterVersion(0x5A03)); // 3.90
    EXPECT_FALSE(IsAddPrinterVersion(0x5903));
    EXPECT_TRUE(IsAddPrinterVersion(0x0004));
    EXPECT_TRUE(IsAddPrinterVersion(0x80000A04u));
}

TEST(Flags, EcpSearchIsSkippedByTheSwitchOrTheScript) {
    const struct {
        const char* script;
        const char* commandLine;
        bool searched;
    } cases[] = {{"[CheckECP]\n0\n", "", false},
                 {"[CheckECP]\n1\n", "/ND", false},
                 // Only the exact switch counts: "/nd" is an ordinary command line.
                 {"[CheckECP]\n1\n", "/nd", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.script) + c.commandLine);
        const Started started = Configure(c.script, c.commandLine);
        EXPECT_EQ(started.flags.ecpCheck, c.searched);
        EXPECT_EQ(started.ecpSearched, c.searched);
    }
    EXPECT_FALSE(IsNoDriverSwitch("/ND "));
}

TEST(Flags, PortDriverMessageNeedsTwoVxdLines) {
    EXPECT_FALSE(Configure("[VxD]\nmessage = TRUE\n").flags.portDriverMessage);
    // Read with the INI function, and upper-cased before it is compared.
    EXPECT_TRUE(Configure("[VxD]\n0:TLPM.386\nmessage = true\n").flags.portDriverMessage);
    EXPECT_FALSE(Configure("[VxD]\n0:TLPM.386\nmessage = yes\n").flags.portDriverMessage);
}

} // namespace
} // namespace tl
