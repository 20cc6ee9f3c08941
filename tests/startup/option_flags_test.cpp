#include "startup/option_flags.h"

#include "sequencer/configuration.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace tl {
namespace {

// The flags start-up gave on a disk whose INSTALL.INF is `script`; ecpCheck is set only when the
// ECP search also wrote its answer to WIN.INI.
OptionFlags Configure(std::string_view script, std::string_view commandLine = "",
                      std::string_view machineIni = "") {
    test::InstallerHarness machine(test::HarnessOptions().Ini(machineIni));
    machine.WriteDiskFile("INSTALL.INF", script);
    machine.Get().commandLine = std::string(commandLine);
    EXPECT_EQ(Configuration(machine.Get()), 1);
    OptionFlags flags = machine.Get().options;
    const bool searched = machine.ReadWindowsFile("WIN.INI").find("[tlsetup]") != std::string::npos;
    EXPECT_EQ(flags.ecpCheck, searched);
    return flags;
}

std::string Bits(const OptionFlags& f) {
    std::string bits;
    for (bool bit : {f.driverPath, f.fontList, f.portDriverMessage, f.demoFiles, f.deleteInstaller,
                     f.versionText, f.addPrinterMode, f.versionType, f.ecpCheck})
        bits += bit ? '1' : '0';
    return bits + std::to_string(f.rebootMode);
}

TEST(Flags, SampleDisk) {
    std::stringstream text;
    text << std::ifstream(TL_SOURCE_DIR "/examples/disk/INSTALL.INF", std::ios::binary).rdbuf();
    EXPECT_EQ(Bits(Configure(text.str())), "1111010011");
}

// Bits: driverPath fontList portDriverMessage demoFiles deleteInstaller versionText
// addPrinterMode versionType ecpCheck, then the reboot mode.
TEST(Flags, FirstLinesCompareWhole) {
    const struct {
        const char* script;
        const char* commandLine;
        const char* machineIni;
        const char* bits;
    } cases[] = {
        {"[Other]\nx\n", "", "", "0000000010"}, // a missing [CheckECP] asks for the search
        {"[DEL.INST]\nTRUE\n[VERSION_TYPE]\n1\n[WIN95SETUP]\n01\n[REBOOTSYSTEM]\n3\n"
         "[TRUETYPEFONTS]\nFontList =\n[CheckECP]\n0\n",
         "", "", "0000000100"},
        {"[DEL.INST]\n1\n[REBOOTSYSTEM]\n2\n[CheckECP]\n0\n", "", "", "0000100002"},
        {"[WIN95SETUP]\n1\n[CheckECP]\n0\n", "", "", "0000001000"},
        {"[WIN95SETUP]\n1\n[CheckECP]\n0\n", "", "[Machine]\nVersion=3.51\n", "0000000000"},
        {"[CheckECP]\n1\n", "/ND", "", "0000000000"},
        // Only the exact switch counts: "/nd" is an ordinary command line.
        {"[CheckECP]\n1\n", "/nd", "", "0000000010"},
        {"[VxD]\nmessage = TRUE\n[CheckECP]\n0\n", "", "", "0000000000"},
        // Read with the INI function, and upper-cased before it is compared.
        {"[VxD]\n0:TLPM.386\nmessage = true\n[CheckECP]\n0\n", "", "", "0010000000"},
        {"[VxD]\n0:TLPM.386\nmessage = yes\n[CheckECP]\n0\n", "", "", "0000000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Bits(Configure(c.script, c.commandLine, c.machineIni)), c.bits)
            << c.script << c.commandLine;
    EXPECT_FALSE(IsNoDriverSwitch("/ND "));
    EXPECT_TRUE(IsAddPrinterVersion(0x5A03)); // 3.90
    EXPECT_FALSE(IsAddPrinterVersion(0x5903));
    EXPECT_TRUE(IsAddPrinterVersion(0x0004));
    EXPECT_TRUE(IsAddPrinterVersion(0x80000A04u));
}

} // namespace
} // namespace tl
