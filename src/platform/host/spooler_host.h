// The host spooler: a Windows 95 print spooler whose records live in the machine's registry, in
// the layout Windows 95 keeps them (control\Print\Environments\Windows 4.0\Drivers, Printers,
// Monitors, Print Processors).
#pragma once

#include "platform/code_page.h"
#include "platform/events.h"
#include "platform/host/path_resolver.h"
#include "platform/host/spooler_registry.h"
#include "platform/profile.h"
#include "platform/spooler.h"

#include <functional>
#include <map>
#include <set>

namespace tl::host {

// Whether a library or driver file named as the installer names it (a bare name means the system
// directory, where Windows 95 keeps printer drivers) exists on the machine.
using SystemFileProbe = std::function<bool(std::string_view file)>;

// The probe of a machine: files looked up through its path rules, bare names in its system
// directory (ANSI). The resolver must outlive the probe.
SystemFileProbe SystemDirectoryProbe(const PathResolver& resolver, std::string systemDirectory);

class HostSpooler final : public Spooler {
public:
    // Without a probe, files named in registrations are taken to exist. With a profile, a new
    // printer is also entered in WIN.INI ([Devices], [PrinterPorts], and [windows] device= for
    // the default printer), as Windows 95 keeps them for older programs.
    explicit HostSpooler(SpoolerRegistry& registry, SystemFileProbe probe = {},
                         Profile* profile = nullptr);

    // Where a WIN.INI entry that could not be written is recorded (an error event): the printer
    // stays added, as the registry is the spooler's own record, but the run's record says so.
    void SetEventSink(EventSink* events, const CodePage* codePage) {
        events_ = events;
        codePage_ = codePage;
    }

    BOOL EnumPrinterDrivers(OptionalName name, OptionalName environment, DWORD level,
                            std::vector<DriverInfo1>* drivers, DWORD bufferSize, DWORD* needed,
                            DWORD* returned) override;
    BOOL EnumPrinters(DWORD flags, OptionalName name, DWORD level,
                      std::vector<PrinterInfo5>* printers, DWORD bufferSize, DWORD* needed,
                      DWORD* returned) override;
    BOOL AddPrinterDriver(OptionalName name, DWORD level, const DriverInfo3& info) override;
    PrinterHandle AddPrinter(OptionalName name, DWORD level, const PrinterInfo2& info) override;
    BOOL ClosePrinter(PrinterHandle printer) override;
    BOOL AddMonitor(OptionalName name, DWORD level, const MonitorInfo2& info) override;
    BOOL AddPrintProcessor(OptionalName name, OptionalName environment, std::string_view pathName,
                           std::string_view printProcessorName) override;
    BOOL OpenPrinter(std::string_view printerName, PrinterHandle* printer) override;
    BOOL DeletePrinter(PrinterHandle printer) override;
    BOOL DeletePrinterDriver(OptionalName name, OptionalName environment,
                             std::string_view driverName) override;
    BOOL DeleteMonitor(OptionalName name, OptionalName environment,
                       std::string_view monitorName) override;
    BOOL DeletePrintProcessor(OptionalName name, OptionalName environment,
                              std::string_view printProcessorName) override;
    BOOL SetDefaultPrinter(std::string_view printerName) override;
    DWORD GetLastError() const override { return lastError_; }

private:
    BOOL Fail(DWORD error);
    bool FileExists(std::string_view file) const;
    bool Commit();
    bool DeleteKeyCommitted(const std::string& key);
    void ClearOtherDefaults(std::string_view printer);
    void EnterInWinIni(const PrinterInfo2& info, std::string_view driverKey);
    void TakeOutOfWinIni(std::string_view printer);
    // The printer's WIN.INI line "driver,port" as EnterInWinIni writes it.
    std::string DeviceText(std::string_view driverKey, std::string_view port) const;

    SpoolerRegistry& registry_;
    SystemFileProbe probe_;
    Profile* profile_;
    EventSink* events_ = nullptr;
    const CodePage* codePage_ = nullptr;
    std::map<std::uint32_t, std::string> openPrinters_; // handle: the printer's name
    std::uint32_t nextHandle_ = 1;
    DWORD lastError_ = kErrorSuccess;
};

// Names equal without regard to the case of ASCII letters (double-byte characters exactly), as
// the spooler compares them.
bool SameName(std::string_view a, std::string_view b);

} // namespace tl::host
