// The contracts run on the machine-folder adapters: a fresh machine folder for every test, its
// scratch directory C:\SCRATCH.
#include "../port_contract.h"
#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "support/temp_machine.h"

namespace tl::test {
namespace {

class MachineFolderEnvironment final : public PortEnvironment {
public:
    MachineFolderEnvironment() {
        folder_.WriteMachineIni("");
        folder_.MakeDirectory("drive_c/SCRATCH");
        folder_.MakeDirectory("drive_c/WINDOWS/SYSTEM");
        std::string error;
        machine_ = host::HostMachine::Open({folder_.Root(), std::nullopt}, events_, &error);
        EXPECT_TRUE(machine_) << error;
    }
    Platform& Ports() override { return machine_->GetPlatform(); }
    std::string Scratch() const override { return "C:\\SCRATCH"; }
    const std::vector<PlatformEvent>& Events() const override { return events_.Events(); }

private:
    TempMachine folder_;
    host::EventLog events_;
    std::unique_ptr<host::HostMachine> machine_;
};

const std::vector<PortAdapter> tl_port_adapters = {
    {"MachineFolder", [] { return std::make_unique<MachineFolderEnvironment>(); }}};

TL_INSTANTIATE_PORT_CONTRACTS()

} // namespace
} // namespace tl::test
