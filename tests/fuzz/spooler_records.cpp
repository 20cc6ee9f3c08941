// A registry.reg of any content: the REGEDIT4 reader says why it fails, and a registry it accepts
// is written as text that reads back the same (rewriting registry.reg never loses anything). The
// spooler's records in it read back, enumerate and take a registration that succeeds and reads
// back, or fails with an error code.
#include "platform/host/spooler_records.h"
#include "fuzz.h"
#include "platform/host/registry_file.h"
#include "platform/host/registry_host.h"
#include "platform/host/spooler_host.h"
#include "platform/host/spooler_registry_host.h"

TL_FUZZ_TARGET(bytes) {
    host::RegistryTree tree, reread;
    std::string error;
    if (!host::ParseRegistryText(Text(bytes), tree, error))
        return Check(!error.empty());
    const std::string written = host::FormatRegistryText(tree);
    Check(host::ParseRegistryText(written, reread, error));
    Check(host::FormatRegistryText(reread) == written);

    host::HostRegistry registry(Folder("spooler") / "registry.reg");
    registry.Tree() = std::move(tree);
    host::HostRegistrySpoolerStore store(registry);
    static_cast<void>(host::ReadMonitors(store));
    static_cast<void>(host::ReadPrintProcessors(store));
    static_cast<void>(host::ReadPrinters(store));
    host::HostSpooler spooler(store);
    const auto enumerate = [&spooler] { // each list asked for twice: for the size, then with it
        DWORD needed = 0, returned = 0;
        std::vector<DriverInfo1> drivers;
        std::vector<PrinterInfo5> printers;
        for (const DWORD size : {0u, 1u}) {
            static_cast<void>(
                spooler.EnumPrinterDrivers({}, {}, 1, &drivers, size * needed, &needed, &returned));
            static_cast<void>(spooler.EnumPrinters(kPrinterEnumLocal, {}, 5, &printers,
                                                   size * needed, &needed, &returned));
        }
    };
    enumerate();
    DriverInfo3 driver;
    driver.version = 0x400;
    driver.name = "Telmora 600";
    driver.environment = std::string(kWindows95Environment);
    driver.driverPath = driver.dataFile = driver.configFile = "TL600.DRV";
    driver.dependentFiles = std::string("TLPM.386\0TLMON.DLL\0\0", 20);
    driver.monitorName = "TLMonitor";
    const BOOL added = spooler.AddPrinterDriver(std::nullopt, 3, driver);
    Check(added || spooler.GetLastError() != 0);
    bool found = false;
    for (const auto& record : host::ReadDrivers(store))
        found = found || host::SameName(record.name, "Telmora 600");
    Check(found || !added);
    PrinterInfo2 printer;
    printer.printerName = printer.driverName = "Telmora 600";
    printer.portName = "LPT1:";
    printer.printProcessor = std::string(kBuiltInPrintProcessor);
    const PrinterHandle handle = spooler.AddPrinter(std::nullopt, 2, printer);
    Check(handle || spooler.GetLastError() != 0);
    if (handle)
        static_cast<void>(spooler.ClosePrinter(handle));
    enumerate();
}
