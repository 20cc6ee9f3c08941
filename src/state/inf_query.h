// Queries on loaded setup scripts: sections, keys, lines and fields.
//
// A compacted script is a chain of NUL-terminated lines. One extra NUL stands before every
// section header but one at the very start, so a section ends where a line start holds NUL;
// the buffer ends with NUL, NUL, 0x1A, and a line start holding 0x1A ends the script.
// Names of sections and keys match when their bytes agree with bit 0x20 set in both (ASCII
// letters fold to lower case); an empty name matches nothing.
#pragma once

#include "state/inf_scripts.h"

#include <optional>
#include <string>
#include <string_view>

namespace tl {

// The first line of section `name` of `script` (none: the current script); none when the
// script, the section or any line in it is missing.
std::optional<InfLine> FindInfSection(const SetupScripts& scripts, std::optional<InfScript> script,
                                      std::string_view name);

// True and the value of `key` in `section` (also when the value is empty); false and an empty
// `value` when the section or key is missing. A value holding "=" or "," outside quotes is returned
// as written; any other loses its surrounding blanks and double quotes.
bool GetInfKey(const SetupScripts& scripts, std::optional<InfScript> script,
               std::string_view section, std::string_view key, std::string& value);

// GetInfKey on the current script with `name` split at its last "." into SECTION.KEY; false and an
// empty `value` for a name without ".".
bool GetInfDotted(const SetupScripts& scripts, std::string_view name, std::string& value);

// Field n of a line: true and the field (also an empty one); false when it does not exist. Field 0
// is the key before "="; fields 1, 2, ... follow the "=" (or start the line when it has none) and
// are separated by "," or "=" outside double quotes, which are dropped. `field` is emptied
// when the field is missing, but left as it was for a missing line and for field 0 of a line
// without key.
bool GetInfField(const SetupScripts& scripts, std::optional<InfLine> line, int n,
                 std::string& field);

// The next line of the same section; none at the section's end or for none.
std::optional<InfLine> NextInfLine(const SetupScripts& scripts, std::optional<InfLine> line);

// The number of lines from `line` to the end of its section, `line` included; 0 for none.
int CountInfLines(const SetupScripts& scripts, std::optional<InfLine> line);

// The text of a line up to its first NUL; none when its script is no longer loaded.
std::optional<std::string_view> InfLineText(const SetupScripts& scripts, InfLine line);

} // namespace tl
