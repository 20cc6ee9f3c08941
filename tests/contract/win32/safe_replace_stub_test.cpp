// The core's safe replacement on the real file calls with MoveFileEx forced to behave as
// Windows 95's stub: the old file moves aside, the new one in, and back when that fails.
#include "copy/safe_replace.h"
#include "platform/win32/win32_machine.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

// After the port headers (see win32_api.h).
#include "platform/win32/win32_api.h"

namespace tl::win32 {
namespace {

class Events final : public EventSink {
public:
    void Record(PlatformEvent event) override { events.push_back(std::move(event)); }
    std::vector<PlatformEvent> events;
};

class SafeReplaceStub : public ::testing::Test {
protected:
    static Win32MachineOptions Options() {
        Win32MachineOptions options;
        options.system.restartForReal = false;
        options.moveFileExStub = true;
        return options;
    }
    void SetUp() override {
        folder_.Write("SYSTEM.INI", "old");
        folder_.Write("SYSTEM.INI.TMP", "new");
    }
    // Replaces SYSTEM.INI by SYSTEM.INI.TMP while `held` (if any) is open without sharing, so
    // that no rename can take it.
    ReplaceOutcome Replace(const char* held = nullptr) {
        ::HANDLE lock = INVALID_HANDLE_VALUE;
        if (held != nullptr) {
            lock = ::CreateFileA(folder_.Path(held).c_str(), GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            EXPECT_NE(lock, INVALID_HANDLE_VALUE);
        }
        const ReplaceOutcome outcome = SafeReplace(
            machine_.GetPlatform(), folder_.Path("SYSTEM.INI.TMP"), folder_.Path("SYSTEM.INI"));
        if (lock != INVALID_HANDLE_VALUE) {
            ::CloseHandle(lock);
        }
        return outcome;
    }

    Events events_;
    Win32Machine machine_{events_, Options()};
    test::ScratchFolder folder_{"tlreplace"};
};

TEST_F(SafeReplaceStub, ReplacesThroughARenameAsideAndLeavesNothingBehind) {
    EXPECT_EQ(Replace(), ReplaceOutcome::Replaced);
    EXPECT_EQ(folder_.Read("SYSTEM.INI"), "new");
    EXPECT_EQ(folder_.Names(), std::vector<std::string>{"SYSTEM.INI"});
}

TEST_F(SafeReplaceStub, KeepsTheOldFileWhenTheNewOneCannotMoveIn) {
    EXPECT_EQ(Replace("SYSTEM.INI.TMP"), ReplaceOutcome::NotReplaced);
    EXPECT_EQ(folder_.Read("SYSTEM.INI"), "old");
    EXPECT_EQ(folder_.Read("SYSTEM.INI.TMP"), "new");
    EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"SYSTEM.INI", "SYSTEM.INI.TMP"}));
    EXPECT_FALSE(events_.events.empty());
}

TEST_F(SafeReplaceStub, KeepsTheOldFileWhenItCannotMoveAside) {
    EXPECT_EQ(Replace("SYSTEM.INI"), ReplaceOutcome::NotReplaced);
    EXPECT_EQ(folder_.Read("SYSTEM.INI"), "old");
    EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"SYSTEM.INI", "SYSTEM.INI.TMP"}));
}

} // namespace
} // namespace tl::win32
