// Printers first, then what they used, then the default printer from before.
#include "platform/profile.h"
#include "platform/spooler.h"
#include "removal/removal_steps.h"
#include "state/installer.h"
#include "state/removal_log.h"
#include "text/ansi_text.h"

#include <algorithm>
#include <ranges>

namespace tl {

namespace {

constexpr DWORD kDeviceSize = 512;

void RemovePrinter(RemovalContext& context, const std::string& name) {
    Spooler& spooler = context.installer.platform.spooler;
    PrinterHandle printer;
    if (!spooler.OpenPrinter(name, &printer)) {
        context.report.Add(RemovalOutcome::AlreadyGone, name);
        return;
    }
    const BOOL deleted = spooler.DeletePrinter(printer);
    spooler.ClosePrinter(printer);
    if (!deleted) {
        context.report.Add(RemovalOutcome::Failed, name);
        return;
    }
    context.removedPrinters.push_back(name);
    context.report.Add(RemovalOutcome::Removed, name);
}

// A driver, monitor or print processor the installation added: what the spooler says of
// deleting it.
template <typename Delete>
void RemoveAdded(RemovalContext& context, const std::string& name, DWORD goneError, DWORD usedError,
                 Delete deleteIt) {
    Spooler& spooler = context.installer.platform.spooler;
    if (deleteIt(name)) {
        context.report.Add(RemovalOutcome::Removed, name);
        return;
    }
    const DWORD error = spooler.GetLastError();
    context.report.Add(error == goneError   ? RemovalOutcome::AlreadyGone
                       : error == usedError ? RemovalOutcome::StillUsed
                                            : RemovalOutcome::Failed,
                       name);
}

bool Removed(const RemovalContext& context, std::string_view printer) {
    return std::any_of(
        context.removedPrinters.begin(), context.removedPrinters.end(),
        [printer](const std::string& name) { return text::EqualsIgnoreCase(name, printer); });
}

std::string_view PrinterOf(std::string_view device) {
    return device.substr(0, std::min(device.find(','), device.size()));
}

// The default printer before the first installation comes back, unless someone chose another
// one since (the default is then not one this removal deleted).
void RestoreDefaultPrinter(RemovalContext& context) {
    const auto first = std::find_if(
        context.records.begin(), context.records.end(),
        [](const RemovalRecord& record) { return record.Is(removal_record::kDefaultPrinter); });
    if (first == context.records.end() || first->Field(1) != "1")
        return;
    Installer& installer = context.installer;
    std::string current(kDeviceSize, '\0');
    current.resize(installer.platform.profile.GetProfileString("windows", "device", "",
                                                               current.data(), kDeviceSize));
    if (!current.empty() && !Removed(context, PrinterOf(current)))
        return;
    const std::string& device = first->Field(2);
    const std::string printer(PrinterOf(device));
    Spooler& spooler = installer.platform.spooler;
    if (!spooler.SetDefaultPrinter(printer) && spooler.GetLastError() == kErrorInvalidPrinterName) {
        context.report.Add(RemovalOutcome::AlreadyGone, printer);
        return;
    }
    // Exactly the line that was there (Windows 95 knows the default printer only from it).
    if (!installer.platform.profile.WriteProfileString("windows", "device", device.c_str())) {
        context.report.Add(RemovalOutcome::Failed, "WIN.INI [windows] device=" + device);
        return;
    }
    context.report.Add(RemovalOutcome::Restored, "WIN.INI [windows] device=" + device);
}

} // namespace

void RemovePrinters(RemovalContext& context) {
    Spooler& spooler = context.installer.platform.spooler;
    const std::string environment(kWindows95Environment);
    const auto reversed = context.records | std::views::reverse;
    for (const RemovalRecord& record : reversed) {
        if (record.Is(removal_record::kPrinter))
            RemovePrinter(context, record.Field(1));
    }
    const auto added = [](const RemovalRecord& record, std::string_view kind) {
        return record.Is(kind) && record.Field(2) == "1";
    };
    for (const RemovalRecord& record : reversed) {
        if (added(record, removal_record::kDriver))
            RemoveAdded(context, record.Field(1), kErrorUnknownPrinterDriver,
                        kErrorPrinterDriverInUse, [&](const std::string& name) {
                            return spooler.DeletePrinterDriver(std::nullopt, environment, name);
                        });
    }
    for (const RemovalRecord& record : reversed) {
        if (added(record, removal_record::kMonitor))
            RemoveAdded(context, record.Field(1), kErrorUnknownPrintMonitor,
                        kErrorPrintMonitorInUse, [&](const std::string& name) {
                            return spooler.DeleteMonitor(std::nullopt, environment, name);
                        });
        if (added(record, removal_record::kPrintProcessor))
            RemoveAdded(context, record.Field(1), kErrorUnknownPrintProcessor, kErrorBusy,
                        [&](const std::string& name) {
                            return spooler.DeletePrintProcessor(std::nullopt, environment, name);
                        });
    }
    RestoreDefaultPrinter(context);
}

} // namespace tl
