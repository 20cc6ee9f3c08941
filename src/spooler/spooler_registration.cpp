#include "spooler/spooler_registration.h"

#include "platform/error_event.h"
#include "platform/spooler.h"
#include "selection/printer_name.h"
#include "spooler/driver_record.h"
#include "state/copy_list.h"
#include "state/installer.h"
#include "state/removal_log.h"
#include "state/rename_list.h"
#include "text/ansi_text.h"

namespace tl {
namespace {

constexpr std::string_view kDefaultDataType = "RAW";

// A record's value; a record missing from the block reads as empty.
std::string Record(std::string_view block, int number) {
    return std::string(FindDriverRecord(block, number).value_or(std::string_view{}));
}

// A monitor or print processor that the spooler already has is no refusal: Windows NT says so with
// its own codes, Windows 95 with 183.
bool AlreadyInstalled(DWORD error, DWORD ownCode) {
    return error == ownCode || error == kErrorAlreadyExists;
}

// A refusal of the spooler, for the record: the call, the name it was given, the error code.
// The registration is then a failed installation.
bool Refused(Installer& installer, std::string_view call, std::string_view name) {
    RecordError(installer.platform, call, name, installer.platform.spooler.GetLastError());
    return false;
}

// AddPrinterA under the hourglass; the handle is closed at once. The error code on failure, else
// 0.
DWORD AddPrinterWaiting(Installer& installer, const PrinterInfo2& printer) {
    WindowSystem& windows = installer.windows;
    Spooler& spooler = installer.platform.spooler;
    const Cursor previous = windows.SetCursor(windows.LoadCursor(IDC_WAIT));
    const PrinterHandle handle = spooler.AddPrinter(std::nullopt, 2, printer);
    const DWORD error = handle ? 0 : spooler.GetLastError();
    windows.SetCursor(previous);
    if (handle) {
        spooler.ClosePrinter(handle);
    }
    return error;
}

// The printer could not be added: the error is recorded under the printer's name.
bool PrinterRefused(Installer& installer, const PrinterInfo2& printer, DWORD error) {
    RecordError(installer.platform, "AddPrinterA", printer.printerName.value_or(""), error);
    return false;
}

// The copy number of a printer name: n of a name ending in "(Copy n)", else 1.
std::string CopyNumber(std::string_view name) {
    constexpr std::string_view kCopy = "(Copy ";
    const std::size_t at = name.rfind(kCopy);
    if (at == std::string_view::npos || name.empty() || name.back() != ')')
        return "1";
    return std::string(name.substr(at + kCopy.size(), name.size() - 1 - at - kCopy.size()));
}

// The printer just added, for the removal program: after the spooler took it, since a failed
// AddPrinter may have met a printer of that name that is not this installation's.
void RecordPrinter(Installer& installer, const PrinterInfo2& printer) {
    const std::string& name = *printer.printerName;
    static_cast<void>(
        WriteRemovalRecord(installer, {removal_record::kPrinter, name, CopyNumber(name)}));
}

// WIN.INI's [windows] device= before the new printer becomes the default: the removal program
// makes that printer the default again.
void RecordDefaultPrinter(Installer& installer) {
    constexpr DWORD kDeviceSize = 512;
    constexpr const char* kNone = "\x01";
    std::string device(kDeviceSize, '\0');
    const DWORD length = installer.platform.profile.GetProfileString("windows", "device", kNone,
                                                                     device.data(), kDeviceSize);
    device.resize(length);
    const bool had = device != kNone;
    static_cast<void>(WriteRemovalRecord(
        installer, {removal_record::kDefaultPrinter, had ? "1" : "0", had ? device : ""}));
}

void RecordAdded(Installer& installer, std::string_view kind, std::string_view name, bool added) {
    static_cast<void>(WriteRemovalRecord(installer, {kind, name, added ? "1" : "0"}));
}

// The name is taken: the user confirms or changes a free "(Copy n)" proposal, as when the driver
// was found installed before copying. False when the user cancelled the installation or the
// printer cannot be added under the confirmed name either.
bool AddUnderAnotherName(Installer& installer, WindowHandle owner, PrinterInfo2& printer) {
    const INT_PTR result = ChoosePrinterName(installer, owner, installer.printerName);
    if (result == 0) {
        return false;
    }
    // A name cleared in the dialog means the printer is named after its driver.
    printer.printerName =
        installer.printerQueueName.empty() ? installer.printerName : installer.printerQueueName;
    if (const DWORD error = AddPrinterWaiting(installer, printer)) {
        return PrinterRefused(installer, printer, error);
    }
    RecordPrinter(installer, printer);
    return true;
}

} // namespace

std::string DependentFiles(const CopyList& copyList, const RenameList& renames) {
    std::string files;
    RenameList::Reader names = renames.Read();
    const std::size_t count = copyList.Count();
    for (std::size_t i = 0; i < count; ++i) {
        std::optional<std::string_view> name;
        if ((copyList.Flag(i) & 0x7F) == kFlagRenamed && renames.Held()) {
            name = names.Next();
        }
        files += name.value_or(copyList.Name(i));
        files += '\0';
    }
    files += '\0';
    return files;
}

bool RegisterWithSpooler(Installer& installer, WindowHandle owner) {
    std::optional<std::string>& driverData = installer.catalogue.driverData;
    if (!driverData) {
        return false;
    }
    const std::string block = std::move(*driverData);
    driverData.reset();
    Spooler& spooler = installer.platform.spooler;
    const std::string environment(kWindows95Environment);

    DriverInfo3 driver;
    driver.version = kWindows95DriverVersion;
    driver.name = installer.printerName;
    driver.environment = environment;
    const std::string driverFile = Record(block, kRecordDriverFile);
    driver.driverPath = driverFile;
    driver.dataFile = driverFile;
    driver.configFile = driverFile;
    driver.helpFile = Record(block, kRecordHelpFile);
    if (!installer.copyList.Empty()) {
        driver.dependentFiles = DependentFiles(installer.copyList, installer.renames);
    }
    std::string dataType = Record(block, kRecordDefaultDataType);
    if (dataType.empty()) {
        dataType = kDefaultDataType;
    }
    driver.defaultDataType = dataType;
    const std::string monitor = Record(block, kRecordLanguageMonitor);
    if (!monitor.empty()) {
        driver.monitorName = DriverRecordField(monitor, 1);
    }

    PrinterInfo2 printer;
    printer.printerName =
        installer.printerQueueName.empty() ? installer.printerName : installer.printerQueueName;
    printer.portName = std::string(kPrinterPort);
    printer.driverName = installer.printerName;

    std::string processorName(kBuiltInPrintProcessor);
    const std::string processor = Record(block, kRecordPrintProcessor);
    if (!processor.empty()) {
        processorName = DriverRecordField(processor, 1);
        if (!text::EqualsIgnoreCase(processorName, kBuiltInPrintProcessor)) {
            const std::string library = DriverRecordField(processor, 2);
            const BOOL added = spooler.AddPrintProcessor(std::nullopt, kWindows95Environment,
                                                         library, processorName);
            if (!added &&
                !AlreadyInstalled(spooler.GetLastError(), kErrorPrintProcessorAlreadyInstalled)) {
                return Refused(installer, "AddPrintProcessorA", processorName);
            }
            RecordAdded(installer, removal_record::kPrintProcessor, processorName, added != 0);
        }
    }
    printer.printProcessor = processorName;
    printer.datatype = dataType;
    printer.attributes = kPrinterAttributeEnableBidi | kPrinterAttributeDefault;
    printer.priority = 1;
    printer.defaultPriority = 1;

    if (driver.monitorName) {
        MonitorInfo2 info;
        info.name = driver.monitorName;
        info.environment = environment;
        info.dllName = DriverRecordField(monitor, 2);
        const BOOL added = spooler.AddMonitor(std::nullopt, 2, info);
        if (!added &&
            !AlreadyInstalled(spooler.GetLastError(), kErrorPrintMonitorAlreadyInstalled)) {
            return Refused(installer, "AddMonitorA", *driver.monitorName);
        }
        RecordAdded(installer, removal_record::kMonitor, *info.name, added != 0);
    }

    // IsDriverInstalled starts a new choice of printer name; the one chosen stays.
    const std::string queueName = installer.printerQueueName;
    const bool driverThere = IsDriverInstalled(installer, installer.printerName);
    installer.printerQueueName = queueName;
    if (!spooler.AddPrinterDriver(std::nullopt, 3, driver)) {
        return Refused(installer, "AddPrinterDriverA", installer.printerName);
    }
    RecordAdded(installer, removal_record::kDriver, installer.printerName, !driverThere);
    RecordDefaultPrinter(installer);
    const DWORD error = AddPrinterWaiting(installer, printer);
    if (error == 0) {
        RecordPrinter(installer, printer);
        return true;
    }
    if (error != kErrorPrinterAlreadyExists) {
        return PrinterRefused(installer, printer, error);
    }
    return AddUnderAnotherName(installer, owner, printer);
}

} // namespace tl
