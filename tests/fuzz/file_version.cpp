// Fuzzes the version text of the version check: any block gives either no text or one that fits
// the 20-byte buffer the dialog's text was built in, of digits and one point.
#include "copy/file_version_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> block(data, size);
    for (const tl::VersionFormat format :
         {tl::VersionFormat::MajorMinor, tl::VersionFormat::Build}) {
        const std::string text = tl::FormatFileVersion(block, format);
        if (text.size() >= tl::kFileVersionTextSize) {
            std::abort();
        }
        if (!text.empty() && text.find_first_not_of("0123456789.") != std::string::npos) {
            std::abort();
        }
    }
    return 0;
}
