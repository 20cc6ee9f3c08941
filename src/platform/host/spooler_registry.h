// The part of the registry that the host spooler keeps its records in, and where they live.
//
// The spooler needs only a key tree under HKEY_LOCAL_MACHINE with typed values; this narrow
// interface lets it sit on the machine's registry model (registry.reg) and lets tests give it an
// in-memory tree. Paths are relative to HKEY_LOCAL_MACHINE, '\'-separated, matched without regard
// to case; new keys keep the case they are given.
#pragma once

#include "platform/registry.h"
#include "platform/win_types.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::host {

struct SpoolerValue {
    DWORD type = kRegSz;
    std::string data; // REG_SZ without its NUL; REG_DWORD four bytes, least significant first
    friend bool operator==(const SpoolerValue&, const SpoolerValue&) = default;
};

class SpoolerRegistry {
public:
    virtual ~SpoolerRegistry() = default;
    virtual bool KeyExists(std::string_view path) const = 0;
    // Names of the direct subkeys, as stored, in the registry's enumeration order.
    virtual std::vector<std::string> SubKeys(std::string_view path) const = 0;
    virtual std::optional<SpoolerValue> GetValue(std::string_view path,
                                                 std::string_view name) const = 0;
    // Creates the key and any missing parents.
    virtual bool CreateKey(std::string_view path) = 0;
    virtual bool SetValue(std::string_view path, std::string_view name, SpoolerValue value) = 0;
    // True when the value is gone afterwards (also when it was never there).
    virtual bool DeleteValue(std::string_view path, std::string_view name) = 0;
    // Removes the key with everything below it; true also when it was not there.
    virtual bool DeleteKey(std::string_view path) = 0;
    // Makes every change since the last commit durable; false when that failed, in which case
    // the tree is back to its state at the last commit.
    virtual bool Commit() = 0;
    // Drops every change since the last commit.
    virtual void Discard() = 0;
};

// Where a Windows 95 spooler keeps its records.
namespace spooler_keys {
inline constexpr std::string_view kPrint = "System\\CurrentControlSet\\control\\Print";
inline constexpr std::string_view kEnvironment =
    "System\\CurrentControlSet\\control\\Print\\Environments\\Windows 4.0";
inline constexpr std::string_view kDrivers =
    "System\\CurrentControlSet\\control\\Print\\Environments\\Windows 4.0\\Drivers";
inline constexpr std::string_view kPrintProcessors =
    "System\\CurrentControlSet\\control\\Print\\Environments\\Windows 4.0\\Print Processors";
inline constexpr std::string_view kPrinters = "System\\CurrentControlSet\\control\\Print\\Printers";
inline constexpr std::string_view kMonitors = "System\\CurrentControlSet\\control\\Print\\Monitors";
} // namespace spooler_keys

SpoolerValue TextValue(std::string_view text);
SpoolerValue DwordValue(DWORD value);
// A REG_MULTI_SZ value from names: each with its NUL, and the closing NUL.
SpoolerValue MultiTextValue(const std::vector<std::string>& names);
// The text of a REG_SZ value, the number of a REG_DWORD one.
std::optional<std::string> ValueText(const std::optional<SpoolerValue>& value);
std::optional<DWORD> ValueDword(const std::optional<SpoolerValue>& value);
// The names of a REG_MULTI_SZ (or binary) value, up to the first empty one.
std::vector<std::string> ValueNames(const std::optional<SpoolerValue>& value);

} // namespace tl::host
