// The host spooler over a machine's registry.reg: what one printer registration costs as the
// registry grows (every change is written to the file at once), and what the installer's two
// enumerations cost.
#include "platform/host/registry_host.h"
#include "platform/host/spooler_host.h"
#include "platform/host/spooler_registry_host.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

tl::DriverInfo3 Driver(const std::string& name) {
    tl::DriverInfo3 info;
    info.name = name;
    info.driverPath = info.dataFile = info.configFile = "TL600.DRV";
    info.helpFile = "";
    info.dependentFiles = std::string("TL600.DRV\0TLMON.DLL\0TLUI.DLL\0\0", 30);
    info.defaultDataType = "RAW";
    return info;
}

tl::PrinterInfo2 Printer(const std::string& name) {
    tl::PrinterInfo2 info;
    info.printerName = name;
    info.portName = "LPT1:";
    info.driverName = name;
    info.printProcessor = "WinPrint";
    info.attributes = 0x800;
    info.priority = info.defaultPriority = 1;
    return info;
}

// A registry file holding `count` drivers with a printer each.
struct Machine {
    explicit Machine(int count)
        : folder(fs::temp_directory_path() / "bench_spooler_registry"), registry(Prepare(folder)),
          store(registry), spooler(store) {
        std::string error;
        registry.Load(error);
        for (int i = 0; i < count; ++i) {
            const std::string name = "Printer " + std::to_string(i);
            spooler.AddPrinterDriver(std::nullopt, 3, Driver(name));
            spooler.ClosePrinter(spooler.AddPrinter(std::nullopt, 2, Printer(name)));
        }
    }
    ~Machine() { fs::remove_all(folder); }

    static fs::path Prepare(const fs::path& folder) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        return folder / "registry.reg";
    }

    fs::path folder;
    tl::host::HostRegistry registry;
    tl::host::HostRegistrySpoolerStore store;
    tl::host::HostSpooler spooler;
};

void BM_RegisterDriverAndPrinter(benchmark::State& state) {
    Machine machine(static_cast<int>(state.range(0)));
    int next = 0;
    for (auto _ : state) {
        const std::string name = "New " + std::to_string(next++);
        machine.spooler.AddPrinterDriver(std::nullopt, 3, Driver(name));
        machine.spooler.ClosePrinter(machine.spooler.AddPrinter(std::nullopt, 2, Printer(name)));
    }
}
BENCHMARK(BM_RegisterDriverAndPrinter)->Arg(0)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_EnumerateDriversAndPrinters(benchmark::State& state) {
    Machine machine(static_cast<int>(state.range(0)));
    std::vector<tl::DriverInfo1> drivers;
    std::vector<tl::PrinterInfo5> printers;
    tl::DWORD needed = 0;
    tl::DWORD returned = 0;
    for (auto _ : state) {
        machine.spooler.EnumPrinterDrivers(std::nullopt, std::nullopt, 1, &drivers, 800, &needed,
                                           &returned);
        machine.spooler.EnumPrinters(tl::kPrinterEnumLocal, std::nullopt, 5, &printers, 4000,
                                     &needed, &returned);
        benchmark::DoNotOptimize(returned);
    }
}
BENCHMARK(BM_EnumerateDriversAndPrinters)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
