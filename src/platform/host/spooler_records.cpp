#include "platform/host/spooler_records.h"

namespace tl::host {
namespace {

std::string Join(std::string_view parent, std::string_view name) {
    std::string path(parent);
    path += '\\';
    path += name;
    return path;
}

std::string Text(const SpoolerRegistry& registry, std::string_view key, std::string_view name) {
    return ValueText(registry.GetValue(key, name)).value_or("");
}

DWORD Number(const SpoolerRegistry& registry, std::string_view key, std::string_view name) {
    return ValueDword(registry.GetValue(key, name)).value_or(0);
}

std::vector<LibraryRecord> ReadLibraries(const SpoolerRegistry& registry, std::string_view parent) {
    std::vector<LibraryRecord> records;
    for (auto& name : registry.SubKeys(parent)) {
        std::string key = Join(parent, name);
        records.push_back({std::move(name), Text(registry, key, "Driver")});
    }
    return records;
}

} // namespace

std::string DriverKey(std::string_view name) {
    return Join(spooler_keys::kDrivers, name);
}
std::string PrinterKey(std::string_view name) {
    return Join(spooler_keys::kPrinters, name);
}
std::string MonitorKey(std::string_view name) {
    return Join(spooler_keys::kMonitors, name);
}
std::string PrintProcessorKey(std::string_view name) {
    return Join(spooler_keys::kPrintProcessors, name);
}

std::vector<DriverRecord> ReadDrivers(const SpoolerRegistry& registry) {
    std::vector<DriverRecord> records;
    for (auto& name : registry.SubKeys(spooler_keys::kDrivers)) {
        std::string key = DriverKey(name);
        DriverRecord record;
        record.name = std::move(name);
        record.driver = Text(registry, key, "Driver");
        record.dataFile = Text(registry, key, "Data File");
        record.configFile = Text(registry, key, "Configuration File");
        record.helpFile = Text(registry, key, "Help File");
        record.dependentFiles = ValueNames(registry.GetValue(key, "Dependent Files"));
        record.monitor = Text(registry, key, "Monitor");
        record.datatype = Text(registry, key, "Datatype");
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<PrinterRecord> ReadPrinters(const SpoolerRegistry& registry) {
    std::vector<PrinterRecord> records;
    for (auto& name : registry.SubKeys(spooler_keys::kPrinters)) {
        std::string key = PrinterKey(name);
        PrinterRecord record;
        record.name = std::move(name);
        record.port = Text(registry, key, "Port");
        record.driver = Text(registry, key, "Printer Driver");
        record.printProcessor = Text(registry, key, "Print Processor");
        record.datatype = Text(registry, key, "Datatype");
        record.attributes = Number(registry, key, "Attributes");
        record.priority = Number(registry, key, "Priority");
        record.defaultPriority = Number(registry, key, "Default Priority");
        record.deviceNotSelectedTimeout = Number(registry, key, "dnsTimeout");
        record.transmissionRetryTimeout = Number(registry, key, "txTimeout");
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<LibraryRecord> ReadMonitors(const SpoolerRegistry& registry) {
    return ReadLibraries(registry, spooler_keys::kMonitors);
}

std::vector<LibraryRecord> ReadPrintProcessors(const SpoolerRegistry& registry) {
    return ReadLibraries(registry, spooler_keys::kPrintProcessors);
}

} // namespace tl::host
