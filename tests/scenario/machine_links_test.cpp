// Symbolic links in the machine folder that lead out of it: whatever the run meets, it writes
// nothing outside the machine folder and, inside it, nothing outside the Windows, system and
// font directories.
#include "scenario.h"

#include <fstream>
#include <map>

namespace tl::test {
namespace {

namespace fs = std::filesystem;

// Every file below `folder` (links not followed) by its path, with its bytes or link target.
std::map<std::string, std::string> Listing(const fs::path& folder) {
    std::map<std::string, std::string> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path relative = it->path().lexically_relative(folder);
        if (it->is_symlink()) {
            files[relative.string()] = "link to " + fs::read_symlink(it->path()).string();
        } else if (it->is_regular_file()) {
            std::ifstream in(it->path(), std::ios::binary);
            files[relative.string()] = std::string(std::istreambuf_iterator<char>(in), {});
        }
    }
    return files;
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Where a run may write: the Windows, system and font directories, and the machine folder's own
// registry and lock files (and the test's answers and transcript).
bool MayChange(const std::string& relative) {
    const std::string folder = Upper(fs::path(relative).parent_path().string());
    return folder == "DRIVE_C/WINDOWS" || folder == "DRIVE_C/WINDOWS/SYSTEM" ||
           folder == "DRIVE_C/WINDOWS/FONTS" ||
           (folder.empty() && (relative == "registry.reg" || relative == "registry.reg.tl~" ||
                               relative == "tlins32a.lock" || relative == "answers.ini" ||
                               relative == "transcript.jsonl"));
}

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
