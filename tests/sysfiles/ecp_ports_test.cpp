#include "sysfiles/ecp_ports.h"

#include "platform/host/iconv_code_page.h"
#include "platform/host/machine_config.h"
#include "platform/host/machine_path_resolver.h"
#include "platform/host/profile_host.h"
#include "platform/host/registry_host.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

namespace tl {
namespace {

class DetectEcpPortsTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine.MakeDirectory("drive_c/WINDOWS/SYSTEM");
        auto result = host::LoadMachineConfig(machine.Root(), codePage);
        ASSERT_TRUE(result.config) << result.error;
        config = *result.config;
        resolver.emplace(config, codePage);
        profile.emplace(*resolver, config.windowsDirectory);
    }

    // The registry holds exactly these REGEDIT4 lines (after the header).
    void WriteRegistry(const std::string& body) {
        machine.WriteFile("registry.reg", "REGEDIT4\r\n\r\n" + body);
    }

    // Runs the detection on a registry freshly read from registry.reg; the three answers.
    std::string Detect() {
        host::HostRegistry registry(machine.Root() / "registry.reg");
        std::string loadError;
        EXPECT_TRUE(registry.Load(loadError)) << loadError;
        error = DetectEcpPorts(registry, *profile);
        return Answer("LPT1") + Answer("LPT2") + Answer("LPT3");
    }

    std::string Answer(const char* key) {
        std::array<char, 16> buffer{};
        const DWORD length =
            profile->GetProfileString("tlsetup", key, "-", buffer.data(), buffer.size());
        return std::string(buffer.data(), length);
    }

    DWORD error = 0; // what the last detection returned
    test::TempMachine machine;
    host::IconvCodePage codePage;
    host::MachineConfig config;
    std::optional<host::MachinePathResolver> resolver;
    std::optional<host::HostProfile> profile;
};

// One instance "0000" below key with that PortName.
std::string Instance(const std::string& key, const std::string& instance,
                     const std::string& portName) {
    return "[HKEY_LOCAL_MACHINE\\" + key + "\\" + instance + "]\r\n\"PortName\"=\"" + portName +
           "\"\r\n\r\n";
}

// The answers for LPT1-LPT3 from the fourth character of each PortName under the four keys.
TEST_F(DetectEcpPortsTest, EachOfTheFourKeysMarksItsPorts) {
    const std::string root = "Enum\\Root\\*PNP0401", bios = "Enum\\BIOS\\*CPQA0E0";
    std::string nine; // eight instances are examined under a key, the next key afresh
    for (int i = 0; i < 7; ++i)
        nine += Instance(root, "000" + std::to_string(i), "LPT9");
    nine += Instance(root, "0007", "LPT2") + Instance(root, "0008", "LPT1") +
            Instance(bios, "0000", "LPT3");
    const std::pair<std::string, const char*> cases[] = {
        {Instance("Enum\\Root\\*PNP0400", "0000", "LPT1"), "000"}, // a plain printer port
        {Instance(root, "0000", "LPT2"), "010"},
        {Instance("Enum\\Root\\*CPQA0E0", "0000", "LPT2"), "010"},
        {Instance("Enum\\BIOS\\*PNP0401", "0000", "LPT2"), "010"},
        {Instance(bios, "0000", "LPT2"), "010"},
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
        WriteRegistry(registry);
        EXPECT_EQ(Detect(), answers);
    }
}

TEST_F(DetectEcpPortsTest, EarlierAnswersAreReplacedAndTheRestOfWinIniKept) {
    machine.WriteFile("drive_c/WINDOWS/WIN.INI", "[windows]\r\nload=\r\n\r\n"
                                                 "[tlsetup]\r\nLPT1=1\r\nLPT2=1\r\nLPT3=1\r\n"
                                                 "Other=5\r\n");
    WriteRegistry(Instance("Enum\\Root\\*CPQA0E0", "0000", "LPT2"));
    EXPECT_EQ(Detect(), "010");
    EXPECT_EQ(machine.ReadFile("drive_c/WINDOWS/WIN.INI"),
              "[windows]\r\nload=\r\n\r\n"
              "[tlsetup]\r\nLPT1=0\r\nLPT2=1\r\nLPT3=0\r\nOther=5\r\n");
    EXPECT_EQ(error, 0u);
}

TEST_F(DetectEcpPortsTest, AWinIniThatCannotBeWrittenIsReportedWithItsError) {
    machine.WriteFile("drive_c/WINDOWS/WIN.INI", "[windows]\r\nload=\r\n");
    std::filesystem::permissions(machine.Root() / "drive_c/WINDOWS/WIN.INI",
                                 std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_EQ(Detect(), "---");
    EXPECT_EQ(error, 5u);
}

} // namespace
} // namespace tl
