// Port: the print spooler, shaped like the WINSPOOL calls the installer makes
// (EnumPrinterDriversA, EnumPrintersA, AddPrinterDriverA, AddPrinterA, ClosePrinter, AddMonitorA,
// AddPrintProcessorA). Texts are ANSI (code page 949).
//
// The structures are plain C++ structs; a null pointer of the Win32 structure is std::nullopt.
// The enumerations still take the caller's buffer size, because the installer asks with fixed
// buffers: the answer is sized exactly as the 32-bit API lays it out (the array of structures,
// then every string with its NUL), so a list that would not fit fails with 122 and the bytes
// needed, as it does on Windows.
#pragma once

#include "platform/win_types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

// The spooler environment of Windows 95.
inline constexpr std::string_view kWindows95Environment = "Windows 4.0";
// The print processor every Windows 95 spooler carries built in.
inline constexpr std::string_view kBuiltInPrintProcessor = "WinPrint";

// EnumPrinters flags
inline constexpr DWORD kPrinterEnumDefault = 0x1;
inline constexpr DWORD kPrinterEnumLocal = 0x2;

// PRINTER_INFO_2 / PRINTER_INFO_5 Attributes
inline constexpr DWORD kPrinterAttributeDefault = 0x4;
inline constexpr DWORD kPrinterAttributeEnableBidi = 0x800;

// The driver version of a Windows 95 printer driver (DRIVER_INFO_3 cVersion).
inline constexpr DWORD kWindows95DriverVersion = 0x400;

// Error codes that only the spooler gives.
inline constexpr DWORD kErrorModNotFound = 126;
inline constexpr DWORD kErrorInvalidLevel = 124;
inline constexpr DWORD kErrorUnknownPrintProcessor = 1798;
inline constexpr DWORD kErrorInvalidPrinterName = 1801;
inline constexpr DWORD kErrorInvalidEnvironment = 1805;
inline constexpr DWORD kErrorPrintProcessorAlreadyInstalled = 3003;
inline constexpr DWORD kErrorPrintMonitorAlreadyInstalled = 3006;
inline constexpr DWORD kErrorUnknownPrintMonitor = 3000;
inline constexpr DWORD kErrorPrinterDriverInUse = 3001;
inline constexpr DWORD kErrorPrintMonitorInUse = 3008;
// A print processor that a printer still uses (the spooler says only that it is busy).
inline constexpr DWORD kErrorBusy = 170;

// Sizes of the 32-bit ANSI structures, which the enumeration buffers are measured in.
inline constexpr DWORD kDriverInfo1Size = 4;
inline constexpr DWORD kPrinterInfo5Size = 20;

using OptionalText = std::optional<std::string>;
using OptionalName = std::optional<std::string_view>;

struct DriverInfo1 {
    std::string name;
};

struct DriverInfo3 {
    DWORD version = 0;
    OptionalText name;
    OptionalText environment;
    OptionalText driverPath;
    OptionalText dataFile;
    OptionalText configFile;
    OptionalText helpFile;
    // A multi-string as the API takes it: each name ends with a NUL, an empty name ends the list.
    OptionalText dependentFiles;
    OptionalText monitorName;
    OptionalText defaultDataType;
};

// PRINTER_INFO_2 without its device mode and security descriptor, which the installer leaves
// null.
struct PrinterInfo2 {
    OptionalText serverName;
    OptionalText printerName;
    OptionalText shareName;
    OptionalText portName;
    OptionalText driverName;
    OptionalText comment;
    OptionalText location;
    OptionalText sepFile;
    OptionalText printProcessor;
    OptionalText datatype;
    OptionalText parameters;
    DWORD attributes = 0;
    DWORD priority = 0;
    DWORD defaultPriority = 0;
    DWORD startTime = 0;
    DWORD untilTime = 0;
    DWORD status = 0;
    DWORD jobs = 0;
    DWORD averagePpm = 0;
};

struct PrinterInfo5 {
    std::string printerName;
    std::string portName;
    DWORD attributes = 0;
    DWORD deviceNotSelectedTimeout = 0;
    DWORD transmissionRetryTimeout = 0;
};

struct MonitorInfo2 {
    OptionalText name;
    OptionalText environment;
    OptionalText dllName;
};

// An open printer. 0 is never a valid handle.
struct PrinterHandle {
    std::uint32_t value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(PrinterHandle, PrinterHandle) = default;
};

class Spooler {
public:
    virtual ~Spooler() = default;

    // EnumPrinterDriversA, level 1 only. `name` is the server (null: this machine), `environment`
    // null means the machine's own. On success `drivers` holds *returned entries; with a buffer
    // smaller than *needed the call fails with 122 and returns nothing.
    virtual BOOL EnumPrinterDrivers(OptionalName name, OptionalName environment, DWORD level,
                                    std::vector<DriverInfo1>* drivers, DWORD bufferSize,
                                    DWORD* needed, DWORD* returned) = 0;
    // EnumPrintersA, level 5 only; kPrinterEnumLocal lists the printers of this machine,
    // kPrinterEnumDefault the default printer.
    virtual BOOL EnumPrinters(DWORD flags, OptionalName name, DWORD level,
                              std::vector<PrinterInfo5>* printers, DWORD bufferSize, DWORD* needed,
                              DWORD* returned) = 0;
    // AddPrinterDriverA, level 3. A driver of the same name is replaced.
    virtual BOOL AddPrinterDriver(OptionalName name, DWORD level, const DriverInfo3& info) = 0;
    // AddPrinterA, level 2: an open handle, or an empty one with the reason in GetLastError
    // (1802 the name is taken, 1797 the driver is not installed, 1798 unknown print processor).
    virtual PrinterHandle AddPrinter(OptionalName name, DWORD level, const PrinterInfo2& info) = 0;
    virtual BOOL ClosePrinter(PrinterHandle printer) = 0;
    // AddMonitorA, level 2.
    virtual BOOL AddMonitor(OptionalName name, DWORD level, const MonitorInfo2& info) = 0;
    // AddPrintProcessorA(server, environment, library file, processor name).
    virtual BOOL AddPrintProcessor(OptionalName name, OptionalName environment,
                                   std::string_view pathName,
                                   std::string_view printProcessorName) = 0;
    // OpenPrinterA without defaults: the handle in *printer; 1801 when no printer has the name.
    virtual BOOL OpenPrinter(std::string_view printerName, PrinterHandle* printer) = 0;
    // DeletePrinter on an open handle, which stays to be closed.
    virtual BOOL DeletePrinter(PrinterHandle printer) = 0;
    // DeletePrinterDriverA: 1797 no such driver, 3001 a printer still uses it.
    virtual BOOL DeletePrinterDriver(OptionalName name, OptionalName environment,
                                     std::string_view driverName) = 0;
    // DeleteMonitorA: 3000 no such monitor, 3008 a driver still uses it.
    virtual BOOL DeleteMonitor(OptionalName name, OptionalName environment,
                               std::string_view monitorName) = 0;
    // DeletePrintProcessorA: 1798 no such print processor, 170 a printer still uses it.
    virtual BOOL DeletePrintProcessor(OptionalName name, OptionalName environment,
                                      std::string_view printProcessorName) = 0;
    // SetDefaultPrinterA: 1801 when no printer has the name.
    virtual BOOL SetDefaultPrinter(std::string_view printerName) = 0;
    virtual DWORD GetLastError() const = 0;
};

} // namespace tl
