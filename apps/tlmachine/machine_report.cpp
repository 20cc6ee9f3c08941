#include "machine_report.h"

#include "platform/host/iconv_code_page.h"
#include "platform/host/ini_text.h"
#include "platform/host/machine_config.h"
#include "platform/host/machine_path_resolver.h"
#include "platform/host/registry_host.h"
#include "platform/host/spooler_registry_host.h"
#include "platform/host/version_host.h"

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

void ToUtf8(std::string& text, const CodePage& codePage) {
    text = codePage.ToUtf8(text);
}

void ReadSpoolerRecords(host::HostRegistry& registry, const host::MachineConfig& machine,
                        const MachineFiles& files, const CodePage& codePage,
                        MachineReport& report) {
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
}

void ReadFonts(const host::HostRegistry& registry, const host::MachineConfig& machine,
               const MachineFiles& files, const CodePage& codePage, MachineReport& report) {
    const host::RegistryKey* fonts = registry.Tree().Find(kFontsKey);
    if (fonts == nullptr) {
        return;
    }
    const std::string fontsDirectory = machine.windowsDirectory + "\\FONTS";
    for (const auto& value : fonts->Values()) {
        std::string file = value.data.substr(0, value.data.find('\0'));
        report.fonts.push_back({codePage.ToUtf8(value.name), codePage.ToUtf8(file),
                                files.Exists(InDirectory(fontsDirectory, file))});
    }
}

void ReadIniFindings(const host::MachineConfig& machine, const MachineFiles& files,
                     const CodePage& codePage, MachineReport& report) {
    if (auto systemIni = files.Read(machine.windowsDirectory + "\\SYSTEM.INI")) {
        for (auto& device : DeviceLines(*systemIni)) {
            report.devices.push_back(codePage.ToUtf8(device));
        }
    } else {
        report.problems.push_back("SYSTEM.INI is missing from " + report.windowsDirectory);
    }
    auto winIni = files.Read(machine.windowsDirectory + "\\WIN.INI");
    if (!winIni) {
        report.problems.push_back("WIN.INI is missing from " + report.windowsDirectory);
        return;
    }
    host::IniText ini(*winIni);
    report.winIniDevice = codePage.ToUtf8(ini.Get("windows", "device").value_or(""));
    for (const auto& key : ini.KeyNames("tlsetup").value_or(std::vector<std::string>{})) {
        report.ecpResults.emplace_back(codePage.ToUtf8(key),
                                       codePage.ToUtf8(ini.Get("tlsetup", key).value_or("")));
    }
}

// Parallel ports as the Plug and Play enumerators list them; *PNP0401 is an ECP port.
void ReadParallelPorts(const host::HostRegistry& registry, const CodePage& codePage,
                       MachineReport& report) {
    for (std::string_view enumerator : {"Root", "BIOS"}) {
        for (std::string_view device : {"*PNP0400", "*PNP0401"}) {
            std::string key =
                "HKEY_LOCAL_MACHINE\\Enum\\" + std::string(enumerator) + "\\" + std::string(device);
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
    }
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

    ReadSpoolerRecords(registry, machine, files, codePage, report);
    ReadFonts(registry, machine, files, codePage, report);
    for (const auto& atom : machine.atoms) {
        report.atoms.push_back(codePage.ToUtf8(atom));
    }
    ReadIniFindings(machine, files, codePage, report);
    ReadParallelPorts(registry, codePage, report);

    const std::string lptVxd = machine.systemDirectory + "\\lpt.vxd";
    report.lptVxdPresent = files.Exists(lptVxd);
    if (report.lptVxdPresent) {
        report.lptVxdVersion = FileVersionText(files.Resolver(), lptVxd);
    }
    report.lptVxzPresent = files.Exists(machine.systemDirectory + "\\lpt.vxz");
    return {std::move(report), {}};
}

} // namespace tl::tools
