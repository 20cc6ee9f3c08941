// Symbolic links in the machine folder that lead out of it: whatever the run meets, it writes
// nothing outside the machine folder and, inside it, nothing outside the Windows, system and
// font directories.
#include "scenario.h"

#include <fstream>

namespace tl::test {
namespace {

namespace fs = std::filesystem;

struct LinkCase {
    const char* name;
    const char* link;  // in the machine folder
    bool directory;    // the link leads to a folder outside (holding the canary)
    bool canaryExists; // the link leads to a file outside that exists (else to none yet)
};

class MachineLinks : public Scenario, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(MachineLinks, NothingOutsideTheMachineFolderIsWritten) {
    const LinkCase& c = GetParam();
    fs::copy(TL_SOURCE_DIR "/examples/disk", disk.Root(), fs::copy_options::recursive);
    ScenarioMachine& pc = MakeMachine();
    ASSERT_TRUE(pc.Ready());
    const fs::path outside = pc.Root().string() + "-outside";
    fs::create_directories(outside);
    const fs::path canary = outside / "CANARY";
    if (c.directory) {
        fs::create_directories(canary);
        std::ofstream(canary / "KEEP.TXT", std::ios::binary) << "outside";
    } else if (c.canaryExists) {
        std::ofstream(canary, std::ios::binary) << "outside";
    }
    const fs::path link = pc.Root() / c.link;
    if (c.directory) {
        fs::remove_all(link);
        fs::create_directory_symlink(canary, link);
    } else {
        fs::create_symlink(canary, link);
    }
    const std::map<std::string, std::string> before = Listing(pc.Root());
    const std::map<std::string, std::string> outsideBefore = Listing(outside);

    RunOutcome run = Run();
    EXPECT_FALSE(run.program.timedOut);
    EXPECT_GE(run.program.exitCode, 0) << run.program.err;
    EXPECT_EQ(Listing(outside), outsideBefore) << "written through " << c.link;
    EXPECT_EQ(fs::exists(canary), c.directory || c.canaryExists);
    const std::map<std::string, std::string> after = Listing(pc.Root());
    for (const auto& [path, bytes] : after) {
        const auto old = before.find(path);
        if (!MayChange(path)) {
            EXPECT_TRUE(old != before.end() && old->second == bytes) << path << " changed";
        }
    }
    for (const auto& [path, bytes] : before) {
        EXPECT_TRUE(after.contains(path) || MayChange(path)) << path << " was removed";
    }
    fs::remove_all(outside);
}

INSTANTIATE_TEST_SUITE_P(
    Scenario, MachineLinks,
    ::testing::Values(LinkCase{"SystemDirectory", "drive_c/WINDOWS/SYSTEM", true, false},
                      LinkCase{"IniTemporary", "drive_c/WINDOWS/WIN.INI.tl~", false, true},
                      LinkCase{"CopyTemporary", "drive_c/WINDOWS/SYSTEM/TLCORE.DLL.TMP", false,
                               true},
                      LinkCase{"LockFile", "tlins32a.lock", false, false},
                      LinkCase{"RegistryTemporary", "registry.reg.tl~", false, true}),
    [](const ::testing::TestParamInfo<LinkCase>& param) { return std::string(param.param.name); });

} // namespace
} // namespace tl::test
