// One copy run on a machine folder: 40 driver files of 128 KiB from the install disk into the
// system directory, every other one SZDD-compressed, each recorded in the private settings file,
// written to a temporary name and moved over the destination.
#include "copy/copy_engine.h"
#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "platform/host/szdd_compressor.h"
#include "platform/host/ui/host_window_system.h"
#include "state/installer.h"
#include "ui/unattended/unattended_frontend.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 40;
constexpr std::size_t kFileSize = 128u << 10;

// Driver-like bytes: text and sparse tables with some noise.
std::vector<tl::BYTE> DriverData(unsigned seed) {
    std::mt19937 engine(seed);
    const std::string text = "Telmora 600 PostScript\r\n[386Enh]\r\ndevice=lpt.vxd\r\n";
    std::vector<tl::BYTE> out;
    out.reserve(kFileSize);
    while (out.size() < kFileSize) {
        const auto kind = engine() % 3;
        const std::size_t run = 64 + engine() % 2048;
        for (std::size_t i = 0; i < run && out.size() < kFileSize; ++i) {
            out.push_back(kind == 0   ? static_cast<tl::BYTE>(engine())
                          : kind == 1 ? static_cast<tl::BYTE>(i % 5 == 0 ? i : 0)
                                      : static_cast<tl::BYTE>(text[i % text.size()]));
        }
    }
    return out;
}

void Write(const fs::path& path, const std::vector<tl::BYTE>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void BM_RunCopyList(benchmark::State& state) {
    const fs::path root =
        fs::temp_directory_path() / ("tl_bench_copy_" + std::to_string(std::random_device()()));
    fs::create_directories(root / "drive_c/WINDOWS/SYSTEM");
    fs::create_directories(root / "drive_c/DISK");
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
    installer.paths.systemDir = "C:\\WINDOWS\\SYSTEM";
    installer.paths.sourceDir = "C:\\DISK";
    installer.paths.fontDir = "C:\\WINDOWS\\FONTS";
    installer.paths.privateSettingsFile = "C:\\WINDOWS\\tlsetup.ini";
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "TLDRV" + std::to_string(i) + ".DLL";
        const std::vector<tl::BYTE> data = DriverData(static_cast<unsigned>(i));
        if (i % 2 == 0) {
            Write(root / "drive_c/DISK" / name, data);
        } else {
            Write(root / "drive_c/DISK" / ("TLDRV" + std::to_string(i) + ".DL_"),
                  tl::host::CompressSzdd(data));
        }
        installer.copyList.Append(tl::kFlagSystemFile, '1', name);
    }

    for (auto _ : state) {
        if (tl::RunCopyList(installer, {}, {}) != tl::CopyOutcome::Done) {
            state.SkipWithError("the copy run failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kFiles *
                            static_cast<std::int64_t>(kFileSize));
    fs::remove_all(root);
}
BENCHMARK(BM_RunCopyList)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
