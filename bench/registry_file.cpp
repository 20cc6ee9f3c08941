// The simulated registry: registry.reg is written whole after every change and read at start, so
// formatting and parsing a registry of a realistic size bound the installer's registry calls.
#include "platform/host/registry_file.h"
#include "platform/registry.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tl;
using namespace std::string_literals;

// About the size a Windows 95 PC exports: `keys` keys of five values each.
host::RegistryTree Registry(int keys) {
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

void BM_FormatAndParseRegistry(benchmark::State& state) {
    const host::RegistryTree tree = Registry(static_cast<int>(state.range(0)));
    const std::string text = host::FormatRegistryText(tree);
    std::string error;
    for (auto _ : state) {
        host::RegistryTree parsed;
        if (state.range(1))
            benchmark::DoNotOptimize(host::FormatRegistryText(tree).data());
        else
            benchmark::DoNotOptimize(host::ParseRegistryText(text, parsed, error));
    }
    state.SetLabel(state.range(1) ? "format" : "parse");
}
BENCHMARK(BM_FormatAndParseRegistry)
    ->ArgsProduct({{1000, 10000}, {1, 0}})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
