// The contracts run on the Win32 adapters: the real system (Wine's in the test run), a fresh
// scratch directory below the temporary folder for every test.
#include "../port_contract.h"
#include "platform/win32/win32_machine.h"

#include "scratch_folder.h"

// After the port headers (see win32_api.h).
#include "platform/win32/win32_api.h"

namespace tl::test {
namespace {

class EventList final : public EventSink {
public:
    void Record(PlatformEvent event) override { events.push_back(std::move(event)); }
    std::vector<PlatformEvent> events;
};

class Win32Environment final : public PortEnvironment {
public:
    Win32Environment() : machine_(events_, Win32Options()) {}
    // A test may have moved into the scratch directory, which could not go while current.
    ~Win32Environment() override {
        std::error_code ignored;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
    }
    Platform& Ports() override { return machine_.GetPlatform(); }
    std::string Scratch() const override { return scratch_.Root(); }
    const std::vector<PlatformEvent>& Events() const override { return events_.events; }
    bool UnderWine() const override { return win32::Win32Machine::IsWine(); }

private:
    static win32::Win32MachineOptions Win32Options() {
        win32::Win32MachineOptions options;
        options.system.restartForReal = false; // a test must never end the session
        return options;
    }

    EventList events_;
    win32::Win32Machine machine_;
    ScratchFolder scratch_{"tlcontract"};
};

const std::vector<PortAdapter> tl_port_adapters = {
    {"Win32", [] { return std::make_unique<Win32Environment>(); }}};

TL_INSTANTIATE_PORT_CONTRACTS()

} // namespace
} // namespace tl::test
