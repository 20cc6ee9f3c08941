#include "init_command.h"

#include "platform/host/iconv_code_page.h"
#include "platform/host/machine_config.h"
#include "platform/host/machine_path_resolver.h"
#include "platform/host/profile_host.h"
#include "platform/host/registry_host.h"
#include "platform/host/spooler_host.h"
#include "platform/host/spooler_registry_host.h"
#include "platform/host/version_image_writer.h"

#include <fstream>

namespace tl::tools {
namespace {

namespace fs = std::filesystem;

bool WriteHostFile(const fs::path& path, std::string_view bytes, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        error = path.string() + ": cannot be written";
        return false;
    }
    return true;
}

bool WriteTemplate(const fs::path& folder, const host::MachineTemplate& machine,
                   const CodePage& codePage, std::string& error) {
    if (!WriteHostFile(folder / "machine.ini", machine.machineIni, error)) {
        return false;
    }
    std::error_code ec;
    for (const auto& directory : machine.directories) {
        std::optional<fs::path> path = host::TemplateHostPath(folder, directory);
        if (!path || (fs::create_directories(*path, ec), ec)) {
            error = "cannot make " + codePage.ToUtf8(directory);
            return false;
        }
    }
    for (const auto& file : machine.files) {
        std::optional<fs::path> path = host::TemplateHostPath(folder, file.windowsPath);
        if (!path || !WriteHostFile(*path, file.bytes, error)) {
            error = "cannot write " + codePage.ToUtf8(file.windowsPath);
            return false;
        }
    }
    host::HostRegistry registry(folder / "registry.reg");
    if (!registry.Load(error)) {
        return false;
    }
    for (const auto& key : machine.registryKeys) {
        registry.Tree().Create(key);
    }
    for (const auto& value : machine.registry) {
        host::RegistryKey* key = registry.Tree().Create(value.key);
        if (key == nullptr) {
            error = "cannot make the registry key " + codePage.ToUtf8(value.key);
            return false;
        }
        key->SetValue(value.name, value.type, value.data);
    }
    if (registry.Save() != kErrorSuccess) {
        error = (folder / "registry.reg").string() + ": cannot be written";
        return false;
    }
    return true;
}

// A driver file name made from the driver's name: its first eight letters and digits, ".DRV".
std::string DriverFileName(std::string_view driver) {
    std::string file;
    for (char c : driver) {
        if (file.size() == 8) {
            break;
        }
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) {
            file += c;
        } else if (c >= 'a' && c <= 'z') {
            file += static_cast<char>(c - 'a' + 'A');
        }
    }
    return (file.empty() ? std::string("PRINTER") : file) + ".DRV";
}

// A 16-bit printer driver image carrying a version resource, as Windows 95 printer drivers are.
std::string DriverImage() {
    host::VersionRecord record;
    record.fileVersion = {4, 0, 0, 950};
    record.productVersion = {4, 0, 0, 950};
    record.fileOS = kVosDosWindows16;
    record.fileType = kVftDrv;
    record.fileSubtype = kVft2DrvPrinter;
    std::vector<BYTE> image = host::WriteNeImage(record);
    return std::string(image.begin(), image.end());
}

// Registers the printers through the spooler of the machine just written, WIN.INI included.
bool InstallPrinters(const fs::path& folder, const InstalledPrinters& installed,
                     const CodePage& codePage, std::string& error) {
    if (installed.drivers.empty() && installed.printers.empty()) {
        return true;
    }
    host::MachineConfigResult config = host::LoadMachineConfig(folder, codePage);
    if (!config.config) {
        error = config.error;
        return false;
    }
    host::MachinePathResolver resolver(*config.config, codePage);
    host::HostProfile profile(resolver, config.config->windowsDirectory);
    host::HostRegistry registry(folder / "registry.reg");
    if (!registry.Load(error)) {
        return false;
    }
    host::HostRegistrySpoolerStore store(registry);
    host::HostSpooler spooler(
        store, host::SystemDirectoryProbe(resolver, config.config->systemDirectory), &profile);
    const std::string image = DriverImage();
    for (const auto& name : installed.drivers) {
        const std::string file = DriverFileName(name);
        std::optional<fs::path> path =
            host::TemplateHostPath(folder, config.config->systemDirectory + "\\" + file);
        if (!path) {
            error = "no place for the driver file " + file;
            return false;
        }
        if (!WriteHostFile(*path, image, error)) {
            return false;
        }
        DriverInfo3 driver;
        driver.version = kWindows95DriverVersion;
        driver.name = name;
        driver.environment = std::string(kWindows95Environment);
        driver.driverPath = driver.dataFile = driver.configFile = file;
        driver.helpFile = "";
        driver.dependentFiles = file + std::string(2, '\0');
        driver.defaultDataType = "RAW";
        if (!spooler.AddPrinterDriver(std::nullopt, 3, driver)) {
            error = "the driver " + codePage.ToUtf8(name) + " cannot be added (error " +
                    std::to_string(spooler.GetLastError()) + ")";
            return false;
        }
    }
    bool first = true;
    for (const auto& [name, driver] : installed.printers) {
        PrinterInfo2 printer;
        printer.printerName = name;
        printer.portName = "LPT1:";
        printer.driverName = driver;
        printer.printProcessor = std::string(kBuiltInPrintProcessor);
        printer.datatype = "RAW";
        printer.attributes = kPrinterAttributeEnableBidi | (first ? kPrinterAttributeDefault : 0);
        printer.priority = printer.defaultPriority = 1;
        PrinterHandle handle = spooler.AddPrinter(std::nullopt, 2, printer);
        if (!handle) {
            error = "the printer " + codePage.ToUtf8(name) + " cannot be added (error " +
                    std::to_string(spooler.GetLastError()) + ")";
            return false;
        }
        spooler.ClosePrinter(handle);
        first = false;
    }
    return true;
}

} // namespace

bool InitMachineFolder(const fs::path& folder, const host::MachineTemplateOptions& options,
                       const InstalledPrinters& installed, std::string& error) {
    host::IconvCodePage codePage;
    host::MachineTemplateResult built = host::BuildMachineTemplate(options, codePage);
    if (!built.machine) {
        error = built.error;
        return false;
    }
    std::error_code ec;
    const bool exists = fs::exists(folder, ec);
    if (exists && (!fs::is_directory(folder, ec) || !fs::is_empty(folder, ec))) {
        error = folder.string() + ": already exists and is not an empty folder";
        return false;
    }
    fs::path absolute = fs::absolute(folder, ec).lexically_normal();
    if (absolute.filename().empty()) {
        absolute = absolute.parent_path(); // "DIR/" names DIR
    }
    fs::path staging =
        absolute.parent_path() / ("." + absolute.filename().string() + ".tlmachine-new");
    fs::remove_all(staging, ec);
    if (!fs::create_directories(staging, ec)) {
        error = staging.string() + ": cannot be made (" + ec.message() + ")";
        return false;
    }
    if (!WriteTemplate(staging, *built.machine, codePage, error) ||
        !InstallPrinters(staging, installed, codePage, error)) {
        fs::remove_all(staging, ec);
        return false;
    }
    if (exists) {
        fs::remove(folder, ec);
    }
    fs::rename(staging, folder, ec);
    if (ec) {
        error = folder.string() + ": cannot be put in place (" + ec.message() + ")";
        fs::remove_all(staging, ec);
        return false;
    }
    return true;
}

} // namespace tl::tools
