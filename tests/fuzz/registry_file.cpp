// Feeds arbitrary bytes to the REGEDIT4 reader: it must never read out of bounds or hang, and a
// registry it accepts must be written as text that reads back to the same registry, so that
// rewriting registry.reg never loses anything.
#include "platform/host/registry_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tl::host::RegistryTree tree;
    std::string error;
    if (!tl::host::ParseRegistryText(text, tree, error)) {
        if (error.empty()) {
            std::abort();
        }
        return 0;
    }
    const std::string written = tl::host::FormatRegistryText(tree);
    tl::host::RegistryTree reread;
    if (!tl::host::ParseRegistryText(written, reread, error)) {
        std::abort();
    }
    if (tl::host::FormatRegistryText(reread) != written) {
        std::abort();
    }
    return 0;
}
