// A simulated PC on a fresh machine folder for the host adapters' tests, and sample bytes.
#pragma once

#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>

namespace tl::test {

class HostPc {
public:
    // Host files ("drive_c/WINDOWS/WIN.INI") written before the machine is opened.
    using HostFiles = std::initializer_list<std::pair<const char*, std::string_view>>;
    explicit HostPc(std::string_view machineIni = "", HostFiles files = {},
                    host::HostMachineOptions options = {}) {
        for (const auto& [path, bytes] : files) {
            folder.WriteFile(path, bytes);
        }
        folder.WriteMachineIni(machineIni);
        Open(std::move(options));
    }
    void Open(host::HostMachineOptions options = {}) {
        options.machineDir = folder.Root();
        if (options.diskDir) {
            options.diskDir = folder.Root() / *options.diskDir;
        }
        std::string error;
        machine = host::HostMachine::Open(options, events, &error);
        ASSERT_TRUE(machine) << error;
    }
    Platform& Ports() { return machine->GetPlatform(); }
    FileSystem& Files() { return machine->GetPlatform().files; }
    DWORD Outcome(bool done) { return done ? kErrorSuccess : Files().GetLastError(); }

    TempMachine folder;
    host::EventLog events;
    std::unique_ptr<host::HostMachine> machine;
};

inline std::string RandomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 engine(seed);
    std::string bytes(size, '\0');
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(engine()); });
    return bytes;
}

// Text-like data that compresses well.
inline std::string RepetitiveBytes(std::size_t size) {
    static constexpr std::string_view kWords[] = {"device=",      "lpt.vxd ",
                                                  "[386Enh]\r\n", "    ",
                                                  "Telmora 600 ", std::string_view("\0\0\0\0", 4)};
    std::string bytes;
    for (std::size_t i = 0; bytes.size() < size; ++i) {
        bytes += kWords[(i * 7 + i / 13) % std::size(kWords)];
    }
    bytes.resize(size);
    return bytes;
}

inline std::vector<BYTE> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

} // namespace tl::test
