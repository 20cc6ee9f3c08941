// Feeds arbitrary bytes to the string table's source reader: it must never read out of bounds,
// and what it reports must agree with what it handed to the sink.
#include "resources/string_table_parser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

struct CheckingSink {
    std::size_t begun = 0;
    std::size_t bytes = 0;
    bool haveId = false;
    std::uint16_t lastId = 0;

    void Begin(std::uint16_t id) {
        if (haveId && id <= lastId) {
            std::abort();
        }
        haveId = true;
        lastId = id;
        ++begun;
    }
    void Put(unsigned char) { ++bytes; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckingSink sink;
    const auto summary = tl::strings::ParseStringSource(std::span(data, size), sink);
    const bool ok = summary.error == tl::strings::SourceError::kNone;
    if (ok != (summary.errorLine == 0)) {
        std::abort();
    }
    // A failed line may have begun a string; every string before it was counted whole.
    if (summary.entries != sink.begun && summary.entries + 1 != sink.begun) {
        std::abort();
    }
    if (ok && (summary.entries != sink.begun || summary.bytes != sink.bytes)) {
        std::abort();
    }
    return 0;
}
