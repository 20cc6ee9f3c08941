// The simulated registry: the host writes the whole of registry.reg after every change, so the
// time to format (and, at start, to read) a registry of a realistic size bounds how fast the
// installer's registry calls run; and the host spooler over it: one printer registration as the
// registry grows.
#include "platform/host/registry_file.h"
#include "bench_support.h"
#include "platform/host/registry_host.h"
#include "platform/host/spooler_host.h"
#include "platform/host/spooler_registry_host.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tl;
using namespace std::string_literals;

// A registry of about the size a Windows 95 PC exports: `keys` keys of five values each.
host::RegistryTree MakeTree(int keys) {
    host::RegistryTree tree;
    for (int i = 0; i < keys; ++i) {
        auto* key = tree.Create("HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{" +
                                std::to_string(100000 + i) + "}\\InprocServer32");
        key->SetValue("", kRegSz, "C:\\WINDOWS\\SYSTEM\\LIBRARY" + std::to_string(i) + ".DLL\0"s);
        key->SetValue("ThreadingModel", kRegSz, "Apartment\0"s);
        key->SetValue("Flags", kRegDword, "\x01\x00\x00\x00"s);
        key->SetValue("Data", kRegBinary, std::string(40, '\x5A'));
        key->SetValue("Name", kRegSz, "\xC7\xD1\xB1\xDB \"quoted\"\0"s);
    }
    return tree;
}

void BM_FormatRegistry(benchmark::State& state) {
    const auto tree = MakeTree(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = host::FormatRegistryText(tree);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_FormatRegistry)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ParseRegistry(benchmark::State& state) {
    const std::string text = host::FormatRegistryText(MakeTree(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        host::RegistryTree tree;
        std::string error;
        benchmark::DoNotOptimize(host::ParseRegistryText(text, tree, error));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseRegistry)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// A registry.reg holding `count` drivers with a printer each; Register adds one more of each.
struct Spooler {
    bench::ScratchFolder folder;
    host::HostRegistry registry{folder.path / "registry.reg"};
    host::HostRegistrySpoolerStore store{registry};
    host::HostSpooler spooler{store};

    explicit Spooler(int count) {
        std::string error;
        registry.Load(error);
        for (int i = 0; i < count; ++i)
            Register("Printer " + std::to_string(i));
    }
    void Register(const std::string& name) {
        DriverInfo3 driver;
        driver.name = name;
        driver.driverPath = driver.dataFile = driver.configFile = "TL600.DRV";
        driver.dependentFiles = std::string("TL600.DRV\0TLMON.DLL\0TLUI.DLL\0\0", 30);
        driver.defaultDataType = "RAW";
        spooler.AddPrinterDriver(std::nullopt, 3, driver);
        PrinterInfo2 printer;
        printer.printerName = printer.driverName = name;
        printer.portName = "LPT1:";
        printer.printProcessor = "WinPrint";
        printer.attributes = 0x800;
        printer.priority = printer.defaultPriority = 1;
        spooler.ClosePrinter(spooler.AddPrinter(std::nullopt, 2, printer));
    }
};

void BM_RegisterDriverAndPrinter(benchmark::State& state) {
    Spooler machine(static_cast<int>(state.range(0)));
    int next = 0;
    for (auto _ : state)
        machine.Register("New " + std::to_string(next++));
}
BENCHMARK(BM_RegisterDriverAndPrinter)->Arg(0)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
