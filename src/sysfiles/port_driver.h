// Replacing the parallel-port driver: a system whose "lpt.vxd" is the known old version 4.0.0.950
// gets the driver shipped as "lpt.bz" (expanded when it is compressed), and keeps the old one as
// "lpt.vxz", all in the system directory. Anything else is left exactly as it is.
#pragma once

#include "platform/file_system.h"
#include "platform/lz.h"
#include "platform/version_info.h"

#include <string_view>

namespace tl {

struct PortDriverPorts {
    FileSystem& files;
    LzExpand& lz;
    VersionInfo& versions;
};

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
void UpdatePortDriver(const PortDriverPorts& ports, std::string_view systemDirectory);

} // namespace tl
