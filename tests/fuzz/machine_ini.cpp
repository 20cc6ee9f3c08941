// machine.ini reader: any bytes give a configuration or a message, never a crash.
#include "platform/host/iconv_code_page.h"
#include "platform/host/machine_config.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const tl::host::IconvCodePage codePage;
    // A folder without drive folders: [Drives] entries then name missing folders, which the
    // reader reports like any other mistake.
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "tl-fuzz-machine-ini-does-not-exist";
    std::string_view text(reinterpret_cast<const char*>(data), size);
    tl::host::MachineConfigResult result = tl::host::ParseMachineIni(text, folder, codePage);
    if (result.config.has_value() == !result.error.empty()) {
        __builtin_trap(); // exactly one of the two
    }
    return 0;
}
