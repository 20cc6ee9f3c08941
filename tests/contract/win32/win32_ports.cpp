// The contracts run on the Win32 adapters: the real system (Wine's in the test run), a fresh
// scratch directory below the temporary folder for every test.
#include "../port_contract.h"
#include "platform/win32/win32_machine.h"

#include <atomic>
#include <filesystem>
#include <string>

// After the port headers (see win32_api.h).
#include "platform/win32/win32_api.h"

namespace tl::test {
namespace {

class EventList final : public EventSink {
public:
    void Record(PlatformEvent event) override { events.push_back(std::move(event)); }
    std::vector<PlatformEvent> events;
};

std::string TempFolder() {
    char path[MAX_PATH + 1] = {};
    ::DWORD length = ::GetTempPathA(sizeof path, path);
    std::string folder(path, length);
    while (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    return folder;
}

class Win32Environment final : public PortEnvironment {
public:
    Win32Environment() : machine_(events_, Win32Options()) {
        static std::atomic<int> counter{0};
        scratch_ = TempFolder() + "\\tlcontract" + std::to_string(::GetCurrentProcessId()) + "_" +
                   std::to_string(++counter);
        std::filesystem::remove_all(scratch_);
        EXPECT_TRUE(::CreateDirectoryA(scratch_.c_str(), nullptr)) << scratch_;
    }
    ~Win32Environment() override {
        // A test may have moved into the scratch directory, which could not go while current.
        ::SetCurrentDirectoryA(TempFolder().c_str());
        std::error_code ignored;
        std::filesystem::remove_all(scratch_, ignored);
    }
    Platform& Ports() override { return machine_.GetPlatform(); }
    std::string Scratch() const override { return scratch_; }
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
    std::string scratch_;
};

const std::vector<PortAdapter> tl_port_adapters = {
    {"Win32", [] { return std::make_unique<Win32Environment>(); }}};

TL_INSTANTIATE_PORT_CONTRACTS()

} // namespace
} // namespace tl::test
