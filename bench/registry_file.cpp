// What a change to the simulated registry costs: the host writes the whole of registry.reg after
// every change, so the time to format (and, at start, to read) a registry of a realistic size
// bounds how fast the installer's registry calls run.
#include "platform/host/registry_file.h"
#include "platform/registry.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace std::string_literals;

// A registry of about the size a Windows 95 PC exports: `keys` keys of five values each.
tl::host::RegistryTree MakeTree(int keys) {
    tl::host::RegistryTree tree;
    for (int i = 0; i < keys; ++i) {
        auto* key = tree.Create("HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{" +
                                std::to_string(100000 + i) + "}\\InprocServer32");
        key->SetValue("", tl::kRegSz,
                      "C:\\WINDOWS\\SYSTEM\\LIBRARY" + std::to_string(i) + ".DLL\0"s);
        key->SetValue("ThreadingModel", tl::kRegSz, "Apartment\0"s);
        key->SetValue("Flags", tl::kRegDword, "\x01\x00\x00\x00"s);
        key->SetValue("Data", tl::kRegBinary, std::string(40, '\x5A'));
        key->SetValue("Name", tl::kRegSz, "\xC7\xD1\xB1\xDB \"quoted\"\0"s);
    }
    return tree;
}

void BM_FormatRegistry(benchmark::State& state) {
    const auto tree = MakeTree(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = tl::host::FormatRegistryText(tree);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_FormatRegistry)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ParseRegistry(benchmark::State& state) {
    const std::string text =
        tl::host::FormatRegistryText(MakeTree(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        tl::host::RegistryTree tree;
        std::string error;
        benchmark::DoNotOptimize(tl::host::ParseRegistryText(text, tree, error));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseRegistry)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
