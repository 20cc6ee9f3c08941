#include "platform/host/iconv_code_page.h"
#include "platform/host/ini_text.h"
#include "platform/host/machine_config.h"
#include "platform/host/machine_template.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tl::host {
namespace {

const TemplateFile* FindFile(const MachineTemplate& machine, std::string_view path) {
    for (const auto& file : machine.files) {
        if (file.windowsPath == path) {
            return &file;
        }
    }
    return nullptr;
}

TEST(MachineTemplateTest, FreshPcHasItsDirectoriesIniFilesAndFonts) {
    IconvCodePage codePage;
    MachineTemplateResult result = BuildMachineTemplate({}, codePage);
    ASSERT_TRUE(result.machine) << result.error;
    const MachineTemplate& machine = *result.machine;
    EXPECT_EQ(machine.directories, (std::vector<std::string>{"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM",
                                                             "C:\\WINDOWS\\FONTS"}));

    const TemplateFile* system = FindFile(machine, "C:\\WINDOWS\\SYSTEM.INI");
    ASSERT_NE(system, nullptr);
    IniText systemIni(system->bytes);
    EXPECT_EQ(systemIni.Get("boot", "shell"), "Explorer.exe");
    EXPECT_EQ(systemIni.Get("386Enh", "device"), "*dynapage");
    EXPECT_TRUE(systemIni.HasSection("drivers"));

    const TemplateFile* win = FindFile(machine, "C:\\WINDOWS\\WIN.INI");
    ASSERT_NE(win, nullptr);
    IniText winIni(win->bytes);
    EXPECT_EQ(winIni.Get("ports", "LPT1:"), "");
    EXPECT_TRUE(winIni.HasSection("PrinterPorts"));
    EXPECT_TRUE(winIni.HasSection("Devices"));
    // Every font is listed in WIN.INI and the registry, and its file is there; the Korean names
    // are code page 949 bytes.
    std::vector<std::string> fonts = winIni.KeyNames("fonts").value_or(std::vector<std::string>{});
    ASSERT_EQ(fonts.size(), 5u);
    EXPECT_EQ(fonts[3], codePage.FromUtf8("굴림 & 굴림체 (TrueType)"));
    for (const auto& name : fonts) {
        std::string file = *winIni.Get("fonts", name);
        EXPECT_NE(FindFile(machine, "C:\\WINDOWS\\FONTS\\" + file), nullptr) << file;
        auto value = std::find_if(machine.registry.begin(), machine.registry.end(),
                                  [&](const TemplateValue& v) { return v.name == name; });
        ASSERT_NE(value, machine.registry.end());
        EXPECT_EQ(value->key,
                  "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Fonts");
        EXPECT_EQ(value->data, file + '\0');
    }
}

TEST(MachineTemplateTest, MachineIniReadsBackAsTheOptionsAsked) {
    IconvCodePage codePage;
    MachineTemplateOptions options;
    options.windowsDirectory = "D:\\WIN95";
    options.versionMinor = 10;
    options.freeBytes = 5000000000ull;
    options.atoms = {"bi-di.386"};
    options.englishLocale = true;
    options.readOnly = true;
    options.inUse = {"D:\\WIN95\\SYSTEM\\UNI.DRV"};
    MachineTemplateResult result = BuildMachineTemplate(options, codePage);
    ASSERT_TRUE(result.machine) << result.error;
    MachineConfigResult config = ParseMachineIni(result.machine->machineIni, "/tmp", codePage);
    ASSERT_TRUE(config.config) << config.error;
    EXPECT_EQ(config.config->windowsDirectory, "D:\\WIN95");
    EXPECT_EQ(config.config->systemDirectory, "D:\\WIN95\\SYSTEM");
    EXPECT_EQ(config.config->versionMinor, 10);
    EXPECT_EQ(config.config->Drive('D').freeBytes, 5000000000ull);
    EXPECT_EQ(config.config->atoms, std::vector<std::string>{"bi-di.386"});
    EXPECT_EQ(config.config->locale, kLocaleEnglishUs);
    EXPECT_TRUE(config.config->Drive('D').readOnly);
    EXPECT_EQ(config.config->inUse, std::vector<std::string>{"D:\\WIN95\\SYSTEM\\UNI.DRV"});
    EXPECT_NE(FindFile(*result.machine, "D:\\WIN95\\WIN.INI"), nullptr);
}

TEST(MachineTemplateTest, ParallelPortsAreListedWhereTheEcpDetectionLooks) {
    IconvCodePage codePage;
    MachineTemplateOptions options;
    options.ecpPorts = {2};
    MachineTemplateResult result = BuildMachineTemplate(options, codePage);
    ASSERT_TRUE(result.machine);
    std::vector<std::pair<std::string, std::string>> ports;
    for (const auto& value : result.machine->registry) {
        if (value.name == "PortName") {
            ports.emplace_back(value.key, value.data);
        }
    }
    EXPECT_EQ(ports,
              (std::vector<std::pair<std::string, std::string>>{
                  {"HKEY_LOCAL_MACHINE\\Enum\\BIOS\\*PNP0400\\00", std::string("LPT1\0", 5)},
                  {"HKEY_LOCAL_MACHINE\\Enum\\BIOS\\*PNP0401\\01", std::string("LPT2\0", 5)}}));
}

TEST(MachineTemplateTest, RefusesWindowsDirectoriesThatCannotBe) {
    IconvCodePage codePage;
    for (std::string bad : {"WINDOWS", "C:WINDOWS", "C:\\", "C:\\WIN\\", "C:\\A\\\\B", "C:\\..",
                            "C:\\WIN?", "1:\\WIN"}) {
        MachineTemplateOptions options;
        options.windowsDirectory = bad;
        EXPECT_FALSE(BuildMachineTemplate(options, codePage).machine) << bad;
    }
    MachineTemplateOptions options;
    options.ecpPorts = {4};
    EXPECT_FALSE(BuildMachineTemplate(options, codePage).machine);
}

TEST(MachineTemplateTest, HostPathsOfWindowsPaths) {
    EXPECT_EQ(TemplateHostPath("/m", "C:\\WINDOWS\\WIN.INI"),
              std::filesystem::path("/m/drive_c/WINDOWS/WIN.INI"));
    EXPECT_FALSE(TemplateHostPath("/m", "WINDOWS"));
}

} // namespace
} // namespace tl::host
