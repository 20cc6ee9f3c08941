// Install steps on a machine folder: one copy run of 40 driver files of 128 KiB into the system
// directory, every other one SZDD-compressed; a device line added to SYSTEM.INI.
#include "bench_support.h"
#include "copy/copy_engine.h"
#include "copy/system_ini_device.h"
#include "platform/host/szdd_compressor.h"

#include <benchmark/benchmark.h>

namespace {

namespace fs = std::filesystem;
using namespace tl;

void BM_RunCopyList(benchmark::State& state) {
    constexpr int kFiles = 40;
    constexpr std::size_t kFileSize = 128u << 10;
    bench::MachineInstaller pc;
    if (!pc.installer)
        return state.SkipWithError(pc.error.c_str());
    const fs::path disk = pc.folder.path / "drive_c/DISK";
    fs::create_directories(disk);
    pc.installer->paths.sourceDir = "C:\\DISK";
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "TLDRV" + std::to_string(i) + ".DL";
        const auto data = bench::DriverData(kFileSize, static_cast<unsigned>(i));
        if (i % 2 == 0)
            bench::WriteBytes(disk / (name + "L"), data);
        else
            bench::WriteBytes(disk / (name + "_"), host::CompressSzdd(data));
        pc.installer->copyList.Append(kFlagSystemFile, '1', name + "L");
    }
    for (auto _ : state) {
        if (RunCopyList(*pc.installer, {}, {}) != CopyOutcome::Done)
            return state.SkipWithError("the copy run failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFiles * kFileSize));
}
BENCHMARK(BM_RunCopyList)->Unit(benchmark::kMillisecond);

// A SYSTEM.INI of about `bytes` bytes with [386Enh] in the middle.
std::string SystemIni(std::size_t bytes) {
    std::string text = "[boot]\r\nshell=Explorer.exe\r\n";
    for (int i = 0; text.size() < bytes / 2; ++i)
        text += "drivers" + std::to_string(i) + "=mmsystem.dll power.drv\r\n";
    text += "[386Enh]\r\n";
    for (int i = 0; text.size() < bytes; ++i)
        text += "device=*vdev" + std::to_string(i) + "\r\n";
    return text;
}

void BM_AddSystemIniDevice(benchmark::State& state) {
    bench::MachineInstaller pc;
    if (!pc.installer)
        return state.SkipWithError(pc.error.c_str());
    const fs::path windows = pc.folder.path / "drive_c/WINDOWS";
    const std::string text = SystemIni(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream(windows / "SYSTEM.INI", std::ios::binary) << text;
        fs::remove(windows / "SYSTEM.B00");
        state.ResumeTiming();
        benchmark::DoNotOptimize(AddSystemIniDevice(*pc.installer, "X.386"));
        if (fs::file_size(windows / "SYSTEM.INI") != text.size() + 14)
            return state.SkipWithError("SYSTEM.INI did not receive the device line");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_AddSystemIniDevice)->Arg(4 << 10)->Arg(256 << 10)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
