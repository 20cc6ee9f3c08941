// The behaviour every platform adapter owes the installer, written against the ports alone so
// that the same tests run on the machine-folder adapters (host build) and on the Win32 ones
// (Windows build, run under Wine).
#pragma once

#include "platform/platform.h"

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace tl::test {

// One adapter's ports with a fresh, empty scratch directory on a writable drive.
class PortEnvironment {
public:
    virtual ~PortEnvironment() = default;
    virtual Platform& Ports() = 0;
    // Windows path of the scratch directory, without a trailing "\".
    virtual std::string Scratch() const = 0;
    // The platform effects the adapter recorded, in order.
    virtual const std::vector<PlatformEvent>& Events() const = 0;
    // Whether the ports are Wine's rather than Windows' own.
    virtual bool UnderWine() const { return false; }
};

struct PortAdapter {
    std::string name;
    std::function<std::unique_ptr<PortEnvironment>()> make;
};

inline void PrintTo(const PortAdapter& adapter, std::ostream* out) {
    *out << adapter.name;
}

class PortContract : public ::testing::TestWithParam<PortAdapter> {
protected:
    void SetUp() override {
        environment_ = GetParam().make();
        ASSERT_TRUE(environment_);
    }
    void TearDown() override { environment_.reset(); }

    Platform& Ports() { return environment_->Ports(); }
    FileSystem& Files() { return Ports().files; }
    Storage& Store() { return Ports().storage; }
    std::string Scratch() const { return environment_->Scratch(); }
    std::string Path(std::string_view name) const { return Scratch() + "\\" + std::string(name); }

    // True under Wine where docs/wine-differences.md lists Wine as differing from Windows 95:
    // the caller then leaves out the assertion that Wine would fail. `entry` names the list
    // entry and is printed, so a skipped assertion is never silent.
    bool WineDiffers(std::string_view entry);

    // kErrorSuccess for a call that succeeded, else the file port's last error.
    DWORD Outcome(bool done) { return done ? kErrorSuccess : Files().GetLastError(); }
    // Writes or reads a whole file through the file port.
    void WriteFile(std::string_view name, std::string_view bytes);
    std::optional<std::string> ReadFile(std::string_view name);

    std::unique_ptr<PortEnvironment> environment_;
};

// Every contract suite: one fixture class each, declared here, and instantiated for each
// adapter by TL_INSTANTIATE_PORT_CONTRACTS.
#define TL_PORT_CONTRACT_SUITES(X)                                                                 \
    X(FileSystemContract)                                                                          \
    X(StorageContract)                                                                             \
    X(ProfileContract)                                                                             \
    X(RegistryContract)                                                                            \
    X(LzContract)                                                                                  \
    X(VersionInfoContract)                                                                         \
    X(SystemContract)                                                                              \
    X(ClockContract)                                                                               \
    X(CodePageContract)                                                                            \
    X(SpoolerContract)

#define TL_DECLARE_PORT_CONTRACT(suite)                                                            \
    class suite : public PortContract {};
TL_PORT_CONTRACT_SUITES(TL_DECLARE_PORT_CONTRACT)

#define TL_INSTANTIATE_ONE_PORT_CONTRACT(suite)                                                    \
    INSTANTIATE_TEST_SUITE_P(Ports, suite, ::testing::ValuesIn(tl_port_adapters),                  \
                             [](const auto& adapter) { return adapter.param.name; });

// Instantiates every contract suite for the adapters in `tl_port_adapters`, a
// std::vector<tl::test::PortAdapter> in the instantiating file's namespace.
#define TL_INSTANTIATE_PORT_CONTRACTS() TL_PORT_CONTRACT_SUITES(TL_INSTANTIATE_ONE_PORT_CONTRACT)

} // namespace tl::test
