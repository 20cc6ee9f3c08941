// registry.reg lines for an installed printer driver and a local printer of the spooler.
#pragma once

#include <string>
#include <string_view>

namespace tl::test {

inline constexpr std::string_view kSpoolerDrivers =
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\Print\\Environments\\Windows "
    "4.0\\Drivers\\";
inline constexpr std::string_view kSpoolerPrinters =
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\Print\\Printers\\";

inline std::string DriverLines(std::string_view name) {
    return "[" + std::string(kSpoolerDrivers) + std::string(name) +
           "]\r\n\"Driver\"=\"TL600.DRV\"\r\n\r\n";
}
inline std::string PrinterLines(std::string_view name) {
    return "[" + std::string(kSpoolerPrinters) + std::string(name) +
           "]\r\n\"Port\"=\"LPT1:\"\r\n\"Printer Driver\"=\"Telmora 600\"\r\n\r\n";
}

} // namespace tl::test
