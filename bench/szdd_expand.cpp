// Expanding a 16 MiB SZDD file through the LZ port (LZOpenFile, LZCopy, LZClose), file to file.
//   bench_szdd_expand                       Google Benchmark run
//   bench_szdd_expand --make PLAIN PACKED   writes the sample data and its SZDD form
//   bench_szdd_expand --expand IN OUT       one expansion through the port (for timing scripts)
#include "bench_support.h"
#include "platform/host/lz_host.h"
#include "platform/host/path_resolver.h"
#include "platform/host/szdd_compressor.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

namespace {

using namespace tl;
constexpr std::size_t kSampleSize = 16u << 20;

// Host paths are used as they are: the bench names files by their host path after "C:".
struct DirectResolver final : host::PathResolver {
    host::ResolvedPath Resolve(std::string_view path, host::PathUse) const override {
        return {std::filesystem::path(std::string(path.substr(2))), kErrorSuccess};
    }
};

long ExpandFile(const std::string& in, const std::string& out) {
    DirectResolver resolver;
    host::EventLog events;
    host::HostLzExpand lz(resolver, events);
    OfStruct ofIn, ofOut;
    const LzHandle source = lz.LZOpenFile("C:" + in, ofIn, kOfRead);
    const LzHandle dest = lz.LZOpenFile("C:" + out, ofOut, kOfCreate);
    const long result = source > 0 && dest > 0 ? lz.LZCopy(source, dest) : -1;
    lz.LZClose(source);
    lz.LZClose(dest);
    return result;
}

void BM_ExpandThroughPort(benchmark::State& state) {
    bench::ScratchFolder dir;
    const std::string packed = (dir.path / "SAMPLE.BI_").string();
    bench::WriteBytes(packed, host::CompressSzdd(bench::DriverData(kSampleSize, 1995)));
    for (auto _ : state) {
        if (ExpandFile(packed, (dir.path / "SAMPLE.BIN").string()) != long{kSampleSize})
            return state.SkipWithError("expansion failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSampleSize));
}
BENCHMARK(BM_ExpandThroughPort)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--make") == 0) {
        const auto data = bench::DriverData(kSampleSize, 1995);
        const bool written = bench::WriteBytes(argv[2], data) &&
                             bench::WriteBytes(argv[3], host::CompressSzdd(data));
        return written ? 0 : 1;
    }
    if (argc == 4 && std::strcmp(argv[1], "--expand") == 0) {
        const long n = ExpandFile(argv[2], argv[3]);
        if (n < 0)
            std::fprintf(stderr, "expansion failed: %ld\n", n);
        return n < 0 ? 1 : 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
