// The version text of the version check: no text, or one of digits and points that fits the
// 20-byte buffer the dialog's text was built in.
#include "copy/file_version_text.h"
#include "fuzz.h"

TL_FUZZ_TARGET(bytes) {
    for (const auto format : {tl::VersionFormat::MajorMinor, tl::VersionFormat::Build}) {
        const std::string text = tl::FormatFileVersion(bytes, format);
        tl::fuzz::Check(text.size() < tl::kFileVersionTextSize &&
                        text.find_first_not_of("0123456789.") == std::string::npos);
    }
}
