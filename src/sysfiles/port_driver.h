// Replacing the parallel-port driver: a system whose "lpt.vxd" is the known old version 4.0.0.950
// gets the driver shipped as "lpt.bz" (expanded when it is compressed), and keeps the old one as
// "lpt.vxz", all in the system directory. Anything else is left exactly as it is.
#pragma once

#include "platform/platform.h"

#include <functional>
#include <string_view>

namespace tl {

struct Installer;

// The last-write time every replaced "lpt.vxd" carries, whenever it was installed:
// 31 December 1995, 08:50:00 UTC.
FILETIME PortDriverWriteTime();

// The names used, all in the system directory.
inline constexpr std::string_view kPortDriverShipped = "lpt.bz";
inline constexpr std::string_view kPortDriverInUse = "lpt.vxd";
inline constexpr std::string_view kPortDriverSaved = "lpt.vxz";
// The new driver is made complete here before it takes the place of "lpt.vxd".
inline constexpr std::string_view kPortDriverStaging = "lpt.vx$";

// How the update went. Only Unchanged leaves the system as it was; every other outcome but
// Replaced recorded its failures as error events.
enum class PortDriverUpdate {
    Unchanged, // nothing to do: no "lpt.bz", or "lpt.vxd" is not the version replaced
    Replaced,  // the new driver took the old one's place (Windows loads it at the next start)
    ReplacedUnstamped, // replaced, but the new driver could not be given its last-write time
    Failed,            // the update was due and failed; "lpt.vxd" is the old driver, whole
};

// Replaces "lpt.vxd" when "lpt.bz" is there and "lpt.vxd" carries the version 4.0.0.950.
// Whatever happens, "lpt.vxd" stays a whole driver: the old one until the new one is complete,
// and the old one again (from "lpt.vxz") when putting the new one in place fails part-way. Every
// failed call is recorded as an error event (call, file, code).
// It uses the files, file times, LZ expansion and version records of the platform.
// `beforeReplace` is called once the driver is known to be the one replaced, before anything is
// written; false from it leaves everything as it is (and the update has failed).
[[nodiscard]] PortDriverUpdate UpdatePortDriver(Platform& platform,
                                                std::string_view systemDirectory,
                                                const std::function<bool()>& beforeReplace = {});

// The same in the installer's system directory.
[[nodiscard]] PortDriverUpdate UpdatePortDriver(Installer& installer);

} // namespace tl
