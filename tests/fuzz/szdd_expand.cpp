// The SZDD expander: any bytes expand to exactly the header's length or fail with a negative
// LZERROR code.
#include "fuzz.h"
#include "platform/host/szdd_expander.h"

#include <algorithm>
#include <cstring>

namespace {

// Hands the bytes out in uneven pieces, to exercise the refill paths.
struct PieceReader final : tl::host::ByteReader {
    tl::fuzz::Bytes bytes;
    std::size_t at = 0;
    explicit PieceReader(tl::fuzz::Bytes b) : bytes(b) {}
    std::optional<std::size_t> Read(void* buffer, std::size_t size) override {
        const std::size_t n = std::min({size, bytes.size() - at, std::size_t{1} + at % 509});
        std::memcpy(buffer, bytes.data() + at, n);
        at += n;
        return n;
    }
};

struct CountingWriter final : tl::host::ByteWriter {
    std::size_t written = 0;
    bool Write(const void*, std::size_t size) override {
        written += size;
        return true;
    }
};

} // namespace

TL_FUZZ_TARGET(bytes) {
    // Keep the promised length small enough that a run stays quick.
    if (bytes.size() >= host::kSzddHeaderSize && (bytes[12] != 0 || bytes[13] != 0))
        return;
    PieceReader reader(bytes);
    CountingWriter writer;
    const LONG result = host::ExpandSzdd(reader, writer);
    if (result < 0)
        return;
    const auto header = host::ParseSzddHeader(bytes);
    Check(header && static_cast<std::size_t>(result) == header->expandedLength &&
          writer.written == header->expandedLength);
}
