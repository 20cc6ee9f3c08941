// Expanding a 16 MiB SZDD file through the LZ port (LZOpenFile, LZCopy, LZClose), file to file.
//   bench_szdd_expand                       Google Benchmark run
//   bench_szdd_expand --make PLAIN PACKED   writes the sample data and its SZDD form
//   bench_szdd_expand --expand IN OUT       one expansion through the port (for timing scripts)
#include "platform/events.h"
#include "platform/host/lz_host.h"
#include "platform/host/path_resolver.h"
#include "platform/host/szdd_compressor.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using tl::BYTE;

constexpr std::size_t kSampleSize = 16u << 20;

// Driver-like data: runs of text and tables that compress well, with some incompressible blocks.
std::vector<BYTE> SampleData() {
    std::mt19937 engine(1995);
    std::vector<BYTE> out;
    out.reserve(kSampleSize);
    const std::string text = "[386Enh]\r\ndevice=lpt.vxd\r\nTelmora 600 PostScript\r\n";
    while (out.size() < kSampleSize) {
        const unsigned kind = engine() % 4;
        const std::size_t run = 256 + engine() % 4096;
        for (std::size_t i = 0; i < run && out.size() < kSampleSize; ++i) {
            out.push_back(kind == 0   ? static_cast<BYTE>(engine())
                          : kind == 1 ? static_cast<BYTE>(i % 7 == 0 ? engine() : 0)
                                      : static_cast<BYTE>(text[(i + kind) % text.size()]));
        }
    }
    return out;
}

// Host paths are used as they are: the bench names files by their host path after "C:".
class DirectResolver final : public tl::host::PathResolver {
public:
    tl::host::ResolvedPath Resolve(std::string_view path, tl::host::PathUse) const override {
        return {fs::path(std::string(path.substr(2))), tl::kErrorSuccess};
    }
};

class NoEvents final : public tl::EventSink {
public:
    void Record(tl::PlatformEvent) override {}
};

long ExpandFile(const std::string& in, const std::string& out) {
    DirectResolver resolver;
    NoEvents events;
    tl::host::HostLzExpand lz(resolver, events);
    tl::OfStruct ofIn;
    tl::OfStruct ofOut;
    const tl::LzHandle source = lz.LZOpenFile("C:" + in, ofIn, tl::kOfRead);
    const tl::LzHandle dest = lz.LZOpenFile("C:" + out, ofOut, tl::kOfCreate);
    const long result = source > 0 && dest > 0 ? lz.LZCopy(source, dest) : -1;
    lz.LZClose(source);
    lz.LZClose(dest);
    return result;
}

bool WriteFile(const std::string& path, const std::vector<BYTE>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

void BM_ExpandThroughPort(benchmark::State& state) {
    const fs::path dir = fs::temp_directory_path() / "tl_bench_szdd";
    fs::create_directories(dir);
    const std::string packed = (dir / "SAMPLE.BI_").string();
    const std::string out = (dir / "SAMPLE.BIN").string();
    WriteFile(packed, tl::host::CompressSzdd(SampleData()));
    for (auto _ : state) {
        const long n = ExpandFile(packed, out);
        if (n != static_cast<long>(kSampleSize)) {
            state.SkipWithError("expansion failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSampleSize));
    fs::remove_all(dir);
}
BENCHMARK(BM_ExpandThroughPort)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--make") == 0) {
        const std::vector<BYTE> data = SampleData();
        return WriteFile(argv[2], data) && WriteFile(argv[3], tl::host::CompressSzdd(data)) ? 0 : 1;
    }
    if (argc == 4 && std::strcmp(argv[1], "--expand") == 0) {
        const long n = ExpandFile(argv[2], argv[3]);
        if (n < 0) {
            std::fprintf(stderr, "expansion failed: %ld\n", n);
            return 1;
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
