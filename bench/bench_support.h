// What the benchmarks share: a scratch folder, driver-like bytes, an installer on a machine folder.
#pragma once

#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "state/installer.h"
#include "ui/unattended/unattended_frontend.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace tl::bench {

struct ScratchFolder {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("tl_bench_" + std::to_string(std::random_device()()));
    ScratchFolder() { std::filesystem::create_directories(path); }
    ~ScratchFolder() { std::filesystem::remove_all(path); }
};

// Driver-like bytes: runs of text and sparse tables that compress well, and noise that does not.
inline std::vector<BYTE> DriverData(std::size_t size, unsigned seed) {
    std::mt19937 engine(seed);
    const std::string text = "Telmora 600 PostScript\r\n[386Enh]\r\ndevice=lpt.vxd\r\n";
    std::vector<BYTE> out;
    while (out.size() < size) {
        const auto kind = engine() % 3;
        const std::size_t run = 64 + engine() % 2048;
        for (std::size_t i = 0; i < run && out.size() < size; ++i)
            out.push_back(kind == 0   ? static_cast<BYTE>(engine())
                          : kind == 1 ? static_cast<BYTE>(i % 5 == 0 ? i : 0)
                                      : static_cast<BYTE>(text[i % text.size()]));
    }
    return out;
}

inline bool WriteBytes(const std::filesystem::path& path, const std::vector<BYTE>& bytes) {
    return static_cast<bool>(std::ofstream(path, std::ios::binary)
                                 .write(reinterpret_cast<const char*>(bytes.data()),
                                        static_cast<std::streamsize>(bytes.size())));
}

// An installer on a machine folder with C:\WINDOWS\SYSTEM, answering every question by default.
struct MachineInstaller {
    ScratchFolder folder;
    host::EventLog events;
    std::string error;
    std::unique_ptr<host::HostMachine> machine;
    host::IconvCodePage codePage;
    ui::UnattendedFrontend frontend{nullptr, codePage};
    host::HostWindowSystem windows{frontend, codePage};
    std::optional<Installer> installer;

    MachineInstaller() {
        std::filesystem::create_directories(folder.path / "drive_c/WINDOWS/SYSTEM");
        machine = host::HostMachine::Open({folder.path, {}}, events, &error);
        if (!machine)
            return;
        installer.emplace(machine->GetPlatform(), windows);
        installer->paths.windowsDir = "C:\\WINDOWS";
        installer->paths.systemDir = "C:\\WINDOWS\\SYSTEM";
        installer->paths.fontDir = "C:\\WINDOWS\\FONTS";
        installer->paths.privateSettingsFile = "C:\\WINDOWS\\tlsetup.ini";
    }
};

} // namespace tl::bench
