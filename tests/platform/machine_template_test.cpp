// The fresh PC `tlmachine init` makes: its files agree with each other, its machine.ini reads
// back as asked, and Windows directories that cannot be are refused.
#include "platform/host/iconv_code_page.h"
#include "platform/host/ini_text.h"
#include "platform/host/machine_config.h"
#include "platform/host/machine_template.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tl::host {
namespace {

std::optional<std::string> FileText(const MachineTemplate& machine, std::string_view path) {
    for (const auto& file : machine.files) {
        if (file.windowsPath == path) {
            return file.bytes;
        }
    }
    return std::nullopt;
}

TEST(MachineTemplateTest, FreshPcHasItsIniFilesAndEveryFontListedRegisteredAndThere) {
    IconvCodePage codePage;
    MachineTemplateResult result = BuildMachineTemplate({}, codePage);
    ASSERT_TRUE(result.machine) << result.error;
    const MachineTemplate& machine = *result.machine;
    EXPECT_EQ(machine.directories, (std::vector<std::string>{"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM",
                                                             "C:\\WINDOWS\\FONTS"}));
    const IniText systemIni(FileText(machine, "C:\\WINDOWS\\SYSTEM.INI").value_or(""));
    EXPECT_EQ(systemIni.Get("boot", "shell"), "Explorer.exe");
    EXPECT_EQ(systemIni.Get("386Enh", "device"), "*dynapage");
    const IniText winIni(FileText(machine, "C:\\WINDOWS\\WIN.INI").value_or(""));
    EXPECT_EQ(winIni.Get("ports", "LPT1:"), "");
    EXPECT_TRUE(winIni.HasSection("PrinterPorts") && winIni.HasSection("Devices"));
    std::vector<std::string> fonts = winIni.KeyNames("fonts").value_or(std::vector<std::string>{});
    ASSERT_EQ(fonts.size(), 5u);
    EXPECT_EQ(fonts[3], codePage.FromUtf8("굴림 & 굴림체 (TrueType)"));
    for (const auto& name : fonts) {
        const std::string file = *winIni.Get("fonts", name);
        EXPECT_TRUE(FileText(machine, "C:\\WINDOWS\\FONTS\\" + file)) << file;
        EXPECT_TRUE(std::any_of(machine.registry.begin(), machine.registry.end(), [&](auto& v) {
            return v.name == name && v.data == file + '\0' &&
                   v.key ==
                       "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";
        })) << name;
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
    EXPECT_TRUE(FileText(*result.machine, "D:\\WIN95\\WIN.INI"));
}

TEST(MachineTemplateTest, RefusesWindowsDirectoriesAndPortsThatCannotBe) {
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
    EXPECT_EQ(TemplateHostPath("/m", "C:\\WINDOWS\\WIN.INI"),
              std::filesystem::path("/m/drive_c/WINDOWS/WIN.INI"));
    EXPECT_FALSE(TemplateHostPath("/m", "WINDOWS"));
}

} // namespace
} // namespace tl::host
