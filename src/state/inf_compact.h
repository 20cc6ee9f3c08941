// Compaction of a setup script's bytes into the chain of NUL-terminated lines that the queries
// walk (see inf_query.h for the layout they rely on).
#pragma once

#include <string>
#include <string_view>

namespace tl {

// The bytes that close every compacted script: the first NUL ends the last line when the text
// has not ended it already, and a line start that holds 0x1A is the end of the script.
inline constexpr std::string_view kInfEndBytes{"\0\0\x1a", 3};

// Compacts the whole text of a script file:
// - carriage returns, and spaces and tabs outside double quotes, are dropped;
// - ";" starts a comment (inside quotes too) that runs up to the next LF, CR, NUL or 0x1A;
// - a line feed ends the line with one NUL, plus a second NUL when the next line is a section
//   header; blank lines, whole-line comments and leading blanks leave nothing;
// - the result ends with kInfEndBytes.
// A file whose last byte is a line feed or 0x1A never has that byte examined (it only marks
// the end); any other last byte is part of the last line and is kept.
std::string CompactInf(std::string_view file);

} // namespace tl
