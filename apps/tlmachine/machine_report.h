// What `tlmachine show` reports about a machine folder: the spooler's printers, drivers,
// monitors and print processors, the fonts, the global atoms, the device lines of SYSTEM.INI,
// the parallel port and its driver. Every text is UTF-8.
#pragma once

#include "platform/host/spooler_records.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tl::tools {

struct ReportFile {
    std::string name;
    bool present = false;
};

struct ReportDriver {
    host::DriverRecord record;
    std::vector<ReportFile> files; // each file the record names, once, with whether it is there
};

struct ReportFont {
    std::string name;
    std::string file;
    bool present = false;
};

struct ReportPort {
    std::string name;   // LPT1
    std::string device; // *PNP0400 or *PNP0401 (ECP)
};

struct MachineReport {
    std::string folder;
    std::string windowsDirectory;
    std::string systemDirectory;
    std::string version;
    std::vector<host::PrinterRecord> printers;
    std::vector<ReportDriver> drivers;
    std::vector<host::LibraryRecord> monitors;
    std::vector<host::LibraryRecord> printProcessors;
    std::vector<ReportFont> fonts;
    std::vector<std::string> atoms;
    std::vector<std::string> devices; // device= values of SYSTEM.INI [386Enh], in order
    std::vector<ReportPort> parallelPorts;
    std::vector<std::pair<std::string, std::string>> ecpResults; // WIN.INI [tlsetup]
    std::string winIniDevice; // WIN.INI [windows] device=: the default printer for older programs
    bool lptVxdPresent = false;
    std::optional<std::string> lptVxdVersion;
    bool lptVxzPresent = false;
    std::vector<std::string> problems; // what is missing or unreadable but does not stop the report
};

struct MachineReportResult {
    std::optional<MachineReport> report;
    std::string error; // the folder is missing or broken
};

MachineReportResult ReadMachineReport(const std::filesystem::path& folder);

std::string FormatReportText(const MachineReport& report);
std::string FormatReportJson(const MachineReport& report);

} // namespace tl::tools
