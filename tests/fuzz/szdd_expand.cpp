// Fuzzes the SZDD expander: any bytes either expand to exactly the header's length or fail with a
// negative LZERROR code, without reading or writing out of bounds.
#include "platform/host/szdd_expander.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

class MemoryReader final : public tl::host::ByteReader {
public:
    MemoryReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::optional<std::size_t> Read(void* buffer, std::size_t size) override {
        // Hand the bytes out in uneven pieces to exercise the refill paths.
        const std::size_t n = std::min({size, size_ - at_, std::size_t{1} + at_ % 509});
        std::memcpy(buffer, data_ + at_, n);
        at_ += n;
        return n;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

class CountingWriter final : public tl::host::ByteWriter {
public:
    bool Write(const void*, std::size_t size) override {
        written += size;
        return true;
    }
    std::size_t written = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Keep the promised length small enough that a run stays quick.
    if (size >= tl::host::kSzddHeaderSize && (data[12] != 0 || data[13] != 0)) {
        return 0;
    }
    MemoryReader reader(data, size);
    CountingWriter writer;
    const tl::LONG result = tl::host::ExpandSzdd(reader, writer);
    if (result >= 0) {
        const auto header = tl::host::ParseSzddHeader(std::span(data, size));
        if (!header || static_cast<std::size_t>(result) != header->expandedLength ||
            writer.written != header->expandedLength) {
            std::abort();
        }
    }
    return 0;
}
