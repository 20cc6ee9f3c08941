// A simulated Windows 95 PC: a machine folder opened, with every host adapter over it.
//
//   MACHINE/machine.ini    how the PC looks (see machine_config.h)
//   MACHINE/drive_<x>/     the drives
//   MACHINE/registry.reg   the registry (and in it the spooler's records), REGEDIT4 text
#pragma once

#include "platform/host/iconv_code_page.h"
#include "platform/host/lz_host.h"
#include "platform/host/machine_clock.h"
#include "platform/host/machine_config.h"
#include "platform/host/machine_file_system.h"
#include "platform/host/machine_path_resolver.h"
#include "platform/host/machine_system.h"
#include "platform/host/profile_host.h"
#include "platform/host/registry_host.h"
#include "platform/host/spooler_host.h"
#include "platform/host/spooler_registry_host.h"
#include "platform/host/version_host.h"
#include "platform/platform.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace tl::host {

struct HostMachineOptions {
    std::filesystem::path machineDir;
    std::optional<std::filesystem::path> diskDir; // --disk: the folder of drive A:
    // The install disk (drive A: with --disk, else the floppy drive the program starts from)
    // is write-protected unless this is set.
    bool diskWritable = false;
};

class HostMachine {
public:
    // Opens the machine folder; none, with a message naming the problem in `error`, when the
    // folder, its machine.ini or its registry.reg is unusable.
    static std::unique_ptr<HostMachine> Open(const HostMachineOptions& options, EventSink& events,
                                             std::string* error);

    Platform& GetPlatform() { return platform_; }
    const MachineConfig& Config() const { return config_; }
    MachinePathResolver& Resolver() { return resolver_; }
    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path RegistryFile() const { return root_ / "registry.reg"; }

    MachineFileSystem& Files() { return files_; }
    HostRegistry& Registry() { return registry_; }
    HostLzExpand& Lz() { return lz_; }

    HostMachine(const HostMachine&) = delete;
    HostMachine& operator=(const HostMachine&) = delete;

private:
    HostMachine(std::filesystem::path root, MachineConfig config, EventSink& events);

    std::filesystem::path root_;
    IconvCodePage codePage_;
    MachineConfig config_;
    // A test's fault plan; declared before the adapters that hold it, so it outlives them.
    std::unique_ptr<FaultPlan> faults_;
    MachinePathResolver resolver_;
    MachineFileSystem files_;
    MachineSystem system_;
    MachineClock clock_;
    HostProfile profile_;
    HostRegistry registry_;
    HostRegistrySpoolerStore spoolerStore_;
    HostSpooler spooler_;
    HostLzExpand lz_;
    HostVersionInfo versionInfo_;
    Platform platform_;
};

} // namespace tl::host
