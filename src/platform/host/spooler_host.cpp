#include "platform/host/spooler_host.h"

#include "platform/error_event.h"
#include "platform/host/ini_text.h"
#include "platform/host/spooler_records.h"

namespace tl::host {
namespace {

// The port monitor that Windows 95 builds into its spooler; it always exists.
constexpr std::string_view kBuiltInMonitor = "Local Port";
// Registry key names are limited; a printer name must leave room in a path of MAX_PATH.
constexpr std::size_t kMaxPrinterName = 220;
constexpr std::size_t kMaxKeyName = 255;

// Timeouts of a new printer, in milliseconds, as Windows gives a local port.
constexpr DWORD kDeviceNotSelectedTimeout = 15000;
constexpr DWORD kTransmissionRetryTimeout = 45000;

bool IsLocal(OptionalName server) {
    return !server || server->empty();
}

bool IsOwnEnvironment(OptionalName environment) {
    return !environment || SameName(*environment, kWindows95Environment);
}

bool IsOwnEnvironment(const OptionalText& environment) {
    return !environment || SameName(*environment, kWindows95Environment);
}

bool Missing(const OptionalText& text) {
    return !text || text->empty();
}

// A name that can stand as one registry key.
bool IsKeyName(std::string_view name) {
    return !name.empty() && name.size() <= kMaxKeyName && name.find('\\') == std::string_view::npos;
}

bool IsPrinterName(std::string_view name) {
    return !name.empty() && name.size() <= kMaxPrinterName &&
           name.find_first_of("\\,") == std::string_view::npos;
}

// The spooler records driver files by name: they live in the system directory.
std::string_view FileName(std::string_view path) {
    std::size_t cut = path.find_last_of("\\/:");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// The names of a multi-string, up to the first empty one.
std::vector<std::string> MultiStringNames(std::string_view bytes) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\0', start);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        if (end == start) {
            break;
        }
        names.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::optional<std::string> FindKey(const SpoolerRegistry& registry, std::string_view parent,
                                   std::string_view name) {
    for (auto& key : registry.SubKeys(parent)) {
        if (SameName(key, name)) {
            return key;
        }
    }
    return std::nullopt;
}

// Sizes an enumeration as the 32-bit API lays out its buffer.
DWORD Measure(DWORD structSize, const std::vector<std::vector<std::string_view>>& texts) {
    std::uint64_t total = 0;
    for (const auto& entry : texts) {
        total += structSize;
        for (auto text : entry) {
            total += text.size() + 1;
        }
    }
    return total > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<DWORD>(total);
}

} // namespace

bool SameName(std::string_view a, std::string_view b) {
    return ProfileNameEquals(a, b);
}

SystemFileProbe SystemDirectoryProbe(const PathResolver& resolver, std::string systemDirectory) {
    return [&resolver, directory = std::move(systemDirectory)](std::string_view file) {
        std::string path(file);
        if (file.find_first_of("\\:") == std::string_view::npos) {
            path = directory + "\\" + path;
        }
        ResolvedPath resolved = resolver.Resolve(path, PathUse::Read);
        std::error_code ignored;
        return resolved && std::filesystem::is_regular_file(resolved.path, ignored);
    };
}

HostSpooler::HostSpooler(SpoolerRegistry& registry, SystemFileProbe probe, Profile* profile)
    : registry_(registry), probe_(std::move(probe)), profile_(profile) {}

BOOL HostSpooler::Fail(DWORD error) {
    lastError_ = error;
    return 0;
}

bool HostSpooler::FileExists(std::string_view file) const {
    return !probe_ || probe_(file);
}

bool HostSpooler::Commit() {
    if (registry_.Commit()) {
        return true;
    }
    lastError_ = kErrorAccessDenied;
    return false;
}

BOOL HostSpooler::EnumPrinterDrivers(OptionalName name, OptionalName environment, DWORD level,
                                     std::vector<DriverInfo1>* drivers, DWORD bufferSize,
                                     DWORD* needed, DWORD* returned) {
    if (needed == nullptr || returned == nullptr || (drivers == nullptr && bufferSize > 0)) {
        return Fail(kErrorInvalidParameter);
    }
    *needed = 0;
    *returned = 0;
    if (!IsLocal(name)) {
        return Fail(kErrorInvalidName);
    }
    if (!IsOwnEnvironment(environment)) {
        return Fail(kErrorInvalidEnvironment);
    }
    if (level != 1) {
        return Fail(kErrorInvalidLevel);
    }
    std::vector<std::string> names = registry_.SubKeys(spooler_keys::kDrivers);
    std::vector<std::vector<std::string_view>> texts;
    for (const auto& driver : names) {
        texts.push_back({driver});
    }
    *needed = Measure(kDriverInfo1Size, texts);
    if (bufferSize < *needed) {
        return Fail(kErrorInsufficientBuffer);
    }
    if (drivers != nullptr) {
        drivers->clear();
        for (auto& driver : names) {
            drivers->push_back({std::move(driver)});
        }
    }
    *returned = static_cast<DWORD>(texts.size());
    lastError_ = kErrorSuccess;
    return 1;
}

BOOL HostSpooler::EnumPrinters(DWORD flags, OptionalName name, DWORD level,
                               std::vector<PrinterInfo5>* printers, DWORD bufferSize, DWORD* needed,
                               DWORD* returned) {
    if (needed == nullptr || returned == nullptr || (printers == nullptr && bufferSize > 0)) {
        return Fail(kErrorInvalidParameter);
    }
    *needed = 0;
    *returned = 0;
    if (level != 5) {
        return Fail(kErrorInvalidLevel);
    }
    if (!IsLocal(name)) {
        return Fail(kErrorInvalidName);
    }
    std::vector<PrinterInfo5> found;
    // Every printer of this machine is local; the default one alone answers the default flag.
    const bool local = (flags & kPrinterEnumLocal) != 0;
    if (local || (flags & kPrinterEnumDefault) != 0) {
        for (auto& record : ReadPrinters(registry_)) {
            if (!local && (record.attributes & kPrinterAttributeDefault) == 0) {
                continue;
            }
            found.push_back({std::move(record.name), std::move(record.port), record.attributes,
                             record.deviceNotSelectedTimeout, record.transmissionRetryTimeout});
        }
    }
    std::vector<std::vector<std::string_view>> texts;
    for (const auto& printer : found) {
        texts.push_back({printer.printerName, printer.portName});
    }
    *needed = Measure(kPrinterInfo5Size, texts);
    if (bufferSize < *needed) {
        return Fail(kErrorInsufficientBuffer);
    }
    if (printers != nullptr) {
        *printers = std::move(found);
    }
    *returned = static_cast<DWORD>(texts.size());
    lastError_ = kErrorSuccess;
    return 1;
}

BOOL HostSpooler::AddPrinterDriver(OptionalName name, DWORD level, const DriverInfo3& info) {
    if (!IsLocal(name)) {
        return Fail(kErrorInvalidName);
    }
    if (level != 3) {
        return Fail(kErrorInvalidLevel);
    }
    if (Missing(info.name) || !IsKeyName(*info.name) || Missing(info.driverPath) ||
        Missing(info.dataFile) || Missing(info.configFile)) {
        return Fail(kErrorInvalidParameter);
    }
    if (!IsOwnEnvironment(info.environment)) {
        return Fail(kErrorInvalidEnvironment);
    }
    for (const auto* file : {&info.driverPath, &info.dataFile, &info.configFile}) {
        if (!FileExists(**file)) {
            return Fail(kErrorFileNotFound);
        }
    }
    // A driver of the same name is replaced under the name it was first added with.
    std::string key =
        DriverKey(FindKey(registry_, spooler_keys::kDrivers, *info.name).value_or(*info.name));
    bool written = registry_.CreateKey(key);
    auto set = [&](std::string_view value, const OptionalText& text) {
        written = written && (text ? registry_.SetValue(key, value, TextValue(FileName(*text)))
                                   : registry_.DeleteValue(key, value));
    };
    set("Driver", info.driverPath);
    set("Data File", info.dataFile);
    set("Configuration File", info.configFile);
    set("Help File", info.helpFile);
    if (info.dependentFiles) {
        std::vector<std::string> files;
        for (const auto& file : MultiStringNames(*info.dependentFiles)) {
            files.emplace_back(FileName(file));
        }
        written = written && registry_.SetValue(key, "Dependent Files", MultiTextValue(files));
    } else {
        written = written && registry_.DeleteValue(key, "Dependent Files");
    }
    written = written &&
              (info.monitorName ? registry_.SetValue(key, "Monitor", TextValue(*info.monitorName))
                                : registry_.DeleteValue(key, "Monitor"));
    written = written &&
              registry_.SetValue(key, "Datatype", TextValue(info.defaultDataType.value_or("RAW")));
    if (!written) {
        registry_.Discard();
        return Fail(kErrorAccessDenied);
    }
    if (!Commit()) {
        return 0;
    }
    lastError_ = kErrorSuccess;
    return 1;
}

void HostSpooler::ClearOtherDefaults(std::string_view printer) {
    for (const auto& other : registry_.SubKeys(spooler_keys::kPrinters)) {
        if (SameName(other, printer)) {
            continue;
        }
        std::string key = PrinterKey(other);
        std::optional<DWORD> attributes = ValueDword(registry_.GetValue(key, "Attributes"));
        if (attributes && (*attributes & kPrinterAttributeDefault) != 0) {
            registry_.SetValue(key, "Attributes",
                               DwordValue(*attributes & ~kPrinterAttributeDefault));
        }
    }
}

// The WIN.INI entries of a printer name its driver by the driver file's name without extension:
// "Telmora 600=TL600,LPT1:". A failure to write them leaves the printer added: the registry is the
// spooler's record, WIN.INI a copy for 16-bit programs; the failure goes to the event sink.
std::string HostSpooler::DeviceText(std::string_view driverKey, std::string_view port) const {
    std::string driver = ValueText(registry_.GetValue(DriverKey(driverKey), "Driver")).value_or("");
    driver = driver.substr(0, driver.rfind('.'));
    return driver + "," + std::string(port);
}

void HostSpooler::EnterInWinIni(const PrinterInfo2& info, std::string_view driverKey) {
    if (profile_ == nullptr) {
        return;
    }
    const std::string device = DeviceText(driverKey, *info.portName);
    std::string timeouts = ",";
    timeouts += std::to_string(kDeviceNotSelectedTimeout / 1000);
    timeouts += ",";
    timeouts += std::to_string(kTransmissionRetryTimeout / 1000);
    const char* name = info.printerName->c_str();
    auto write = [this](const char* section, const char* key, const std::string& value) {
        if (!profile_->WriteProfileString(section, key, value.c_str()) && events_ != nullptr &&
            codePage_ != nullptr) {
            events_->Record(MakeErrorEvent(*codePage_, "WriteProfileString", "WIN.INI",
                                           profile_->GetLastError()));
        }
    };
    write("Devices", name, device);
    write("PrinterPorts", name, device + timeouts);
    if ((info.attributes & kPrinterAttributeDefault) != 0) {
        write("windows", "device", *info.printerName + "," + device);
    }
}

PrinterHandle HostSpooler::AddPrinter(OptionalName name, DWORD level, const PrinterInfo2& info) {
    if (!IsLocal(name)) {
        Fail(kErrorInvalidName);
        return {};
    }
    if (level != 2) {
        Fail(kErrorInvalidLevel);
        return {};
    }
    if (!info.printerName || !IsPrinterName(*info.printerName)) {
        Fail(kErrorInvalidPrinterName);
        return {};
    }
    if (FindKey(registry_, spooler_keys::kPrinters, *info.printerName)) {
        Fail(kErrorPrinterAlreadyExists);
        return {};
    }
    std::optional<std::string> driver =
        info.driverName ? FindKey(registry_, spooler_keys::kDrivers, *info.driverName)
                        : std::nullopt;
    if (!driver) {
        Fail(kErrorUnknownPrinterDriver);
        return {};
    }
    if (Missing(info.portName) || Missing(info.printProcessor)) {
        Fail(kErrorInvalidParameter);
        return {};
    }
    if (!SameName(*info.printProcessor, kBuiltInPrintProcessor) &&
        !FindKey(registry_, spooler_keys::kPrintProcessors, *info.printProcessor)) {
        Fail(kErrorUnknownPrintProcessor);
        return {};
    }

    std::string key = PrinterKey(*info.printerName);
    bool written = registry_.CreateKey(key);
    auto text = [&](std::string_view value, std::string_view content) {
        written = written && registry_.SetValue(key, value, TextValue(content));
    };
    auto number = [&](std::string_view value, DWORD content) {
        written = written && registry_.SetValue(key, value, DwordValue(content));
    };
    text("Name", *info.printerName);
    text("Port", *info.portName);
    text("Printer Driver", *info.driverName);
    text("Print Processor", *info.printProcessor);
    text("Datatype", info.datatype.value_or("RAW"));
    text("Share Name", info.shareName.value_or(""));
    text("Description", info.comment.value_or(""));
    text("Location", info.location.value_or(""));
    text("Separator File", info.sepFile.value_or(""));
    text("Parameters", info.parameters.value_or(""));
    number("Attributes", info.attributes);
    number("Priority", info.priority);
    number("Default Priority", info.defaultPriority);
    number("Start Time", info.startTime);
    number("Until Time", info.untilTime);
    number("Status", 0);
    number("dnsTimeout", kDeviceNotSelectedTimeout);
    number("txTimeout", kTransmissionRetryTimeout);
    if (written && (info.attributes & kPrinterAttributeDefault) != 0) {
        ClearOtherDefaults(*info.printerName);
    }
    if (!written) {
        registry_.Discard();
        Fail(kErrorAccessDenied);
        return {};
    }
    if (!Commit()) {
        return {};
    }
    EnterInWinIni(info, *driver);
    PrinterHandle handle{nextHandle_++};
    openPrinters_[handle.value] = *info.printerName;
    lastError_ = kErrorSuccess;
    return handle;
}

BOOL HostSpooler::ClosePrinter(PrinterHandle printer) {
    if (openPrinters_.erase(printer.value) == 0) {
        return Fail(kErrorInvalidHandle);
    }
    lastError_ = kErrorSuccess;
    return 1;
}

BOOL HostSpooler::AddMonitor(OptionalName name, DWORD level, const MonitorInfo2& info) {
    if (!IsLocal(name)) {
        return Fail(kErrorInvalidName);
    }
    if (level != 2) {
        return Fail(kErrorInvalidLevel);
    }
    if (Missing(info.name) || !IsKeyName(*info.name) || Missing(info.dllName)) {
        return Fail(kErrorInvalidParameter);
    }
    if (!IsOwnEnvironment(info.environment)) {
        return Fail(kErrorInvalidEnvironment);
    }
    if (SameName(*info.name, kBuiltInMonitor) ||
        FindKey(registry_, spooler_keys::kMonitors, *info.name)) {
        return Fail(kErrorPrintMonitorAlreadyInstalled);
    }
    if (!FileExists(*info.dllName)) {
        return Fail(kErrorModNotFound);
    }
    std::string key = MonitorKey(*info.name);
    if (!registry_.CreateKey(key) ||
        !registry_.SetValue(key, "Driver", TextValue(FileName(*info.dllName)))) {
        registry_.Discard();
        return Fail(kErrorAccessDenied);
    }
    if (!Commit()) {
        return 0;
    }
    lastError_ = kErrorSuccess;
    return 1;
}

BOOL HostSpooler::AddPrintProcessor(OptionalName name, OptionalName environment,
                                    std::string_view pathName,
                                    std::string_view printProcessorName) {
    if (!IsLocal(name)) {
        return Fail(kErrorInvalidName);
    }
    if (!IsOwnEnvironment(environment)) {
        return Fail(kErrorInvalidEnvironment);
    }
    if (!IsKeyName(printProcessorName) || pathName.empty()) {
        return Fail(kErrorInvalidParameter);
    }
    // WinPrint is part of the Windows 95 spooler and cannot be replaced.
    if (SameName(printProcessorName, kBuiltInPrintProcessor)) {
        return Fail(kErrorPrintProcessorAlreadyInstalled);
    }
    if (!FileExists(pathName)) {
        return Fail(kErrorModNotFound);
    }
    std::string key =
        PrintProcessorKey(FindKey(registry_, spooler_keys::kPrintProcessors, printProcessorName)
                              .value_or(std::string(printProcessorName)));
    if (!registry_.CreateKey(key) ||
        !registry_.SetValue(key, "Driver", TextValue(FileName(pathName)))) {
        registry_.Discard();
        return Fail(kErrorAccessDenied);
    }
    if (!Commit()) {
        return 0;
    }
    lastError_ = kErrorSuccess;
    return 1;
}

BOOL HostSpooler::OpenPrinter(std::string_view printerName, PrinterHandle* printer) {
    if (printer == nullptr) {
        return Fail(kErrorInvalidParameter);
    }
    *printer = {};
    std::optional<std::string> key = FindKey(registry_, spooler_keys::kPrinters, printerName);
    if (!key) {
        return Fail(kErrorInvalidPrinterName);
    }
    *printer = PrinterHandle{nextHandle_++};
    openPrinters_[printer->value] = std::move(*key);
    lastError_ = kErrorSuccess;
    return 1;
}

// Windows 95 keeps WIN.INI's lines of a printer for older programs; they go with it, and
// [windows] device= too when it names the printer (Windows then has no default printer).
void HostSpooler::TakeOutOfWinIni(std::string_view printer) {
    if (profile_ == nullptr) {
        return;
    }
    const std::string name(printer);
    profile_->WriteProfileString("Devices", name.c_str(), nullptr);
    profile_->WriteProfileString("PrinterPorts", name.c_str(), nullptr);
    constexpr DWORD kSize = 512;
    std::string device(kSize, '\0');
    device.resize(profile_->GetProfileString("windows", "device", "", device.data(), kSize));
    const std::size_t comma = device.find(',');
    if (comma != std::string::npos && SameName(device.substr(0, comma), printer)) {
        profile_->WriteProfileString("windows", "device", nullptr);
    }
}

// Takes `key` out of the registry and saves it; false, with the error set to 5 (access denied),
// when either fails.
bool HostSpooler::DeleteKeyCommitted(const std::string& key) {
    if (!registry_.DeleteKey(key)) {
        registry_.Discard();
        Fail(kErrorAccessDenied);
        return false;
    }
    return Commit();
}

BOOL HostSpooler::DeletePrinter(PrinterHandle printer) {
    const auto open = openPrinters_.find(printer.value);
    if (open == openPrinters_.end()) {
        return Fail(kErrorInvalidHandle);
    }
    const std::optional<std::string> key =
        FindKey(registry_, spooler_keys::kPrinters, open->second);
    if (!key) {
        return Fail(kErrorInvalidPrinterName);
    }
    if (!DeleteKeyCommitted(PrinterKey(*key))) {
        return 0;
    }
    TakeOutOfWinIni(*key);
    lastError_ = kErrorSuccess;
    return 1;
}

BOOL HostSpooler::DeletePrinterDriver(OptionalName name, OptionalName environment,
                                      std::string_view driverName) {
    if (!IsLocal(name)) {
        return Fail(kErrorInvalidName);
    }
    if (!IsOwnEnvironment(environment)) {
        return Fail(kErrorInvalidEnvironment);
    }
    const std::optional<std::string> key = FindKey(registry_, spooler_keys::kDrivers, driverName);
    if (!key) {
        return Fail(kErrorUnknownPrinterDriver);
    }
    for (const auto& printer : ReadPrinters(registry_)) {
        if (SameName(printer.driver, *key)) {
            return Fail(kErrorPrinterDriverInUse);
        }
    }
    if (!DeleteKeyCommitted(DriverKey(*key))) {
        return 0;
    }
    lastError_ = kErrorSuccess;
    return 1;
}

BOOL HostSpooler::DeleteMonitor(OptionalName name, OptionalName environment,
                                std::string_view monitorName) {
    if (!IsLocal(name)) {
        return Fail(kErrorInvalidName);
    }
    if (!IsOwnEnvironment(environment)) {
        return Fail(kErrorInvalidEnvironment);
    }
    const std::optional<std::string> key = FindKey(registry_, spooler_keys::kMonitors, monitorName);
    if (!key) {
        return Fail(kErrorUnknownPrintMonitor);
    }
    for (const auto& driver : ReadDrivers(registry_)) {
        if (SameName(driver.monitor, *key)) {
            return Fail(kErrorPrintMonitorInUse);
        }
    }
    if (!DeleteKeyCommitted(MonitorKey(*key))) {
        return 0;
    }
    lastError_ = kErrorSuccess;
    return 1;
}

BOOL HostSpooler::DeletePrintProcessor(OptionalName name, OptionalName environment,
                                       std::string_view printProcessorName) {
    if (!IsLocal(name)) {
        return Fail(kErrorInvalidName);
    }
    if (!IsOwnEnvironment(environment)) {
        return Fail(kErrorInvalidEnvironment);
    }
    const std::optional<std::string> key =
        FindKey(registry_, spooler_keys::kPrintProcessors, printProcessorName);
    if (!key) {
        return Fail(kErrorUnknownPrintProcessor);
    }
    for (const auto& printer : ReadPrinters(registry_)) {
        if (SameName(printer.printProcessor, *key)) {
            return Fail(kErrorBusy);
        }
    }
    if (!DeleteKeyCommitted(PrintProcessorKey(*key))) {
        return 0;
    }
    lastError_ = kErrorSuccess;
    return 1;
}

BOOL HostSpooler::SetDefaultPrinter(std::string_view printerName) {
    const std::optional<std::string> name =
        FindKey(registry_, spooler_keys::kPrinters, printerName);
    if (!name) {
        return Fail(kErrorInvalidPrinterName);
    }
    const std::string key = PrinterKey(*name);
    const DWORD attributes = ValueDword(registry_.GetValue(key, "Attributes")).value_or(0);
    ClearOtherDefaults(*name);
    if (!registry_.SetValue(key, "Attributes", DwordValue(attributes | kPrinterAttributeDefault))) {
        registry_.Discard();
        return Fail(kErrorAccessDenied);
    }
    if (!Commit()) {
        return 0;
    }
    if (profile_ != nullptr) {
        const std::string driver =
            ValueText(registry_.GetValue(key, "Printer Driver")).value_or("");
        const std::string port = ValueText(registry_.GetValue(key, "Port")).value_or("");
        const std::optional<std::string> driverKey =
            FindKey(registry_, spooler_keys::kDrivers, driver);
        const std::string device = *name + "," + DeviceText(driverKey.value_or(driver), port);
        profile_->WriteProfileString("windows", "device", device.c_str());
    }
    lastError_ = kErrorSuccess;
    return 1;
}

} // namespace tl::host
