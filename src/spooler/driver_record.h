// Readers of the driver data block that the catalogue leaves for the spooler registration: records
// "n\0value\0\r" for n = 0..5, ended by the byte 0x1A.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tl {

// Record numbers of the driver data block.
inline constexpr int kRecordDriverFile = 0;
inline constexpr int kRecordDefaultDataType = 1;
inline constexpr int kRecordHelpFile = 2;
inline constexpr int kRecordLanguageMonitor = 3;
inline constexpr int kRecordPortMonitor = 4;
inline constexpr int kRecordPrintProcessor = 5;

// The value of the record carrying `number`, or none. The search stops at the 0x1A byte, at the
// end of the block, or at a record that is not closed by its NUL. A record number is read as the
// 16-bit decimal number of its digits; a number text with anything but digits matches nothing.
std::optional<std::string_view> FindDriverRecord(std::string_view block, int number);

// Field `n` (from 1) of a record's value. A comma or a carriage return ends a field, even between
// double quotes; a field that begins with a double quote is returned without it and ends at the
// next double quote. Empty fields are passed over, so they are not counted. A field that does not
// exist is an empty text.
std::string DriverRecordField(std::string_view value, int n);

} // namespace tl
