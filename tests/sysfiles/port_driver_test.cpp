#include "sysfiles/port_driver.h"

#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "platform/host/szdd_compressor.h"
#include "platform/host/version_image_writer.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tl {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr const char* kSystem = "C:\\WINDOWS\\SYSTEM";

std::string Bytes(const std::vector<BYTE>& bytes) {
    return {bytes.begin(), bytes.end()};
}

// A virtual device driver image of that version; none writes one without a version resource.
std::string Driver(std::optional<std::array<WORD, 4>> version) {
    if (!version) {
        return Bytes(host::WriteLeImage(std::nullopt));
    }
    host::VersionRecord record;
    record.fileVersion = *version;
    record.productVersion = *version;
    record.fileType = kVftVxd;
    return Bytes(host::WriteLeImage(record));
}

const std::string kOldDriver = Driver(std::array<WORD, 4>{4, 0, 0, 950});
const std::string kNewDriver = Driver(std::array<WORD, 4>{4, 0, 0, 1111});
// The new driver as shipped: the same bytes without its signature.
const std::string kShippedDriver = "\0\0"s + kNewDriver.substr(2);

class UpdatePortDriverTest : public ::testing::Test {
protected:
    void SetUp() override { Open(); }
    // [Faults] in `machineIni` make a chosen call fail.
    void Open(std::string_view machineIni = "") {
        machine.reset();
        folder.WriteMachineIni(machineIni);
        folder.MakeDirectory("drive_c/WINDOWS/SYSTEM");
        std::string error;
        machine = host::HostMachine::Open({folder.Root(), std::nullopt}, events, &error);
        ASSERT_TRUE(machine) << error;
    }

    void Put(const std::string& name, const std::string& bytes) {
        folder.WriteFile("drive_c/WINDOWS/SYSTEM/" + name, bytes);
    }
    std::string Get(const std::string& name) const {
        return folder.ReadFile("drive_c/WINDOWS/SYSTEM/" + name);
    }

    // Every file of the system directory with its bytes.
    std::vector<std::pair<std::string, std::string>> SystemFiles() const {
        std::vector<std::pair<std::string, std::string>> files;
        for (const auto& entry : fs::directory_iterator(folder.Root() / "drive_c/WINDOWS/SYSTEM")) {
            const std::string name = entry.path().filename().string();
            files.emplace_back(name, Get(name));
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    void Update() {
        outcome = UpdatePortDriver(machine->GetPlatform(), kSystem);
        EXPECT_EQ(machine->Lz().OpenHandleCount(), 0u);
        EXPECT_EQ(machine->Files().OpenHandleCount(), 0u);
    }

    FILETIME LastWrite(const char* name) {
        Platform& platform = machine->GetPlatform();
        const FileHandle file = platform.files.CreateFile(
            std::string(kSystem) + "\\" + name, kGenericRead, kFileShareRead, kOpenExisting);
        EXPECT_TRUE(file);
        FILETIME time{};
        EXPECT_TRUE(platform.storage.GetFileTime(file, nullptr, nullptr, &time));
        platform.files.CloseHandle(file);
        return time;
    }

    // The call, file and code of every error event since the last look, one line each.
    std::vector<std::string> Errors() {
        std::vector<std::string> lines;
        for (const PlatformEvent& event : events.Events()) {
            if (event.event != "error")
                continue;
            std::string line;
            for (const auto& [name, value] : event.fields) {
                line += line.empty() ? "" : " ";
                if (const auto* text = std::get_if<std::string>(&value))
                    line += *text;
                else if (const auto* number = std::get_if<std::int64_t>(&value))
                    line += std::to_string(*number);
            }
            lines.push_back(line);
        }
        events.Clear();
        return lines;
    }

    test::TempMachine folder;
    host::EventLog events;
    PortDriverUpdate outcome = PortDriverUpdate::Unchanged;
    std::unique_ptr<host::HostMachine> machine;
};

TEST(PortDriverWriteTime, IsTheLastDayOf1995At0850Utc) {
    EXPECT_EQ(FileTimeValue(PortDriverWriteTime()), 124648734000000000u);
}

TEST_F(UpdatePortDriverTest, NothingChangesUnlessEveryConditionHolds) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> files;
    };
    const Case cases[] = {
        {"no lpt.bz", {{"lpt.vxd", kOldDriver}}},
        {"only a compressed lpt.b_",
         {{"lpt.b_", Bytes(host::CompressSzdd(
                         std::vector<BYTE>(kShippedDriver.begin(), kShippedDriver.end())))},
          {"lpt.vxd", kOldDriver}}},
        {"a later driver",
         {{"lpt.bz", kShippedDriver}, {"lpt.vxd", Driver(std::array<WORD, 4>{4, 0, 0, 951})}}},
        {"an earlier driver",
         {{"lpt.bz", kShippedDriver}, {"lpt.vxd", Driver(std::array<WORD, 4>{3, 0, 0, 950})}}},
        {"no version resource", {{"lpt.bz", kShippedDriver}, {"lpt.vxd", Driver(std::nullopt)}}},
        {"no lpt.vxd", {{"lpt.bz", kShippedDriver}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(folder.Root() / "drive_c/WINDOWS/SYSTEM");
        for (const auto& [name, bytes] : c.files) {
            Put(name, bytes);
        }
        const auto before = SystemFiles();
        Update();
        EXPECT_EQ(SystemFiles(), before);
        EXPECT_EQ(outcome, PortDriverUpdate::Unchanged);
        EXPECT_TRUE(Errors().empty());
    }
}

// The shipped driver plain, and compressed (ACompressedShippedDriverIsExpanded).
TEST_F(UpdatePortDriverTest, TheOldDriverIsKeptAndTheNewOneInstalledWithItsSignatureAndTime) {
    const std::vector<BYTE> shipped(kShippedDriver.begin(), kShippedDriver.end());
    for (const std::string& lptBz : {kShippedDriver, Bytes(host::CompressSzdd(shipped, 'z'))}) {
        SCOPED_TRACE(lptBz.substr(0, 4));
        Put("lpt.vxd", kOldDriver);
        Put("lpt.vxz", "an older backup");
        Put("lpt.bz", lptBz);
        Update();
        EXPECT_EQ(Get("lpt.vxz"), kOldDriver);
        EXPECT_EQ(Get("lpt.vxd"), kNewDriver);
        EXPECT_EQ(Get("lpt.bz"), lptBz);
        EXPECT_EQ(SystemFiles().size(), 3u); // nothing staged is left behind
        EXPECT_EQ(LastWrite("lpt.vxd"), PortDriverWriteTime());
        EXPECT_EQ(outcome, PortDriverUpdate::Replaced);
        EXPECT_TRUE(Errors().empty());

        // The new driver is not the old version, so a second run leaves everything alone.
        const auto after = SystemFiles();
        Update();
        EXPECT_EQ(SystemFiles(), after);
        EXPECT_EQ(outcome, PortDriverUpdate::Unchanged);
    }
}

TEST_F(UpdatePortDriverTest, ADamagedShippedDriverLeavesTheOldOneInPlace) {
    Put("lpt.vxd", kOldDriver);
    const std::vector<BYTE> compressed =
        host::CompressSzdd(std::vector<BYTE>(kShippedDriver.begin(), kShippedDriver.end()));
    Put("lpt.bz", Bytes(compressed).substr(0, compressed.size() / 2));
    const FILETIME oldTime = LastWrite("lpt.vxd");
    Update();
    EXPECT_EQ(Get("lpt.vxd"), kOldDriver);
    EXPECT_EQ(LastWrite("lpt.vxd"), oldTime);
    EXPECT_EQ(Get("lpt.vxz"), kOldDriver);
    EXPECT_EQ(SystemFiles().size(), 3u);
    EXPECT_EQ(outcome, PortDriverUpdate::Failed);
    EXPECT_EQ(Errors(), std::vector<std::string>{"LZCopy C:\\WINDOWS\\SYSTEM\\lpt.vx$ 30"});
}

// The 1st write is the copy into the backup lpt.vxz, the 4th the copy into lpt.vxd.
TEST_F(UpdatePortDriverTest, AFailedReplacementPutsTheOldDriverBack) {
    ASSERT_NO_FATAL_FAILURE(Open("[Faults]\nFail=write 4 112\n"));
    Put("lpt.vxd", kOldDriver);
    Put("lpt.bz", kShippedDriver);
    Update();
    EXPECT_EQ(Get("lpt.vxd"), kOldDriver);
    EXPECT_EQ(Get("lpt.vxz"), kOldDriver);
    EXPECT_EQ(SystemFiles().size(), 3u);
    EXPECT_EQ(outcome, PortDriverUpdate::Failed);
    EXPECT_EQ(Errors(), std::vector<std::string>{"LZCopy C:\\WINDOWS\\SYSTEM\\lpt.vxd 29"});
}

TEST_F(UpdatePortDriverTest, AFailedBackupLeavesNoPartialCopyAndTheDriverAlone) {
    ASSERT_NO_FATAL_FAILURE(Open("[Faults]\nFail=write 1 112\n"));
    Put("lpt.vxd", kOldDriver);
    Put("lpt.bz", kShippedDriver);
    Update();
    EXPECT_EQ(Get("lpt.vxd"), kOldDriver);
    EXPECT_FALSE(folder.Exists("drive_c/WINDOWS/SYSTEM/lpt.vxz"));
    EXPECT_EQ(outcome, PortDriverUpdate::Failed);
    EXPECT_EQ(Errors(), std::vector<std::string>{"LZCopy C:\\WINDOWS\\SYSTEM\\lpt.vxz 29"});
}

TEST_F(UpdatePortDriverTest, FilesHeldOpenByAnotherProgramAreLeftAlone) {
    Put("lpt.vxd", kOldDriver);
    Put("lpt.bz", kShippedDriver);
    Put("lpt.vxz", "an older backup");
    std::string held = "lpt.vxz";
    machine->Lz().SetHeldOpen([&held](const fs::path& path) { return path.filename() == held; });
    const auto before = SystemFiles();
    Update();
    EXPECT_EQ(SystemFiles(), before);
    EXPECT_EQ(outcome, PortDriverUpdate::Failed);
    EXPECT_EQ(Errors(), std::vector<std::string>{"LZOpenFile C:\\WINDOWS\\SYSTEM\\lpt.vxz 32"});

    // A driver in use cannot be replaced: it stays as it was, with its backup beside it.
    held = "lpt.vxd";
    Update();
    EXPECT_EQ(Get("lpt.vxd"), kOldDriver);
    EXPECT_EQ(Get("lpt.vxz"), kOldDriver);
    EXPECT_EQ(SystemFiles().size(), 3u);
    EXPECT_EQ(outcome, PortDriverUpdate::Failed);
    EXPECT_EQ(Errors(), std::vector<std::string>{"LZOpenFile C:\\WINDOWS\\SYSTEM\\lpt.vxd 32"});
}

} // namespace
} // namespace tl
