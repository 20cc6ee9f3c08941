// Loading setup scripts and looking keys up in them.
#include "platform/host/direct_file_system.h"
#include "state/inf_query.h"
#include "state/inf_scripts.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A printer catalogue of about `bytes` bytes: a manufacturer list, model lists, driver
// sections with their keys, and copy sections, CR LF and commented like a real one.
std::string Catalogue(std::size_t bytes) {
    std::string text = "; Telmora printer catalogue\r\n[Manufacturer]\r\n";
    for (int edition = 0; edition < 9; ++edition) {
        text += "\"Telmora (Edition " + std::to_string(edition) + ")\" = Models" +
                std::to_string(edition) + "\r\n";
    }
    for (int section = 0; text.size() < bytes; ++section) {
        const std::string n = std::to_string(section);
        text += "\r\n[Models" + n + "]\r\n";
        text += "\"Telmora 600 Model " + n + "\" = Driver" + n + "\r\n";
        text += "\r\n[Driver" + n + "]\r\n";
        text += "CopyFiles = Files" + n + ", Common\r\n";
        text += "DriverFile = TL" + n + ".DRV\r\nDefaultDataType = RAW\r\n";
        text += "HelpFile = TL" + n + ".HLP   ; help for the driver\r\n";
        text += "LanguageMonitor = \"Telmora Monitor, TLMON.DLL\"\r\n";
        text += "\r\n[Files" + n + "]\r\n";
        for (int file = 0; file < 6; ++file) {
            text += "1:TL" + n + "_" + std::to_string(file) + ".DR_, TL" + n + "_" +
                    std::to_string(file) + ".DRV\r\n";
        }
    }
    return text;
}

class Files {
public:
    Files() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tlbench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        dir_ = pattern;
        catalogueText_ = Catalogue(60 * 1024);
        std::ofstream(dir_ / "OEMSETUP.INF", std::ios::binary) << catalogueText_;
        std::ofstream(dir_ / "LARGE.INF", std::ios::binary) << Catalogue(4 * 1024 * 1024);
    }
    ~Files() { std::filesystem::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    std::size_t CatalogueSize() const { return catalogueText_.size(); }

private:
    std::filesystem::path dir_;
    std::string catalogueText_;
};

const Files& TestFiles() {
    static const Files files;
    return files;
}

void Load(benchmark::State& state, const char* name) {
    const std::string path = TestFiles().Path(name);
    tl::host::DirectFileSystem files;
    std::size_t bytes = 0;
    for (auto _ : state) {
        tl::SetupScripts scripts;
        const auto loaded = tl::LoadInf(scripts, files, path);
        if (loaded.status != tl::InfLoadStatus::Loaded) {
            state.SkipWithError("load failed");
            break;
        }
        bytes = std::filesystem::file_size(path);
        benchmark::DoNotOptimize(scripts.Bytes(loaded.script));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_LoadInf_Catalogue60K(benchmark::State& state) {
    Load(state, "OEMSETUP.INF");
}
BENCHMARK(BM_LoadInf_Catalogue60K)->Unit(benchmark::kMicrosecond);

void BM_LoadInf_Script4M(benchmark::State& state) {
    Load(state, "LARGE.INF");
}
BENCHMARK(BM_LoadInf_Script4M)->Unit(benchmark::kMillisecond);

// 1,000 look-ups of driver-section keys spread over the whole 60 KB catalogue, as the model
// reading does them: each scans from the start of the script.
void BM_GetInfKey_1000(benchmark::State& state) {
    tl::host::DirectFileSystem files;
    tl::SetupScripts scripts;
    const auto loaded = tl::LoadInf(scripts, files, TestFiles().Path("OEMSETUP.INF"));
    const int sections = tl::CountInfLines(
        scripts, tl::FindInfSection(scripts, std::nullopt, "Manufacturer")); // 9 editions
    int drivers = 0;
    while (tl::FindInfSection(scripts, loaded.script, "Driver" + std::to_string(drivers))) {
        ++drivers;
    }
    std::vector<std::string> names;
    static const char* const kKeys[] = {"CopyFiles", "DriverFile", "HelpFile", "LanguageMonitor",
                                        "PortMonitor"};
    for (int i = 0; i < 1000; ++i) {
        names.push_back("Driver" + std::to_string((i * 37) % drivers));
    }
    std::string value;
    for (auto _ : state) {
        int found = 0;
        for (int i = 0; i < 1000; ++i) {
            found += tl::GetInfKey(scripts, std::nullopt, names[i], kKeys[i % 5], value);
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["sections"] = drivers;
    state.counters["editions"] = sections;
}
BENCHMARK(BM_GetInfKey_1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
