// Fuzzes the version-record reader: any file either has no version resource or one that lies
// inside it, and queries of any block stay inside the block.
#include "platform/host/version_query.h"
#include "platform/host/version_resource_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr const char* kPaths[] = {"\\", "\\StringFileInfo\\040904E4\\FileVersion",
                                  "\\VarFileInfo\\Translation", "\\StringFileInfo"};

void Query(std::span<const std::uint8_t> block) {
    for (const char* path : kPaths) {
        const auto value = tl::host::QueryVersionValue(block, path);
        if (value && (value->data < block.data() || value->data > block.data() + block.size())) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const tl::host::MemoryByteSource file(bytes);
    const auto found = tl::host::FindVersionResource(file);
    if (found.location &&
        (found.location->offset > size || found.location->size > size - found.location->offset)) {
        std::abort();
    }
    tl::DWORD error = 0;
    if (const auto block = tl::host::ReadVersionResource(file, &error)) {
        Query(*block);
    }
    // The input as a version block of its own, in either layout.
    Query(bytes);
    return 0;
}
