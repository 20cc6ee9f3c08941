// The report of a machine folder as text for people and as JSON for scripts.
#include "json_text.h"
#include "machine_report.h"
#include "platform/spooler.h"

#include <cstdio>
#include <sstream>

namespace tl::tools {
namespace {

std::string Hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

std::string AttributeWords(DWORD attributes) {
    std::string words;
    if ((attributes & tl::kPrinterAttributeDefault) != 0) {
        words += "default";
    }
    if ((attributes & tl::kPrinterAttributeEnableBidi) != 0) {
        words += words.empty() ? "bidirectional" : ", bidirectional";
    }
    return words;
}

} // namespace

std::string FormatReportText(const MachineReport& report) {
    std::ostringstream out;
    out << "Machine " << report.folder << ": Windows " << report.version << " in "
        << report.windowsDirectory << ", system directory " << report.systemDirectory << "\n";

    out << "\nPrinters (" << report.printers.size() << "):\n";
    for (const auto& printer : report.printers) {
        out << "  " << printer.name << "\n    port " << printer.port << ", driver "
            << printer.driver << ", print processor " << printer.printProcessor << ", datatype "
            << printer.datatype << "\n    attributes " << Hex(printer.attributes);
        std::string words = AttributeWords(printer.attributes);
        if (!words.empty()) {
            out << " (" << words << ")";
        }
        out << ", priority " << printer.priority << ", default priority " << printer.defaultPriority
            << "\n";
    }

    if (!report.winIniDevice.empty()) {
        out << "  WIN.INI [windows] device=" << report.winIniDevice << "\n";
    }

    out << "\nPrinter drivers (" << report.drivers.size() << "):\n";
    for (const auto& driver : report.drivers) {
        const host::DriverRecord& record = driver.record;
        out << "  " << record.name << "\n    driver " << record.driver << ", data file "
            << record.dataFile << ", configuration file " << record.configFile << "\n    help file "
            << (record.helpFile.empty() ? "(none)" : record.helpFile) << ", monitor "
            << (record.monitor.empty() ? "(none)" : record.monitor) << ", datatype "
            << record.datatype << "\n    dependent files:";
        if (record.dependentFiles.empty()) {
            out << " (none)";
        }
        for (const auto& file : record.dependentFiles) {
            out << " " << file;
        }
        out << "\n    files in the system directory:";
        for (const auto& file : driver.files) {
            out << " " << file.name << (file.present ? "" : " (missing)");
        }
        out << "\n";
    }

    out << "\nMonitors (" << report.monitors.size() << "):\n";
    for (const auto& monitor : report.monitors) {
        out << "  " << monitor.name << ": " << monitor.driver << "\n";
    }
    out << "\nPrint processors (" << report.printProcessors.size() << "):\n";
    for (const auto& processor : report.printProcessors) {
        out << "  " << processor.name << ": " << processor.driver << "\n";
    }
    out << "\nFonts (" << report.fonts.size() << "):\n";
    for (const auto& font : report.fonts) {
        out << "  " << font.name << ": " << font.file << (font.present ? "" : " (missing)") << "\n";
    }
    out << "\nGlobal atoms:";
    if (report.atoms.empty()) {
        out << " (none)";
    }
    for (const auto& atom : report.atoms) {
        out << " " << atom;
    }
    out << "\n\nSYSTEM.INI [386Enh] device lines (" << report.devices.size() << "):\n";
    for (const auto& device : report.devices) {
        out << "  device=" << device << "\n";
    }
    out << "\nParallel ports:";
    if (report.parallelPorts.empty()) {
        out << " (none)";
    }
    for (const auto& port : report.parallelPorts) {
        out << " " << port.name << (port.device == "*PNP0401" ? " (ECP)" : "");
    }
    out << "\n";
    if (!report.ecpResults.empty()) {
        out << "WIN.INI [tlsetup]:";
        for (const auto& [key, value] : report.ecpResults) {
            out << " " << key << "=" << value;
        }
        out << "\n";
    }
    out << "lpt.vxd: ";
    if (!report.lptVxdPresent) {
        out << "(missing)";
    } else {
        out << "version " << report.lptVxdVersion.value_or("(none)");
    }
    out << (report.lptVxzPresent ? ", lpt.vxz present" : "") << "\n";
    for (const auto& problem : report.problems) {
        out << "\nwarning: " << problem;
    }
    if (!report.problems.empty()) {
        out << "\n";
    }
    return out.str();
}

std::string FormatReportJson(const MachineReport& report) {
    JsonWriter json;
    json.BeginObject();
    json.Key("machine").BeginObject();
    json.Key("folder").String(report.folder);
    json.Key("windowsDirectory").String(report.windowsDirectory);
    json.Key("systemDirectory").String(report.systemDirectory);
    json.Key("version").String(report.version);
    json.EndObject();

    json.Key("printers").BeginArray();
    for (const auto& printer : report.printers) {
        json.BeginObject();
        json.Key("name").String(printer.name);
        json.Key("port").String(printer.port);
        json.Key("driver").String(printer.driver);
        json.Key("printProcessor").String(printer.printProcessor);
        json.Key("datatype").String(printer.datatype);
        json.Key("attributes").Number(printer.attributes);
        json.Key("priority").Number(printer.priority);
        json.Key("defaultPriority").Number(printer.defaultPriority);
        json.EndObject();
    }
    json.EndArray();

    json.Key("winIniDevice").String(report.winIniDevice);
    json.Key("drivers").BeginArray();
    for (const auto& driver : report.drivers) {
        const host::DriverRecord& record = driver.record;
        json.BeginObject();
        json.Key("name").String(record.name);
        json.Key("driver").String(record.driver);
        json.Key("dataFile").String(record.dataFile);
        json.Key("configFile").String(record.configFile);
        json.Key("helpFile").String(record.helpFile);
        json.Key("dependentFiles").BeginArray();
        for (const auto& file : record.dependentFiles) {
            json.String(file);
        }
        json.EndArray();
        json.Key("monitor").String(record.monitor);
        json.Key("datatype").String(record.datatype);
        json.Key("files").BeginArray();
        for (const auto& file : driver.files) {
            json.BeginObject().Key("name").String(file.name).Key("present").Bool(file.present);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();

    for (auto [key, list] : {std::pair{"monitors", &report.monitors},
                             std::pair{"printProcessors", &report.printProcessors}}) {
        json.Key(key).BeginArray();
        for (const auto& record : *list) {
            json.BeginObject().Key("name").String(record.name).Key("driver").String(record.driver);
            json.EndObject();
        }
        json.EndArray();
    }

    json.Key("fonts").BeginArray();
    for (const auto& font : report.fonts) {
        json.BeginObject().Key("name").String(font.name).Key("file").String(font.file);
        json.Key("present").Bool(font.present).EndObject();
    }
    json.EndArray();
    json.Key("atoms").BeginArray();
    for (const auto& atom : report.atoms) {
        json.String(atom);
    }
    json.EndArray();
    json.Key("devices").BeginArray();
    for (const auto& device : report.devices) {
        json.String(device);
    }
    json.EndArray();
    json.Key("parallelPorts").BeginArray();
    for (const auto& port : report.parallelPorts) {
        json.BeginObject().Key("name").String(port.name);
        json.Key("ecp").Bool(port.device == "*PNP0401").EndObject();
    }
    json.EndArray();
    json.Key("ecpResults").BeginObject();
    for (const auto& [key, value] : report.ecpResults) {
        json.Key(key).String(value);
    }
    json.EndObject();
    json.Key("lptVxd").BeginObject();
    json.Key("present").Bool(report.lptVxdPresent);
    json.Key("version");
    if (report.lptVxdVersion) {
        json.String(*report.lptVxdVersion);
    } else {
        json.Null();
    }
    json.Key("backupPresent").Bool(report.lptVxzPresent);
    json.EndObject();
    json.Key("problems").BeginArray();
    for (const auto& problem : report.problems) {
        json.String(problem);
    }
    json.EndArray();
    json.EndObject();
    return json.Text() + "\n";
}

} // namespace tl::tools
