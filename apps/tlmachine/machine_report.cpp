#include "machine_report.h"

#include "json_text.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ini_text.h"
#include "platform/host/machine_config.h"
#include "platform/host/machine_path_resolver.h"
#include "platform/host/registry_host.h"
#include "platform/host/spooler_registry_host.h"
#include "platform/host/version_host.h"
#include "platform/spooler.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace tl::tools {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFontsKey =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";

std::optional<std::string> ReadHostFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Reads the machine's files through its own path rules (drive folders, names in any case).
class MachineFiles {
public:
    MachineFiles(const host::MachineConfig& config, const CodePage& codePage)
        : resolver_(config, codePage) {}

    std::optional<fs::path> HostPath(std::string_view windowsPath) const {
        host::ResolvedPath resolved = resolver_.Resolve(windowsPath, host::PathUse::Read);
        if (!resolved) {
            return std::nullopt;
        }
        return resolved.path;
    }

    bool Exists(std::string_view windowsPath) const {
        std::optional<fs::path> path = HostPath(windowsPath);
        std::error_code ignored;
        return path && fs::is_regular_file(*path, ignored);
    }

    std::optional<std::string> Read(std::string_view windowsPath) const {
        std::optional<fs::path> path = HostPath(windowsPath);
        return path ? ReadHostFile(*path) : std::nullopt;
    }

    const host::MachinePathResolver& Resolver() const { return resolver_; }

private:
    host::MachinePathResolver resolver_;
};

// A file named in a registration: a bare name lives in `directory`.
std::string InDirectory(const std::string& directory, const std::string& file) {
    if (file.find_first_of("\\:") != std::string::npos) {
        return file;
    }
    return directory + "\\" + file;
}

// Every value of the key "device" in SYSTEM.INI's [386Enh] sections, in file order.
std::vector<std::string> DeviceLines(std::string_view text) {
    std::vector<std::string> devices;
    bool inEnh = false;
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        std::string_view trimmed = host::TrimProfileBlanks(line);
        if (!trimmed.empty() && trimmed.front() == '[') {
            std::size_t close = trimmed.rfind(']');
            std::string_view name =
                close == std::string_view::npos ? trimmed.substr(1) : trimmed.substr(1, close - 1);
            inEnh = host::ProfileNameEquals(host::TrimProfileBlanks(name), "386Enh");
            continue;
        }
        std::size_t equals = trimmed.find('=');
        if (!inEnh || equals == std::string_view::npos) {
            continue;
        }
        if (host::ProfileNameEquals(host::TrimProfileBlanks(trimmed.substr(0, equals)), "device")) {
            devices.emplace_back(host::TrimProfileBlanks(trimmed.substr(equals + 1)));
        }
    }
    return devices;
}

// The file version of an executable image as "a.b.c.d", read the way the installer reads it.
std::optional<std::string> FileVersionText(const host::PathResolver& resolver,
                                           std::string_view path) {
    host::HostVersionInfo versions(resolver);
    DWORD handle = 0;
    DWORD size = versions.GetFileVersionInfoSize(path, &handle);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<BYTE> block(size);
    const void* value = nullptr;
    UINT length = 0;
    if (!versions.GetFileVersionInfo(path, handle, size, block.data()) ||
        !versions.VerQueryValue(block.data(), "\\", &value, &length)) {
        return std::nullopt;
    }
    std::optional<FixedFileInfo> fixed = ReadFixedFileInfo(value, length);
    if (!fixed) {
        return std::nullopt;
    }
    return std::to_string(fixed->dwFileVersionMS >> 16) + "." +
           std::to_string(fixed->dwFileVersionMS & 0xFFFF) + "." +
           std::to_string(fixed->dwFileVersionLS >> 16) + "." +
           std::to_string(fixed->dwFileVersionLS & 0xFFFF);
}

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

void ToUtf8(std::string& text, const CodePage& codePage) {
    text = codePage.ToUtf8(text);
}

} // namespace

MachineReportResult ReadMachineReport(const fs::path& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        return {std::nullopt, folder.string() + ": no such machine folder"};
    }
    if (!fs::is_regular_file(folder / "machine.ini", ec)) {
        return {std::nullopt, folder.string() + ": not a machine folder (no machine.ini)"};
    }
    host::IconvCodePage codePage;
    host::MachineConfigResult config = host::LoadMachineConfig(folder, codePage);
    if (!config.config) {
        return {std::nullopt, (folder / "machine.ini").string() + ": " + config.error};
    }
    host::HostRegistry registry(folder / "registry.reg");
    std::string registryError;
    if (!registry.Load(registryError)) {
        return {std::nullopt, registryError};
    }

    MachineReport report;
    const host::MachineConfig& machine = *config.config;
    MachineFiles files(machine, codePage);
    report.folder = folder.string();
    report.windowsDirectory = codePage.ToUtf8(machine.windowsDirectory);
    report.systemDirectory = codePage.ToUtf8(machine.systemDirectory);
    report.version =
        std::to_string(machine.versionMajor) + "." + std::to_string(machine.versionMinor);
    if (!fs::exists(folder / "registry.reg", ec)) {
        report.problems.push_back("registry.reg is missing: the registry is empty");
    }

    host::HostRegistrySpoolerStore spooler(registry);
    for (auto printer : host::ReadPrinters(spooler)) {
        for (auto* text : {&printer.name, &printer.port, &printer.driver, &printer.printProcessor,
                           &printer.datatype}) {
            ToUtf8(*text, codePage);
        }
        report.printers.push_back(std::move(printer));
    }
    for (auto driver : host::ReadDrivers(spooler)) {
        ReportDriver entry;
        std::set<std::string> seen;
        std::vector<std::string> named = {driver.driver, driver.dataFile, driver.configFile,
                                          driver.helpFile};
        named.insert(named.end(), driver.dependentFiles.begin(), driver.dependentFiles.end());
        for (const auto& file : named) {
            if (file.empty() || !seen.insert(file).second) {
                continue;
            }
            entry.files.push_back(
                {codePage.ToUtf8(file), files.Exists(InDirectory(machine.systemDirectory, file))});
        }
        for (auto* text : {&driver.name, &driver.driver, &driver.dataFile, &driver.configFile,
                           &driver.helpFile, &driver.monitor, &driver.datatype}) {
            ToUtf8(*text, codePage);
        }
        for (auto& file : driver.dependentFiles) {
            ToUtf8(file, codePage);
        }
        entry.record = std::move(driver);
        report.drivers.push_back(std::move(entry));
    }
    for (auto& [list, records] :
         {std::pair{&report.monitors, host::ReadMonitors(spooler)},
          std::pair{&report.printProcessors, host::ReadPrintProcessors(spooler)}}) {
        for (auto record : records) {
            ToUtf8(record.name, codePage);
            ToUtf8(record.driver, codePage);
            list->push_back(std::move(record));
        }
    }

    const std::string fontsDirectory = machine.windowsDirectory + "\\FONTS";
    if (const host::RegistryKey* fonts = registry.Tree().Find(kFontsKey)) {
        for (const auto& value : fonts->Values()) {
            std::string file = value.data.substr(0, value.data.find('\0'));
            report.fonts.push_back({codePage.ToUtf8(value.name), codePage.ToUtf8(file),
                                    files.Exists(InDirectory(fontsDirectory, file))});
        }
    }
    for (const auto& atom : machine.atoms) {
        report.atoms.push_back(codePage.ToUtf8(atom));
    }

    if (auto systemIni = files.Read(machine.windowsDirectory + "\\SYSTEM.INI")) {
        for (auto& device : DeviceLines(*systemIni)) {
            report.devices.push_back(codePage.ToUtf8(device));
        }
    } else {
        report.problems.push_back("SYSTEM.INI is missing from " + report.windowsDirectory);
    }
    if (auto winIni = files.Read(machine.windowsDirectory + "\\WIN.INI")) {
        host::IniText ini(*winIni);
        report.winIniDevice = codePage.ToUtf8(ini.Get("windows", "device").value_or(""));
        for (const auto& key : ini.KeyNames("tlsetup").value_or(std::vector<std::string>{})) {
            report.ecpResults.emplace_back(codePage.ToUtf8(key),
                                           codePage.ToUtf8(ini.Get("tlsetup", key).value_or("")));
        }
    } else {
        report.problems.push_back("WIN.INI is missing from " + report.windowsDirectory);
    }

    for (std::string_view device : {"*PNP0400", "*PNP0401"}) {
        std::string key = "HKEY_LOCAL_MACHINE\\Enum\\BIOS\\" + std::string(device);
        const host::RegistryKey* parent = registry.Tree().Find(key);
        if (parent == nullptr) {
            continue;
        }
        for (const auto& instance : parent->Children()) {
            const host::RegistryValue* port = instance->FindValue("PortName");
            if (port != nullptr) {
                report.parallelPorts.push_back(
                    {codePage.ToUtf8(port->data.substr(0, port->data.find('\0'))),
                     std::string(device)});
            }
        }
    }

    const std::string lptVxd = machine.systemDirectory + "\\lpt.vxd";
    report.lptVxdPresent = files.Exists(lptVxd);
    if (report.lptVxdPresent) {
        report.lptVxdVersion = FileVersionText(files.Resolver(), lptVxd);
    }
    report.lptVxzPresent = files.Exists(machine.systemDirectory + "\\lpt.vxz");
    return {std::move(report), {}};
}

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
