// Which of the parallel ports LPT1 to LPT3 are ECP ports, as the Plug and Play enumeration in the
// registry describes them; the answer goes to WIN.INI, section [tlsetup], for the printer's own
// port software (the installer itself never reads it back).
#pragma once

#include "platform/profile.h"
#include "platform/registry.h"

#include <array>

namespace tl {

// Port n (1..3) is an ECP port when element n - 1 is set.
using EcpPorts = std::array<bool, 3>;

// The ECP ports that the device instances under HKEY_LOCAL_MACHINE\Enum\Root and Enum\BIOS
// (ids *PNP0401 and *CPQA0E0) name in their "PortName". Keys that are missing are passed over;
// at most eight instances are looked at under each key.
EcpPorts FindEcpPorts(Registry& registry);

// Writes LPT1, LPT2 and LPT3 of [tlsetup] in WIN.INI: "1" for an ECP port, else "0". All three
// are written every time, so an earlier answer never survives. 0 when all three were written,
// else the error code of the first write that failed (the others are still tried).
DWORD WriteEcpPorts(Profile& profile, const EcpPorts& ports);

// Both of the above. A failure here must never hold up the installation: the caller records it.
DWORD DetectEcpPorts(Registry& registry, Profile& profile);

} // namespace tl
