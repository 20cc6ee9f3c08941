#include "sysfiles/ecp_ports.h"

#include <string>

namespace tl {

namespace {

// The keys that hold ECP parallel-port instances: the generic ECP id and a maker's own id, as
// enumerated by the root enumerator and by the BIOS enumerator, in the order they are searched.
constexpr const char* kEcpKeys[] = {
    "Enum\\Root\\*PNP0401",
    "Enum\\Root\\*CPQA0E0",
    "Enum\\BIOS\\*PNP0401",
    "Enum\\BIOS\\*CPQA0E0",
};

// A port has at most this many instances worth looking at; a longer list is not a real machine.
constexpr DWORD kMaxInstances = 8;
constexpr DWORD kInstanceNameSize = 128;
constexpr DWORD kPortNameSize = 80;

constexpr LONG kSuccess = static_cast<LONG>(kErrorSuccess);
constexpr LONG kNoMoreItems = static_cast<LONG>(kErrorNoMoreItems);

// The port number 1..3 that a "PortName" value ("LPT1") names by its fourth character; 0 for
// none.
int PortNumberOf(Registry& registry, HKEY instance) {
    std::array<BYTE, kPortNameSize> portName{};
    DWORD size = kPortNameSize;
    if (registry.RegQueryValueEx(instance, "PortName", nullptr, portName.data(), &size) !=
        kSuccess) {
        return 0;
    }
    if (size < 4 || portName[3] < '1' || portName[3] > '3') {
        return 0;
    }
    return portName[3] - '0';
}

void MarkPortsUnder(Registry& registry, const char* keyPath, EcpPorts& ports) {
    HKEY key{};
    if (registry.RegOpenKeyEx(kHkeyLocalMachine, keyPath, 0, kKeyAllAccess, &key) != kSuccess) {
        return;
    }
    for (DWORD index = 0; index < kMaxInstances; ++index) {
        std::array<char, kInstanceNameSize> name{};
        DWORD nameSize = kInstanceNameSize;
        const LONG enumerated = registry.RegEnumKeyEx(key, index, name.data(), &nameSize);
        if (enumerated == kNoMoreItems) {
            break;
        }
        if (enumerated != kSuccess) {
            continue;
        }
        HKEY instance{};
        if (registry.RegOpenKeyEx(key, name.data(), 0, kKeyAllAccess, &instance) != kSuccess) {
            continue;
        }
        if (const int port = PortNumberOf(registry, instance); port != 0) {
            ports[static_cast<std::size_t>(port - 1)] = true;
        }
        registry.RegCloseKey(instance);
    }
    registry.RegCloseKey(key);
}

} // namespace

EcpPorts FindEcpPorts(Registry& registry) {
    EcpPorts ports{};
    for (const char* keyPath : kEcpKeys) {
        MarkPortsUnder(registry, keyPath, ports);
    }
    return ports;
}

DWORD WriteEcpPorts(Profile& profile, const EcpPorts& ports) {
    DWORD firstError = 0;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const std::string key = "LPT" + std::to_string(i + 1);
        if (!profile.WriteProfileString("tlsetup", key.c_str(), ports[i] ? "1" : "0") &&
            firstError == 0) {
            firstError = profile.GetLastError();
        }
    }
    return firstError;
}

DWORD DetectEcpPorts(Registry& registry, Profile& profile) {
    return WriteEcpPorts(profile, FindEcpPorts(registry));
}

} // namespace tl
