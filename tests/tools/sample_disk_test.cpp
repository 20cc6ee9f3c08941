// The sample install disk (examples/disk) is what its description makes, byte for byte, and its
// fonts, expanded by msexpand, are whole TrueType files registered under their own full names.
// What the scripts name being on it is tldisk check's part (disk_check_test.cpp).
#include "tool_run.h"
#include "tools/truetype_check.h"

#include <gtest/gtest.h>

namespace tl::test {
namespace {

namespace fs = std::filesystem;

// tlmkdisk --check on a disk folder, as scripts/make-sample-disk.sh runs it.
ProgramRun CheckDisk(const fs::path& disk) {
    return RunTool("tlmkdisk",
                   {"--check", TL_SOURCE_DIR "/examples/disk-source/disk.ini", disk.string()});
}

TEST(SampleDisk, IsWhatItsDescriptionMakesByteForByte) {
    const ProgramRun run = CheckDisk(kSampleDisk);
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err
                               << "run scripts/make-sample-disk.sh and commit examples/disk";
}

// The check above is only worth something if it notices a changed, a missing and a stray file.
TEST(SampleDisk, CheckNoticesChangedMissingAndUndescribedFiles) {
    TempMachine scratch;
    const auto disk = CopySampleDisk(scratch);
    scratch.WriteFile("disk/WIN95/TLPM.386", scratch.ReadFile("disk/WIN95/TLPM.386") + "x");
    fs::remove(disk / "DISK3.TAG");
    scratch.WriteFile("disk/WIN95/OLD.DRV", "left over");
    const ProgramRun run = CheckDisk(disk);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out,
              "missing: DISK3.TAG\ndiffers: WIN95/TLPM.386\nnot described: WIN95/OLD.DRV\n");
}

TEST(SampleDisk, FontsAreWholeTrueTypeFilesRegisteredUnderTheirNames) {
    if (!fs::exists("/usr/bin/msexpand"))
        GTEST_SKIP() << "mscompress is not installed (scripts/deps.sh host)";
    TempMachine scratch;
    const std::string install = scratch.ReadFile(kSampleDisk / "INSTALL.INF");
    int fonts = 0;
    for (const auto& entry : fs::directory_iterator(kSampleDisk / "WIN95")) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with(".TT_"))
            continue;
        SCOPED_TRACE(name);
        ++fonts;
        fs::copy_file(entry.path(), scratch.Root() / name);
        ASSERT_EQ(RunProgram("/usr/bin/msexpand", {(scratch.Root() / name).string()}).exitCode, 0);
        const std::string bytes = scratch.ReadFile(name.substr(0, name.size() - 1));
        const TrueTypeCheck check = CheckTrueType({bytes.begin(), bytes.end()});
        EXPECT_EQ(check.fault, "");
        EXPECT_NE(install.find(name.substr(0, name.size() - 1) + "F, \"0:" + check.fullName + "\""),
                  std::string::npos)
            << check.fullName;
    }
    EXPECT_EQ(fonts, 4);
}

} // namespace
} // namespace tl::test
