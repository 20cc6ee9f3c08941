#include "platform/win32/win32_spooler.h"

#include "platform/win32/win32_api.h"

#include <deque>
#include <string>

namespace tl::win32 {
namespace {

// Writable, NUL-ended copies of the port's texts for the API's LPSTR fields, kept as long as
// the call that uses them. A missing text is a null pointer.
class Texts {
public:
    LPSTR operator()(const std::optional<std::string>& text) {
        return text ? Keep(*text) : nullptr;
    }
    LPSTR operator()(std::optional<std::string_view> text) {
        return text ? Keep(std::string(*text)) : nullptr;
    }
    LPSTR operator()(std::string_view text) { return Keep(std::string(text)); }

private:
    LPSTR Keep(std::string text) {
        kept_.push_back(std::move(text));
        return kept_.back().data();
    }
    std::deque<std::string> kept_;
};

std::string OrEmpty(const char* text) {
    return text == nullptr ? std::string() : std::string(text);
}

} // namespace

Win32Spooler::~Win32Spooler() {
    printers_.CloseAll([](void* printer) { ::ClosePrinter(static_cast<HANDLE>(printer)); });
}

template <typename T> T Win32Spooler::Done(T result) {
    lastError_ = static_cast<DWORD>(::GetLastError());
    return result;
}

BOOL Win32Spooler::EnumPrinterDrivers(OptionalName name, OptionalName environment, DWORD level,
                                      std::vector<DriverInfo1>* drivers, DWORD bufferSize,
                                      DWORD* needed, DWORD* returned) {
    Texts texts;
    std::vector<BYTE> buffer(bufferSize);
    ::DWORD need = 0;
    ::DWORD count = 0;
    BOOL ok =
        ::EnumPrinterDriversA(texts(name), texts(environment), level,
                              buffer.empty() ? nullptr : buffer.data(), bufferSize, &need, &count);
    Done(ok);
    if (needed != nullptr) {
        *needed = static_cast<DWORD>(need);
    }
    if (returned != nullptr) {
        *returned = ok ? static_cast<DWORD>(count) : 0;
    }
    if (ok && drivers != nullptr && level == 1) {
        drivers->clear();
        const auto* entries = reinterpret_cast<const DRIVER_INFO_1A*>(buffer.data());
        for (::DWORD i = 0; i < count; ++i) {
            drivers->push_back(DriverInfo1{OrEmpty(entries[i].pName)});
        }
    }
    return ok;
}

BOOL Win32Spooler::EnumPrinters(DWORD flags, OptionalName name, DWORD level,
                                std::vector<PrinterInfo5>* printers, DWORD bufferSize,
                                DWORD* needed, DWORD* returned) {
    Texts texts;
    std::vector<BYTE> buffer(bufferSize);
    ::DWORD need = 0;
    ::DWORD count = 0;
    BOOL ok = ::EnumPrintersA(flags, texts(name), level, buffer.empty() ? nullptr : buffer.data(),
                              bufferSize, &need, &count);
    Done(ok);
    if (needed != nullptr) {
        *needed = static_cast<DWORD>(need);
    }
    if (returned != nullptr) {
        *returned = ok ? static_cast<DWORD>(count) : 0;
    }
    if (ok && printers != nullptr && level == 5) {
        printers->clear();
        const auto* entries = reinterpret_cast<const PRINTER_INFO_5A*>(buffer.data());
        for (::DWORD i = 0; i < count; ++i) {
            printers->push_back(
                PrinterInfo5{OrEmpty(entries[i].pPrinterName), OrEmpty(entries[i].pPortName),
                             static_cast<DWORD>(entries[i].Attributes),
                             static_cast<DWORD>(entries[i].DeviceNotSelectedTimeout),
                             static_cast<DWORD>(entries[i].TransmissionRetryTimeout)});
        }
    }
    return ok;
}

BOOL Win32Spooler::AddPrinterDriver(OptionalName name, DWORD level, const DriverInfo3& info) {
    Texts texts;
    DRIVER_INFO_3A native{};
    native.cVersion = info.version;
    native.pName = texts(info.name);
    native.pEnvironment = texts(info.environment);
    native.pDriverPath = texts(info.driverPath);
    native.pDataFile = texts(info.dataFile);
    native.pConfigFile = texts(info.configFile);
    native.pHelpFile = texts(info.helpFile);
    native.pDependentFiles = texts(info.dependentFiles); // the NULs inside are kept
    native.pMonitorName = texts(info.monitorName);
    native.pDefaultDataType = texts(info.defaultDataType);
    return Done(::AddPrinterDriverA(texts(name), level, reinterpret_cast<LPBYTE>(&native)));
}

PrinterHandle Win32Spooler::AddPrinter(OptionalName name, DWORD level, const PrinterInfo2& info) {
    Texts texts;
    PRINTER_INFO_2A native{};
    native.pServerName = texts(info.serverName);
    native.pPrinterName = texts(info.printerName);
    native.pShareName = texts(info.shareName);
    native.pPortName = texts(info.portName);
    native.pDriverName = texts(info.driverName);
    native.pComment = texts(info.comment);
    native.pLocation = texts(info.location);
    native.pSepFile = texts(info.sepFile);
    native.pPrintProcessor = texts(info.printProcessor);
    native.pDatatype = texts(info.datatype);
    native.pParameters = texts(info.parameters);
    native.Attributes = info.attributes;
    native.Priority = info.priority;
    native.DefaultPriority = info.defaultPriority;
    native.StartTime = info.startTime;
    native.UntilTime = info.untilTime;
    native.Status = info.status;
    native.cJobs = info.jobs;
    native.AveragePPM = info.averagePpm;
    HANDLE printer = ::AddPrinterA(texts(name), level, reinterpret_cast<LPBYTE>(&native));
    Done(0);
    if (printer == nullptr) {
        return {};
    }
    return PrinterHandle{printers_.Add(printer)};
}

BOOL Win32Spooler::ClosePrinter(PrinterHandle printer) {
    auto native = printers_.Remove(printer.value);
    if (!native) {
        lastError_ = kErrorInvalidHandle;
        return FALSE;
    }
    return Done(::ClosePrinter(static_cast<HANDLE>(*native)));
}

BOOL Win32Spooler::AddMonitor(OptionalName name, DWORD level, const MonitorInfo2& info) {
    Texts texts;
    MONITOR_INFO_2A native{};
    native.pName = texts(info.name);
    native.pEnvironment = texts(info.environment);
    native.pDLLName = texts(info.dllName);
    return Done(::AddMonitorA(texts(name), level, reinterpret_cast<LPBYTE>(&native)));
}

BOOL Win32Spooler::AddPrintProcessor(OptionalName name, OptionalName environment,
                                     std::string_view pathName,
                                     std::string_view printProcessorName) {
    Texts texts;
    return Done(::AddPrintProcessorA(texts(name), texts(environment), texts(pathName),
                                     texts(printProcessorName)));
}

BOOL Win32Spooler::OpenPrinter(std::string_view printerName, PrinterHandle* printer) {
    if (printer == nullptr) {
        lastError_ = kErrorInvalidParameter;
        return FALSE;
    }
    *printer = {};
    Texts texts;
    HANDLE native = nullptr;
    if (!Done(::OpenPrinterA(texts(printerName), &native, nullptr))) {
        return FALSE;
    }
    *printer = PrinterHandle{printers_.Add(native)};
    return TRUE;
}

BOOL Win32Spooler::DeletePrinter(PrinterHandle printer) {
    auto native = printers_.Find(printer.value);
    if (!native) {
        lastError_ = kErrorInvalidHandle;
        return FALSE;
    }
    return Done(::DeletePrinter(static_cast<HANDLE>(*native)));
}

BOOL Win32Spooler::DeletePrinterDriver(OptionalName name, OptionalName environment,
                                       std::string_view driverName) {
    Texts texts;
    return Done(::DeletePrinterDriverA(texts(name), texts(environment), texts(driverName)));
}

BOOL Win32Spooler::DeleteMonitor(OptionalName name, OptionalName environment,
                                 std::string_view monitorName) {
    Texts texts;
    return Done(::DeleteMonitorA(texts(name), texts(environment), texts(monitorName)));
}

BOOL Win32Spooler::DeletePrintProcessor(OptionalName name, OptionalName environment,
                                        std::string_view printProcessorName) {
    Texts texts;
    return Done(
        ::DeletePrintProcessorA(texts(name), texts(environment), texts(printProcessorName)));
}

// SetDefaultPrinterA came with Windows 2000; on Windows 95 the default printer is WIN.INI's
// [windows] device=, which the caller writes.
BOOL Win32Spooler::SetDefaultPrinter(std::string_view printerName) {
    using SetDefaultPrinterFn = BOOL(WINAPI*)(LPCSTR);
    HMODULE spooler = ::GetModuleHandleA("winspool.drv");
    const auto set = spooler == nullptr
                         ? nullptr
                         : reinterpret_cast<SetDefaultPrinterFn>(reinterpret_cast<void*>(
                               ::GetProcAddress(spooler, "SetDefaultPrinterA")));
    if (set == nullptr) {
        constexpr DWORD kErrorCallNotImplemented = 120;
        lastError_ = kErrorCallNotImplemented;
        return FALSE;
    }
    const std::string name(printerName);
    return Done(set(name.c_str()));
}

} // namespace tl::win32
