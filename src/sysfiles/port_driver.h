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

// Replaces "lpt.vxd" when "lpt.bz" is there and "lpt.vxd" carries the version 4.0.0.950.
// Silent: every failure just ends the update. Whatever happens, "lpt.vxd" stays a whole driver:
// the old one until the new one is complete, and the old one again (from "lpt.vxz") when putting
// the new one in place fails part-way.
// It uses the files, file times, LZ expansion and version records of the platform. True when
// the new driver took the old one's place (Windows loads it at the next start).
// `beforeReplace` is called once the driver is known to be the one replaced, before anything is
// written; false from it leaves everything as it is.
bool UpdatePortDriver(Platform& platform, std::string_view systemDirectory,
                      const std::function<bool()>& beforeReplace = {});

// The same in the installer's system directory.
bool UpdatePortDriver(Installer& installer);

} // namespace tl
