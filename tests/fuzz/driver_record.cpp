// The driver data block read back by the spooler registration: any block gives each record's value
// as a view inside the block, and every field of a value is no longer than the value.
#include "spooler/driver_record.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view block(reinterpret_cast<const char*>(data), size);
    for (int number = -1; number <= 6; ++number) {
        const auto value = tl::FindDriverRecord(block, number);
        if (!value) {
            continue;
        }
        Check(value->data() >= block.data() && value->data() + value->size() <= block.data() + size);
        for (int field = 0; field <= 4; ++field) {
            Check(tl::DriverRecordField(*value, field).size() <= value->size());
        }
    }
    return 0;
}
