// The core's safe replacement on the real file calls with MoveFileEx forced to behave as
// Windows 95's stub: the old file moves aside, the new one in, and back when that fails.
#include "copy/safe_replace.h"
#include "platform/win32/win32_machine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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
    SafeReplaceStub() : machine_(events_, Options()) {}

    static Win32MachineOptions Options() {
        Win32MachineOptions options;
        options.system.restartForReal = false;
        options.moveFileExStub = true;
        return options;
    }

    void SetUp() override {
        char temp[MAX_PATH + 1] = {};
        ::GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp) + "tlreplace" + std::to_string(::GetCurrentProcessId());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directory(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Path(const char* name) const { return folder_ + "\\" + name; }
    void Write(const char* name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    std::string Read(const char* name) const {
        std::ifstream file(Path(name), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Holds `name` open without sharing, so that no rename can take it.
    ::HANDLE Lock(const char* name) const {
        return ::CreateFileA(Path(name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    Events events_;
    Win32Machine machine_;
    std::string folder_;
};

TEST_F(SafeReplaceStub, ReplacesThroughARenameAsideAndLeavesNothingBehind) {
    Write("SYSTEM.INI", "old");
    Write("SYSTEM.INI.TMP", "new");
    EXPECT_EQ(SafeReplace(machine_.GetPlatform(), Path("SYSTEM.INI.TMP"), Path("SYSTEM.INI")),
              ReplaceOutcome::Replaced);
    EXPECT_EQ(Read("SYSTEM.INI"), "new");
    EXPECT_EQ(Names(), std::vector<std::string>{"SYSTEM.INI"});
}

TEST_F(SafeReplaceStub, KeepsTheOldFileWhenTheNewOneCannotMoveIn) {
    Write("SYSTEM.INI", "old");
    Write("SYSTEM.INI.TMP", "new");
    const ::HANDLE held = Lock("SYSTEM.INI.TMP");
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const ReplaceOutcome outcome =
        SafeReplace(machine_.GetPlatform(), Path("SYSTEM.INI.TMP"), Path("SYSTEM.INI"));
    ::CloseHandle(held);
    EXPECT_EQ(outcome, ReplaceOutcome::NotReplaced);
    EXPECT_EQ(Read("SYSTEM.INI"), "old");
    EXPECT_EQ(Read("SYSTEM.INI.TMP"), "new");
    EXPECT_EQ(Names(), (std::vector<std::string>{"SYSTEM.INI", "SYSTEM.INI.TMP"}));
    EXPECT_FALSE(events_.events.empty());
}

TEST_F(SafeReplaceStub, KeepsTheOldFileWhenItCannotMoveAside) {
    Write("SYSTEM.INI", "old");
    Write("SYSTEM.INI.TMP", "new");
    const ::HANDLE held = Lock("SYSTEM.INI");
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const ReplaceOutcome outcome =
        SafeReplace(machine_.GetPlatform(), Path("SYSTEM.INI.TMP"), Path("SYSTEM.INI"));
    ::CloseHandle(held);
    EXPECT_EQ(outcome, ReplaceOutcome::NotReplaced);
    EXPECT_EQ(Read("SYSTEM.INI"), "old");
    EXPECT_EQ(Names(), (std::vector<std::string>{"SYSTEM.INI", "SYSTEM.INI.TMP"}));
}

} // namespace
} // namespace tl::win32
