// The spooler's records as they stand in the registry, read for people and tools (tlmachine
// show) and by the host spooler itself.
#pragma once

#include "platform/host/spooler_registry.h"

#include <string>
#include <vector>

namespace tl::host {

struct DriverRecord {
    std::string name;
    std::string driver;
    std::string dataFile;
    std::string configFile;
    std::string helpFile;
    std::vector<std::string> dependentFiles;
    std::string monitor;
    std::string datatype;
};

struct PrinterRecord {
    std::string name;
    std::string port;
    std::string driver;
    std::string printProcessor;
    std::string datatype;
    DWORD attributes = 0;
    DWORD priority = 0;
    DWORD defaultPriority = 0;
    DWORD deviceNotSelectedTimeout = 0;
    DWORD transmissionRetryTimeout = 0;
};

// A monitor or a print processor: its name and its library.
struct LibraryRecord {
    std::string name;
    std::string driver;
};

std::vector<DriverRecord> ReadDrivers(const SpoolerRegistry& registry);
std::vector<PrinterRecord> ReadPrinters(const SpoolerRegistry& registry);
std::vector<LibraryRecord> ReadMonitors(const SpoolerRegistry& registry);
std::vector<LibraryRecord> ReadPrintProcessors(const SpoolerRegistry& registry);

// Key paths of one record.
std::string DriverKey(std::string_view name);
std::string PrinterKey(std::string_view name);
std::string MonitorKey(std::string_view name);
std::string PrintProcessorKey(std::string_view name);

} // namespace tl::host
