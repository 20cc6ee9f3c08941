#include "support/installer_harness.h"
#include "sysfiles/ecp_ports.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tl::test {
namespace {

// The detection on a PC whose registry holds `registry` (REGEDIT4 lines) and whose WIN.INI holds
// `winIni`: the answers for LPT1-LPT3 it wrote to WIN.INI ("-" for none), and what it returned.
struct Detection {
    explicit Detection(const std::string& registry, const char* winIni = nullptr,
                       bool readOnly = false)
        : pc(HarnessOptions().Registry(registry)) {
        if (winIni)
            pc.WriteWindowsFile("WIN.INI", winIni);
        if (readOnly)
            std::filesystem::permissions(pc.Folder().Root() / "drive_c/WINDOWS/WIN.INI",
                                         std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::remove);
        error = DetectEcpPorts(pc.Ports().registry, pc.Ports().profile);
        for (const char* port : {"LPT1", "LPT2", "LPT3"})
            answers += pc.IniValue("WIN.INI", "tlsetup", port, "-");
    }
    InstallerHarness pc;
    DWORD error = 0;
    std::string answers;
};

std::string Instance(const std::string& key, const std::string& instance,
                     const std::string& portName) {
    return "[HKEY_LOCAL_MACHINE\\" + key + "\\" + instance + "]\r\n\"PortName\"=\"" + portName +
           "\"\r\n\r\n";
}

TEST(DetectEcpPortsTest, EachOfTheFourKeysMarksItsPorts) {
    const std::string root = "Enum\\Root\\*PNP0401", bios = "Enum\\BIOS\\*CPQA0E0";
    std::string nine; // eight instances are examined under a key, the next key afresh
    for (int i = 0; i < 7; ++i)
        nine += Instance(root, "000" + std::to_string(i), "LPT9");
    nine += Instance(root, "0007", "LPT2") + Instance(root, "0008", "LPT1") +
            Instance(bios, "0000", "LPT3");
    const std::pair<std::string, const char*> cases[] = {
        {Instance("Enum\\Root\\*PNP0400", "0000", "LPT1"), "000"}, // a plain printer port
        {Instance("Enum\\BIOS\\*PNP0401", "0000", "LPT2"), "010"}, // the four keys are one loop
        {Instance(root, "0000", "LPT3") + Instance(bios, "0000", "LPT1"), "101"},
        {Instance(root, "0000", "ECP2") + Instance(root, "0001", "LPT") +
             Instance(root, "0002", "LPT4") + Instance(root, "0003", "LPT0") +
             "[HKEY_LOCAL_MACHINE\\" + root + "\\0004]\r\n\"Name\"=\"LPT1\"\r\n\r\n",
         "010"},
        // A name that does not fit the 80-byte buffer cannot be read, so it marks nothing.
        {Instance(root, "0000", "LPT3" + std::string(76, 'x')) +
             Instance(root, "0001", "LPT1" + std::string(75, 'x')),
         "100"},
        {nine, "011"},
    };
    for (const auto& [registry, answers] : cases) {
        SCOPED_TRACE(registry.substr(0, 60));
        EXPECT_EQ(Detection(registry).answers, answers);
    }
}

// Earlier answers are replaced and the rest of WIN.INI kept.
TEST(DetectEcpPortsTest, AWinIniThatCannotBeWrittenIsReportedWithItsError) {
    const char* winIni =
        "[windows]\r\nload=\r\n\r\n[tlsetup]\r\nLPT1=1\r\nLPT2=1\r\nLPT3=1\r\nOther=5\r\n";
    Detection found(Instance("Enum\\Root\\*CPQA0E0", "0000", "LPT2"), winIni);
    EXPECT_EQ(found.answers, "010");
    EXPECT_EQ(found.pc.ReadWindowsFile("WIN.INI"),
              "[windows]\r\nload=\r\n\r\n[tlsetup]\r\nLPT1=0\r\nLPT2=1\r\nLPT3=0\r\nOther=5\r\n");
    EXPECT_EQ(found.error, 0u);
    Detection readOnly("", winIni, true);
    EXPECT_EQ(readOnly.answers, "111");
    EXPECT_EQ(readOnly.error, 5u);
}

} // namespace
} // namespace tl::test
