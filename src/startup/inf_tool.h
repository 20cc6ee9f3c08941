// The `tlinf` command: a setup script shown exactly as the installer reads it, for the people
// who write install disks.
#pragma once

#include "platform/file_system.h"

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace tl {

// Bytes 0x20-0x7E as themselves except "\" written "\\"; NUL as "\0"; every other byte as
// "\x" and two lower-case hex digits.
std::string EscapeInfBytes(std::string_view bytes);

// Runs `tlinf` with its arguments (without the program name) and returns the exit code:
// 0 done, 1 the section, key, line or field asked for is missing, 2 bad usage or a script that
// cannot be loaded, 3 an empty script. Results go to `out`, usage and messages to `err`.
int RunInfTool(std::span<const std::string> args, FileSystem& files, std::ostream& out,
               std::ostream& err);

} // namespace tl
