// Adding a device line to SYSTEM.INI on a machine folder: back the file up, rewrite it from the
// backup into a temporary file, replace the original.
#include "copy/system_ini_device.h"
#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "platform/host/ui/host_window_system.h"
#include "state/installer.h"
#include "ui/unattended/unattended_frontend.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

// A SYSTEM.INI of about `bytes` bytes with [386Enh] in the middle.
std::string SystemIni(std::size_t bytes) {
    std::string text = "[boot]\r\nshell=Explorer.exe\r\n";
    for (int i = 0; text.size() < bytes / 2; ++i) {
        text += "drivers" + std::to_string(i) + "=mmsystem.dll power.drv\r\n";
    }
    text += "[386Enh]\r\n";
    for (int i = 0; text.size() < bytes; ++i) {
        text += "device=*vdev" + std::to_string(i) + "\r\n";
    }
    return text;
}

void BM_AddSystemIniDevice(benchmark::State& state) {
    const fs::path root =
        fs::temp_directory_path() / ("tl_bench_device_" + std::to_string(std::random_device()()));
    fs::create_directories(root / "drive_c/WINDOWS/SYSTEM");
    const fs::path systemIni = root / "drive_c/WINDOWS/SYSTEM.INI";
    const std::string text = SystemIni(static_cast<std::size_t>(state.range(0)));
    tl::host::EventLog events;
    std::string error;
    auto machine = tl::host::HostMachine::Open({root, {}}, events, &error);
    if (!machine) {
        state.SkipWithError(error.c_str());
        return;
    }
    tl::host::IconvCodePage codePage;
    tl::ui::UnattendedFrontend frontend(nullptr, codePage);
    tl::host::HostWindowSystem windows(frontend, codePage);
    tl::Installer installer(machine->GetPlatform(), windows);
    installer.paths.windowsDir = "C:\\WINDOWS";
    installer.paths.privateSettingsFile = "C:\\WINDOWS\\tlsetup.ini";

    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream(systemIni, std::ios::binary) << text;
        fs::remove(root / "drive_c/WINDOWS/SYSTEM.B00");
        state.ResumeTiming();
        benchmark::DoNotOptimize(tl::AddSystemIniDevice(installer, "X.386"));
        state.PauseTiming();
        if (fs::file_size(systemIni) != text.size() + 14) {
            state.SkipWithError("SYSTEM.INI did not receive the device line");
            break;
        }
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
    fs::remove_all(root);
}
BENCHMARK(BM_AddSystemIniDevice)->Arg(4 << 10)->Arg(256 << 10)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
