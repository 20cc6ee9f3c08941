// The spooler's records in a registry.reg of any content: the records read back for tools and the
// host spooler's own enumeration and registration never crash, and a registration either
// succeeds and reads back or fails with an error code.
#include "platform/host/registry_file.h"
#include "platform/host/registry_host.h"
#include "platform/host/spooler_host.h"
#include "platform/host/spooler_records.h"
#include "platform/host/spooler_registry_host.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Where the registrations are written: a folder of this process's own.
std::filesystem::path RegistryFile() {
    static const std::filesystem::path folder = [] {
        std::filesystem::path made = std::filesystem::temp_directory_path() /
                                     ("tl-fuzz-spooler-" + std::to_string(getpid()));
        std::filesystem::create_directories(made);
        return made;
    }();
    return folder / "registry.reg";
}

void Enumerate(tl::host::HostSpooler& spooler) {
    tl::DWORD needed = 0;
    tl::DWORD returned = 0;
    std::vector<tl::DriverInfo1> drivers;
    static_cast<void>(spooler.EnumPrinterDrivers(std::nullopt, std::nullopt, 1, &drivers, 0,
                                                 &needed, &returned));
    static_cast<void>(spooler.EnumPrinterDrivers(std::nullopt, std::nullopt, 1, &drivers, needed,
                                                 &needed, &returned));
    std::vector<tl::PrinterInfo5> printers;
    static_cast<void>(spooler.EnumPrinters(tl::kPrinterEnumLocal, std::nullopt, 5, &printers, 0,
                                           &needed, &returned));
    static_cast<void>(spooler.EnumPrinters(tl::kPrinterEnumLocal, std::nullopt, 5, &printers,
                                           needed, &needed, &returned));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tl;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    host::RegistryTree tree;
    std::string error;
    if (!host::ParseRegistryText(text, tree, error)) {
        return 0;
    }
    host::HostRegistry registry(RegistryFile());
    registry.Tree() = std::move(tree);
    host::HostRegistrySpoolerStore store(registry);

    static_cast<void>(host::ReadDrivers(store));
    static_cast<void>(host::ReadPrinters(store));
    static_cast<void>(host::ReadMonitors(store));
    static_cast<void>(host::ReadPrintProcessors(store));

    host::HostSpooler spooler(store);
    Enumerate(spooler);

    DriverInfo3 driver;
    driver.version = 0x400;
    driver.name = "Telmora 600";
    driver.environment = std::string(kWindows95Environment);
    driver.driverPath = "TL600.DRV";
    driver.dataFile = "TL600.DRV";
    driver.configFile = "TL600.DRV";
    driver.helpFile = "TLHELP.HLP";
    driver.dependentFiles = std::string("TLPM.386\0TLMON.DLL\0\0", 20);
    driver.monitorName = "TLMonitor";
    driver.defaultDataType = "RAW";
    const BOOL added = spooler.AddPrinterDriver(std::nullopt, 3, driver);
    Check(added || spooler.GetLastError() != 0);
    if (added) {
        bool found = false;
        for (const auto& record : host::ReadDrivers(store)) {
            found = found || host::SameName(record.name, "Telmora 600");
        }
        Check(found);
    }

    PrinterInfo2 printer;
    printer.printerName = "Telmora 600";
    printer.portName = "LPT1:";
    printer.driverName = "Telmora 600";
    printer.printProcessor = std::string(kBuiltInPrintProcessor);
    printer.datatype = "RAW";
    const PrinterHandle handle = spooler.AddPrinter(std::nullopt, 2, printer);
    Check(handle || spooler.GetLastError() != 0);
    if (handle) {
        static_cast<void>(spooler.ClosePrinter(handle));
    }
    Enumerate(spooler);
    return 0;
}
