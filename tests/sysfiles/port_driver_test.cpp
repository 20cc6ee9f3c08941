#include "sysfiles/port_driver.h"

#include "platform/host/szdd_compressor.h"
#include "platform/host/version_image_writer.h"
#include "support/folder_files.h"
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

std::string Bytes(const std::vector<BYTE>& bytes) {
    return {bytes.begin(), bytes.end()};
}

// A virtual device driver image of that version, or without a version resource.
std::string Driver(std::optional<std::array<WORD, 4>> version) {
    if (!version)
        return Bytes(host::WriteLeImage(std::nullopt));
    host::VersionRecord record;
    record.fileVersion = record.productVersion = *version;
    record.fileType = kVftVxd;
    return Bytes(host::WriteLeImage(record));
}

const std::string kOldDriver = Driver(std::array<WORD, 4>{4, 0, 0, 950});
const std::string kNewDriver = Driver(std::array<WORD, 4>{4, 0, 0, 1111});
// The new driver as shipped: the same bytes without its signature.
const std::string kShippedDriver = "\0\0"s + kNewDriver.substr(2);
const std::vector<BYTE> kShipped(kShippedDriver.begin(), kShippedDriver.end());

// UpdatePortDriver on a PC whose machine.ini may plan a fault, with `held` open in another
// program: the error events ("call file code") and the system directory's files.
struct PortDriverRun {
    test::InstallerHarness pc;
    PortDriverUpdate outcome = PortDriverUpdate::Unchanged;
    std::vector<std::string> errors;

    explicit PortDriverRun(std::map<std::string, std::string> files, const char* machineIni = "",
                           std::string held = "")
        : pc(test::HarnessOptions().Ini(machineIni)) {
        for (const auto& [name, bytes] : files)
            pc.Folder().WriteFile("drive_c/WINDOWS/SYSTEM/" + name, bytes);
        pc.Machine().Lz().SetHeldOpen(
            [held](const fs::path& path) { return path.filename() == held; });
        const std::size_t seen = pc.Events().size();
        outcome = UpdatePortDriver(pc.Ports(), "C:\\WINDOWS\\SYSTEM");
        EXPECT_EQ(pc.Machine().Lz().OpenHandleCount(), 0u);
        EXPECT_EQ(pc.Machine().Files().OpenHandleCount(), 0u);
        for (std::size_t i = seen; i < pc.Events().size(); ++i) {
            const PlatformEvent& event = pc.Events()[i];
            if (event.event == "error" && event.fields.size() >= 3)
                errors.push_back(std::get<std::string>(event.fields[0].second) + " " +
                                 std::get<std::string>(event.fields[1].second) + " " +
                                 std::to_string(std::get<std::int64_t>(event.fields[2].second)));
        }
    }
    std::map<std::string, std::string> Files() const {
        return test::FolderFiles(pc.Folder().Root() / "drive_c/WINDOWS/SYSTEM");
    }
};

TEST(UpdatePortDriver, NothingChangesUnlessEveryConditionHolds) {
    const std::pair<const char*, std::map<std::string, std::string>> cases[] = {
        {"only a compressed lpt.b_",
         {{"lpt.b_", Bytes(host::CompressSzdd(kShipped))}, {"lpt.vxd", kOldDriver}}},
        {"a later driver",
         {{"lpt.bz", kShippedDriver}, {"lpt.vxd", Driver(std::array<WORD, 4>{4, 0, 0, 951})}}},
        {"no version resource", {{"lpt.bz", kShippedDriver}, {"lpt.vxd", Driver(std::nullopt)}}},
    };
    for (const auto& [what, files] : cases) {
        SCOPED_TRACE(what);
        const PortDriverRun run(files);
        EXPECT_EQ(run.Files(), files);
        EXPECT_EQ(run.outcome, PortDriverUpdate::Unchanged);
        EXPECT_TRUE(run.errors.empty());
    }
}

// Each failure leaves lpt.vxd as it was (with its backup lpt.vxz when that was made) and nothing
// staged, and is recorded. The 1st write is the copy into lpt.vxz, the 4th the copy into lpt.vxd.
TEST(UpdatePortDriver, AFailedReplacementPutsTheOldDriverBack) {
    const std::vector<BYTE> packed = host::CompressSzdd(kShipped);
    const struct {
        const char* name;
        const char* machineIni;
        std::string lptBz;
        const char* held;     // a file another program holds open
        const char* vxz;      // lpt.vxz before; "" none
        std::string vxzAfter; // "-" none
        const char* error;
    } cases[] = {
        {"ADamagedShippedDriverLeavesTheOldOneInPlace", "",
         Bytes(packed).substr(0, packed.size() / 2), "", "", kOldDriver,
         "LZCopy C:\\WINDOWS\\SYSTEM\\lpt.vx$ 30"},
        {"AFailedReplacementPutsTheOldDriverBack", "[Faults]\nFail=write 4 112\n", kShippedDriver,
         "", "", kOldDriver, "LZCopy C:\\WINDOWS\\SYSTEM\\lpt.vxd 29"},
        {"AFailedBackupLeavesNoPartialCopyAndTheDriverAlone", "[Faults]\nFail=write 1 112\n",
         kShippedDriver, "", "", "-", "LZCopy C:\\WINDOWS\\SYSTEM\\lpt.vxz 29"},
        // FilesHeldOpenByAnotherProgramAreLeftAlone: neither a driver in use nor its backup.
        {"lpt.vxd held open", "", kShippedDriver, "lpt.vxd", "", kOldDriver,
         "LZOpenFile C:\\WINDOWS\\SYSTEM\\lpt.vxd 32"},
        {"FilesHeldOpenByAnotherProgramAreLeftAlone", "", kShippedDriver, "lpt.vxz",
         "an older backup", "an older backup", "LZOpenFile C:\\WINDOWS\\SYSTEM\\lpt.vxz 32"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::map<std::string, std::string> files = {{"lpt.vxd", kOldDriver}, {"lpt.bz", c.lptBz}};
        if (*c.vxz != '\0')
            files["lpt.vxz"] = c.vxz;
        const PortDriverRun run(files, c.machineIni, c.held);
        EXPECT_EQ(run.outcome, PortDriverUpdate::Failed);
        if (c.vxzAfter != "-")
            files["lpt.vxz"] = c.vxzAfter;
        EXPECT_EQ(run.Files(), files); // nothing staged is left
        EXPECT_EQ(run.errors, std::vector<std::string>{c.error});
    }
}

} // namespace
} // namespace tl
