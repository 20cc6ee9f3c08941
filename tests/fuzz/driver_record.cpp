// The driver data block read back by the spooler registration: each record's value is a view
// inside the block, and every field of a value is no longer than the value.
#include "spooler/driver_record.h"
#include "fuzz.h"

TL_FUZZ_TARGET(bytes) {
    const std::string_view block = Text(bytes);
    for (int number = -1; number <= 6; ++number) {
        const auto value = FindDriverRecord(block, number);
        if (!value)
            continue;
        Check(value->data() >= block.data() &&
              value->data() + value->size() <= block.data() + block.size());
        for (int field = 0; field <= 4; ++field)
            Check(DriverRecordField(*value, field).size() <= value->size());
    }
}
