#include "platform/host/host_machine.h"

#include <system_error>

namespace tl::host {

namespace fs = std::filesystem;

HostMachine::HostMachine(fs::path root, MachineConfig config, EventSink& events)
    : root_(std::move(root)), config_(std::move(config)), resolver_(config_, codePage_),
      files_(config_, resolver_), system_(config_, codePage_, files_, events),
      clock_(config_, codePage_), profile_(resolver_, config_.windowsDirectory),
      registry_(root_ / "registry.reg"), spoolerStore_(registry_),
      spooler_(spoolerStore_, SystemDirectoryProbe(resolver_, config_.systemDirectory), &profile_),
      lz_(resolver_, events, [this](std::string_view ansi) { return codePage_.ToUtf8(ansi); }),
      versionInfo_(resolver_), platform_{files_,   files_,    system_,  clock_, codePage_,   events,
                                         profile_, registry_, spooler_, lz_,    versionInfo_} {
    // The LZ copy and the file port see the same files held by other programs and use up the
    // same free space.
    lz_.SetHeldOpen([this](const fs::path& host) { return files_.IsInUse(host); });
    lz_.SetDriveSpace(&files_);
    profile_.SetDriveSpace(&files_);
    if (!config_.faults.Empty()) {
        faults_ = std::make_unique<FaultPlan>(config_.faults);
        files_.SetFaultPlan(faults_.get());
        lz_.SetFaultPlan(faults_.get());
        profile_.SetFaultPlan(faults_.get());
        registry_.SetFaultPlan(faults_.get());
    }
    spooler_.SetEventSink(&events, &codePage_);
    profile_.SetLastErrorSink([this](DWORD error) { files_.SetLastError(error); });
}

std::unique_ptr<HostMachine> HostMachine::Open(const HostMachineOptions& options, EventSink& events,
                                               std::string* error) {
    IconvCodePage codePage;
    MachineConfigResult result = LoadMachineConfig(options.machineDir, codePage);
    if (!result.config) {
        if (error) {
            *error = result.error;
        }
        return nullptr;
    }
    if (options.diskDir) {
        std::error_code ec;
        if (!fs::is_directory(*options.diskDir, ec)) {
            if (error) {
                *error = "the install disk folder " + options.diskDir->string() + " does not exist";
            }
            return nullptr;
        }
        DriveConfig& a = result.config->Drive('A');
        a.state = DriveConfig::State::Present;
        a.folder = fs::absolute(*options.diskDir, ec);
    }
    if (!options.diskWritable) {
        // An install disk is a floppy with its write-protect tab open.
        const char programDrive = DriveLetterOf(result.config->programFile);
        for (char letter : {'A', 'B'}) {
            if (letter == programDrive || (letter == 'A' && options.diskDir)) {
                result.config->Drive(letter).writeProtected = true;
            }
        }
    }
    std::unique_ptr<HostMachine> machine(
        new HostMachine(options.machineDir, std::move(*result.config), events));
    std::string registryError;
    if (!machine->registry_.Load(registryError)) {
        if (error) {
            *error = registryError;
        }
        return nullptr;
    }
    return machine;
}

} // namespace tl::host
