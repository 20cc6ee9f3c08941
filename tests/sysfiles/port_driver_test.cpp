#include "sysfiles/port_driver.h"

#include "platform/host/szdd_compressor.h"
#include "platform/host/version_image_writer.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
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

// UpdatePortDriver on the system directory of a PC whose machine.ini may plan a fault.
class UpdatePortDriverTest : public ::testing::Test {
protected:
    void Open(std::string_view machineIni) { pc.emplace(test::HarnessOptions().Ini(machineIni)); }

    void Put(const std::string& name, const std::string& bytes) {
        pc->Folder().WriteFile("drive_c/WINDOWS/SYSTEM/" + name, bytes);
    }
    std::string Get(const std::string& name) const {
        return pc->Folder().ReadFile("drive_c/WINDOWS/SYSTEM/" + name);
    }
    // Every file of the system directory with its bytes.
    std::map<std::string, std::string> SystemFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& entry :
             fs::directory_iterator(pc->Folder().Root() / "drive_c/WINDOWS/SYSTEM"))
            files[entry.path().filename().string()] = Get(entry.path().filename().string());
        return files;
    }
    void Update() {
        outcome = UpdatePortDriver(pc->Ports(), kSystem);
        EXPECT_EQ(pc->Machine().Lz().OpenHandleCount(), 0u);
        EXPECT_EQ(pc->Machine().Files().OpenHandleCount(), 0u);
    }
    FILETIME LastWrite(const char* name) {
        FileSystem& files = pc->Ports().files;
        const FileHandle file = files.CreateFile(std::string(kSystem) + "\\" + name, kGenericRead,
                                                 kFileShareRead, kOpenExisting);
        FILETIME time{};
        EXPECT_TRUE(pc->Ports().storage.GetFileTime(file, nullptr, nullptr, &time));
        files.CloseHandle(file);
        return time;
    }
    // The call, file and code of every error event since the last look, one line each.
    std::vector<std::string> Errors() {
        std::vector<std::string> lines;
        for (; seen < pc->Events().size(); ++seen) {
            const PlatformEvent& event = pc->Events()[seen];
            if (event.event != "error" || event.fields.size() < 3)
                continue;
            lines.push_back(std::get<std::string>(event.fields[0].second) + " " +
                            std::get<std::string>(event.fields[1].second) + " " +
                            std::to_string(std::get<std::int64_t>(event.fields[2].second)));
        }
        return lines;
    }

    std::optional<test::InstallerHarness> pc{std::in_place};
    std::size_t seen = 0;
    PortDriverUpdate outcome = PortDriverUpdate::Unchanged;
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
        Open("");
        for (const auto& [name, bytes] : c.files)
            Put(name, bytes);
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

// Each failure leaves lpt.vxd as it was (with its backup lpt.vxz when that was made) and nothing
// staged, and is recorded. The 1st write is the copy into lpt.vxz, the 4th the copy into lpt.vxd.
TEST_F(UpdatePortDriverTest, AFailedReplacementPutsTheOldDriverBack) {
    const std::vector<BYTE> shipped(kShippedDriver.begin(), kShippedDriver.end());
    const std::vector<BYTE> packed = host::CompressSzdd(shipped);
    const struct {
        const char* name;
        const char* machineIni;
        std::string lptBz;
        const char* held; // a file another program holds open
        bool backedUp;    // lpt.vxz holds the old driver
        const char* error;
    } cases[] = {
        {"ADamagedShippedDriverLeavesTheOldOneInPlace", "",
         Bytes(packed).substr(0, packed.size() / 2), "", true,
         "LZCopy C:\\WINDOWS\\SYSTEM\\lpt.vx$ 30"},
        {"AFailedReplacementPutsTheOldDriverBack", "[Faults]\nFail=write 4 112\n", kShippedDriver,
         "", true, "LZCopy C:\\WINDOWS\\SYSTEM\\lpt.vxd 29"},
        {"AFailedBackupLeavesNoPartialCopyAndTheDriverAlone", "[Faults]\nFail=write 1 112\n",
         kShippedDriver, "", false, "LZCopy C:\\WINDOWS\\SYSTEM\\lpt.vxz 29"},
        // FilesHeldOpenByAnotherProgramAreLeftAlone: a driver in use cannot be replaced.
        {"lpt.vxd held open", "", kShippedDriver, "lpt.vxd", true,
         "LZOpenFile C:\\WINDOWS\\SYSTEM\\lpt.vxd 32"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Open(c.machineIni);
        seen = 0;
        Put("lpt.vxd", kOldDriver);
        Put("lpt.bz", c.lptBz);
        const std::string held = c.held;
        pc->Machine().Lz().SetHeldOpen(
            [held](const fs::path& path) { return path.filename() == held; });
        Update();
        EXPECT_EQ(outcome, PortDriverUpdate::Failed);
        EXPECT_EQ(Get("lpt.vxd"), kOldDriver);
        EXPECT_EQ(pc->Folder().Exists("drive_c/WINDOWS/SYSTEM/lpt.vxz") ? Get("lpt.vxz") : "-",
                  c.backedUp ? kOldDriver : "-");
        EXPECT_EQ(SystemFiles().size(), c.backedUp ? 3u : 2u); // nothing staged is left
        EXPECT_EQ(Errors(), std::vector<std::string>{c.error});
    }
}

TEST_F(UpdatePortDriverTest, FilesHeldOpenByAnotherProgramAreLeftAlone) {
    Put("lpt.vxd", kOldDriver);
    Put("lpt.bz", kShippedDriver);
    Put("lpt.vxz", "an older backup");
    pc->Machine().Lz().SetHeldOpen(
        [](const fs::path& path) { return path.filename() == "lpt.vxz"; });
    const auto before = SystemFiles();
    Update();
    EXPECT_EQ(SystemFiles(), before);
    EXPECT_EQ(outcome, PortDriverUpdate::Failed);
    EXPECT_EQ(Errors(), std::vector<std::string>{"LZOpenFile C:\\WINDOWS\\SYSTEM\\lpt.vxz 32"});
}

} // namespace
} // namespace tl
