// The free space of the simulated PC's drives, shared by every adapter that writes files there:
// the file port and the LZ copy use up the same FreeBytes figure, so a run cannot write more
// through one of them than the drive reports.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tl::host {

class DriveSpace {
public:
    virtual ~DriveSpace() = default;

    // The drive letter ('A' to 'Z') a Windows path lies on; 0 when the path names none.
    virtual char DriveOf(std::string_view windowsPath) const = 0;

    // What is left of the drive's free space; none when the drive has no FreeBytes figure and so
    // counts nothing.
    virtual std::optional<std::uint64_t> Room(char drive) const = 0;

    // Counts a file's growth (positive) or shrinking (negative) against the drive's free space.
    // A writer asks Room first; growth beyond what is left leaves nothing rather than wrapping.
    virtual void Count(char drive, std::int64_t change) = 0;
};

} // namespace tl::host
