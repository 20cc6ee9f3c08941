// The version-record reader: a file has no version resource or one that lies inside it, and
// queries of any block stay inside the block. The version check's text of the same bytes is none,
// or digits and points that fit the 20-byte buffer the dialog's text was built in.
#include "copy/file_version_text.h"
#include "fuzz.h"
#include "platform/host/version_query.h"
#include "platform/host/version_resource_reader.h"

namespace {

void Query(tl::fuzz::Bytes block) {
    for (const char* path : {"\\", "\\StringFileInfo\\040904E4\\FileVersion",
                             "\\VarFileInfo\\Translation", "\\StringFileInfo"}) {
        const auto value = tl::host::QueryVersionValue(block, path);
        tl::fuzz::Check(
            !value || (value->data >= block.data() && value->data <= block.data() + block.size()));
    }
}

} // namespace

TL_FUZZ_TARGET(bytes) {
    const host::MemoryByteSource file(bytes);
    const auto found = host::FindVersionResource(file);
    const std::size_t size = bytes.size();
    Check(!found.location || (found.location->offset <= size &&
                              found.location->size <= size - found.location->offset));
    DWORD error = 0;
    if (const auto block = host::ReadVersionResource(file, &error))
        Query(*block);
    Query(bytes); // the input as a version block of its own, in either layout
    for (const auto format : {VersionFormat::MajorMinor, VersionFormat::Build}) {
        const std::string text = FormatFileVersion(bytes, format);
        Check(text.size() < kFileVersionTextSize &&
              text.find_first_not_of("0123456789.") == std::string::npos);
    }
}
