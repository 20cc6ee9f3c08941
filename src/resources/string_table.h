// The installer's string table: messages, captions, dialog texts and the names of setup-script
// files, sections and keys, each under a numeric id, as code-page-949 bytes.
//
// The table is built into the program; lookups need no set-up, never fail and never allocate
// (except StringTableIds).
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace tl {

// The text of string `id` as the system shows it: its bytes up to the first NUL. Empty for an
// empty string; none when the table has no string `id`.
std::optional<std::string_view> LookupString(unsigned id);

// Every byte stored for string `id`, a NUL and whatever follows it included.
std::optional<std::string_view> LookupStringBytes(unsigned id);

// Copies the text of string `id` into `buffer` the way the system's LoadString does: at most
// buffer.size() - 1 bytes and a NUL; a double-byte character that does not fit whole is left out
// rather than cut in half. Returns the number of bytes copied: 0 for an empty or missing string
// (the buffer then holds an empty text) and for an empty buffer (left untouched).
std::size_t LoadStringInto(unsigned id, std::span<char> buffer);

// The ids that the table holds, ascending.
std::vector<unsigned> StringTableIds();

} // namespace tl
