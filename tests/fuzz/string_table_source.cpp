// The string table's source reader: what it reports agrees with what it handed to the sink, and
// ids come in rising order.
#include "fuzz.h"
#include "resources/string_table_parser.h"

namespace {

struct CheckingSink {
    std::size_t begun = 0;
    std::size_t bytes = 0;
    int lastId = -1;

    void Begin(std::uint16_t id) {
        tl::fuzz::Check(id > lastId);
        lastId = id;
        ++begun;
    }
    void Put(unsigned char) { ++bytes; }
};

} // namespace

TL_FUZZ_TARGET(bytes) {
    CheckingSink sink;
    const auto summary = strings::ParseStringSource(bytes, sink);
    const bool ok = summary.error == strings::SourceError::kNone;
    Check(ok == (summary.errorLine == 0));
    // A failed line may have begun a string; every string before it was counted whole.
    Check(summary.entries == sink.begun || summary.entries + 1 == sink.begun);
    Check(!ok || (summary.entries == sink.begun && summary.bytes == sink.bytes));
}
