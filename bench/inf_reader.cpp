// Loading setup scripts (a 60 KB catalogue, a 4 MB script) and looking keys up in them.
#include "bench_support.h"
#include "platform/host/direct_file_system.h"
#include "state/inf_query.h"
#include "state/inf_scripts.h"

#include <benchmark/benchmark.h>

namespace {

// A printer catalogue of about `bytes` bytes, CR LF and commented like a real one, as a file.
std::string ScriptFile(std::size_t bytes) {
    static const tl::bench::ScratchFolder folder;
    const auto path = folder.path / (std::to_string(bytes) + ".INF");
    std::string text = "; Telmora printer catalogue\r\n[Manufacturer]\r\n";
    for (int edition = 0; edition < 9; ++edition) {
        const std::string n = std::to_string(edition);
        text += "\"Telmora (Edition " + n + ")\" = Models" + n + "\r\n";
    }
    for (int section = 0; text.size() < bytes; ++section) {
        const std::string n = std::to_string(section);
        text += "\r\n[Models" + n + "]\r\n\"Telmora 600 Model " + n + "\" = Driver" + n +
                "\r\n\r\n[Driver" + n + "]\r\nCopyFiles = Files" + n +
                ", Common\r\nDriverFile = TL" + n +
                ".DRV\r\nDefaultDataType = RAW\r\nHelpFile = TL" + n +
                ".HLP   ; help for the driver\r\nLanguageMonitor = \"Telmora Monitor, "
                "TLMON.DLL\"\r\n\r\n[Files" +
                n + "]\r\n";
        for (int file = 0; file < 6; ++file) {
            const std::string f = n + "_" + std::to_string(file);
            text += "1:TL" + f + ".DR_, TL" + f + ".DRV\r\n";
        }
    }
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

void Load(benchmark::State& state, std::size_t bytes) {
    const std::string path = ScriptFile(bytes);
    tl::host::DirectFileSystem files;
    for (auto _ : state) {
        tl::SetupScripts scripts;
        const auto loaded = tl::LoadInf(scripts, files, path);
        if (loaded.status != tl::InfLoadStatus::Loaded)
            return state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
}
BENCHMARK_CAPTURE(Load, Catalogue60K, 60 << 10)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Load, Script4M, 4 << 20)->Unit(benchmark::kMillisecond);

// 1,000 look-ups of driver-section keys over the 60 KB catalogue, each from the script's start.
void BM_GetInfKey_1000(benchmark::State& state) {
    tl::host::DirectFileSystem files;
    tl::SetupScripts scripts;
    const auto loaded = tl::LoadInf(scripts, files, ScriptFile(60 << 10));
    int drivers = 0;
    while (tl::FindInfSection(scripts, loaded.script, "Driver" + std::to_string(drivers)))
        ++drivers;
    std::vector<std::string> names;
    for (int i = 0; i < 1000; ++i)
        names.push_back("Driver" + std::to_string((i * 37) % drivers));
    static const char* const kKeys[] = {"CopyFiles", "DriverFile", "HelpFile", "LanguageMonitor",
                                        "PortMonitor"};
    std::string value;
    for (auto _ : state) {
        int found = 0;
        for (int i = 0; i < 1000; ++i)
            found += tl::GetInfKey(scripts, std::nullopt, names[i], kKeys[i % 5], value);
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_GetInfKey_1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
