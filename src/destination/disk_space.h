// The check every copy step runs before it writes: the target drive exists, has room for what
// the step needs, and (for a font directory) can be written to. Failures are shown at once.
#pragma once

#include "platform/platform.h"
#include "platform/window_types.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace tl {

struct Installer;

// Which directory's drive CheckDriveSpace tests.
enum class SpaceCheckDir { Font, Windows };
// Whether CheckDriveSpace also writes a file to the drive's root to see that it can.
enum class WriteProbe { Skip, Test };

// The drive of the font or Windows directory holds the space needed (DestinationState) and,
// with WriteProbe::Test, accepts a new file in its root. True, or false after a message to `owner`.
[[nodiscard]] bool CheckDriveSpace(Installer& installer, WindowHandle owner, WriteProbe writeProbe,
                                   SpaceCheckDir which);

// Free bytes on the drive of `rootPath` ("C:\"), none when the drive is missing or unreadable.
// A 64-bit count: drives beyond 2 GB and 4 GB report what they really hold. The system's
// critical-error box is kept off during the query.
std::optional<std::uint64_t> GetDriveFreeSpace(Platform& platform, std::string_view rootPath);

// Creates and deletes "?:\UTEMP.DAT" on drive `letter`: true when that worked.
[[nodiscard]] bool TestDriveWritable(Platform& platform, char letter);

// The space-needed text read as a decimal count of kilobytes the way the C library's atoi reads
// it (blanks, a sign, then digits up to the first other character; no digits count as 0), but
// held at the limits instead of overflowing.
std::int64_t ParseSpaceNeeded(std::string_view text);

} // namespace tl
