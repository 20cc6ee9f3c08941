#include "platform/host/host_machine.h"

#include <system_error>

namespace tl::host {

namespace fs = std::filesystem;

HostMachine::HostMachine(fs::path root, MachineConfig config, EventSink& events)
    : root_(std::move(root)), config_(std::move(config)), resolver_(config_, codePage_),
      files_(config_, resolver_), system_(config_, codePage_, files_, events),
      clock_(config_, codePage_), platform_{files_, files_, system_, clock_, codePage_, events} {}

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
    return std::unique_ptr<HostMachine>(
        new HostMachine(options.machineDir, std::move(*result.config), events));
}

} // namespace tl::host
