// The spooler port on WINSPOOL's ANSI calls. The enumerations run the system's call in a buffer
// of the caller's size and hand back its entries as the port's structures.
#pragma once

#include "platform/spooler.h"
#include "platform/win32/handle_table.h"

namespace tl::win32 {

class Win32Spooler final : public Spooler {
public:
    Win32Spooler() = default;
    ~Win32Spooler() override;
    Win32Spooler(const Win32Spooler&) = delete;
    Win32Spooler& operator=(const Win32Spooler&) = delete;

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
    template <typename T> T Done(T result);

    HandleTable<void*> printers_;
    DWORD lastError_ = 0;
};

} // namespace tl::win32
