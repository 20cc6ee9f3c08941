// machine.ini reader: any bytes give exactly one of a configuration and a message.
#include "fuzz.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/machine_config.h"

#include <filesystem>

TL_FUZZ_TARGET(bytes) {
    static const tl::host::IconvCodePage codePage;
    // No drive folders there: [Drives] entries name missing folders, reported like any mistake.
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "tl-fuzz-machine-ini-does-not-exist";
    const auto result = tl::host::ParseMachineIni(tl::fuzz::Text(bytes), folder, codePage);
    tl::fuzz::Check(result.config.has_value() != !result.error.empty());
}
