// The fresh PC `tlmachine init` makes (the whole-program tests start from it, with their options):
// Windows directories and ports that cannot be are refused.
#include "platform/host/iconv_code_page.h"
#include "platform/host/machine_config.h"
#include "platform/host/machine_template.h"

#include <gtest/gtest.h>

namespace tl::host {
namespace {

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

TEST(MachineTemplateTest, MachineIniReadsBackAsTheOptionsAsked) {
    IconvCodePage codePage;
    MachineTemplateOptions options;
    options.windowsDirectory = "D:\\WIN95";
    options.versionMinor = 10;
    options.englishLocale = true;
    options.readOnly = true;
    MachineTemplateResult result = BuildMachineTemplate(options, codePage);
    ASSERT_TRUE(result.machine) << result.error;
    MachineConfigResult config = ParseMachineIni(result.machine->machineIni, "/tmp", codePage);
    ASSERT_TRUE(config.config) << config.error;
    EXPECT_EQ(config.config->windowsDirectory, "D:\\WIN95");
    EXPECT_EQ(config.config->systemDirectory, "D:\\WIN95\\SYSTEM");
    EXPECT_EQ(config.config->versionMinor, 10);
    EXPECT_EQ(config.config->locale, kLocaleEnglishUs);
    EXPECT_TRUE(config.config->Drive('D').readOnly);
}

} // namespace
} // namespace tl::host
