// The report of a machine folder as text for people and as JSON for scripts.
#include "machine_report.h"
#include "platform/spooler.h"
#include "ui/unattended/json_text.h"

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
    using ui::JsonArray;
    using ui::JsonObject;
    using ui::JsonQuote;
    auto texts = [](const std::vector<std::string>& items) {
        std::vector<std::string> quoted;
        for (const auto& item : items) {
            quoted.push_back(JsonQuote(item));
        }
        return JsonArray(quoted);
    };

    JsonObject machine;
    machine.String("folder", report.folder)
        .String("windowsDirectory", report.windowsDirectory)
        .String("systemDirectory", report.systemDirectory)
        .String("version", report.version);

    std::vector<std::string> printers;
    for (const auto& printer : report.printers) {
        printers.push_back(JsonObject()
                               .String("name", printer.name)
                               .String("port", printer.port)
                               .String("driver", printer.driver)
                               .String("printProcessor", printer.printProcessor)
                               .String("datatype", printer.datatype)
                               .Number("attributes", printer.attributes)
                               .Number("priority", printer.priority)
                               .Number("defaultPriority", printer.defaultPriority)
                               .Text());
    }

    std::vector<std::string> drivers;
    for (const auto& driver : report.drivers) {
        const host::DriverRecord& record = driver.record;
        std::vector<std::string> files;
        for (const auto& file : driver.files) {
            files.push_back(
                JsonObject().String("name", file.name).Bool("present", file.present).Text());
        }
        drivers.push_back(JsonObject()
                              .String("name", record.name)
                              .String("driver", record.driver)
                              .String("dataFile", record.dataFile)
                              .String("configFile", record.configFile)
                              .String("helpFile", record.helpFile)
                              .Raw("dependentFiles", texts(record.dependentFiles))
                              .String("monitor", record.monitor)
                              .String("datatype", record.datatype)
                              .Raw("files", JsonArray(files))
                              .Text());
    }

    auto libraries = [](const std::vector<host::LibraryRecord>& records) {
        std::vector<std::string> items;
        for (const auto& record : records) {
            items.push_back(
                JsonObject().String("name", record.name).String("driver", record.driver).Text());
        }
        return JsonArray(items);
    };

    std::vector<std::string> fonts;
    for (const auto& font : report.fonts) {
        fonts.push_back(JsonObject()
                            .String("name", font.name)
                            .String("file", font.file)
                            .Bool("present", font.present)
                            .Text());
    }
    std::vector<std::string> ports;
    for (const auto& port : report.parallelPorts) {
        ports.push_back(
            JsonObject().String("name", port.name).Bool("ecp", port.device == "*PNP0401").Text());
    }
    JsonObject ecpResults;
    for (const auto& [key, value] : report.ecpResults) {
        ecpResults.String(key, value);
    }
    JsonObject lptVxd;
    lptVxd.Bool("present", report.lptVxdPresent);
    if (report.lptVxdVersion) {
        lptVxd.String("version", *report.lptVxdVersion);
    } else {
        lptVxd.Null("version");
    }
    lptVxd.Bool("backupPresent", report.lptVxzPresent);

    return JsonObject()
               .Raw("machine", machine.Text())
               .Raw("printers", JsonArray(printers))
               .String("winIniDevice", report.winIniDevice)
               .Raw("drivers", JsonArray(drivers))
               .Raw("monitors", libraries(report.monitors))
               .Raw("printProcessors", libraries(report.printProcessors))
               .Raw("fonts", JsonArray(fonts))
               .Raw("atoms", texts(report.atoms))
               .Raw("devices", texts(report.devices))
               .Raw("parallelPorts", JsonArray(ports))
               .Raw("ecpResults", ecpResults.Text())
               .Raw("lptVxd", lptVxd.Text())
               .Raw("problems", texts(report.problems))
               .Text() +
           "\n";
}

} // namespace tl::tools
