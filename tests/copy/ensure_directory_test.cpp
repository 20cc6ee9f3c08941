#include "copy/ensure_directory.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tl::test {
namespace {

// A level that cannot be made is reported (the copy run's DirectoryThatCannotBeMade...).
TEST(EnsureDirectory, CreatesEveryMissingLevelAndPassesOverDrivesAndEmptyLevels) {
    InstallerHarness pc(HarnessOptions().Folder("drive_d"));
    pc.SetPaths(); // each directory made is recorded for the removal
    const auto isDir = [&pc](const char* path) {
        return std::filesystem::is_directory(pc.Folder().Root() / path);
    };
    EXPECT_EQ(EnsureDirectory(pc.Get(), pc.MainWindow(), "D:\\A\\B\\C"), 1);
    EXPECT_TRUE(isDir("drive_d/A/B/C"));
    EXPECT_EQ(EnsureDirectory(pc.Get(), pc.MainWindow(), "C:\\WINDOWS\\SYSTEM"), 1);
    EXPECT_EQ(EnsureDirectory(pc.Get(), pc.MainWindow(), "D:\\A\\\\X\\"), 1);
    EXPECT_TRUE(isDir("drive_d/A/X"));
    EXPECT_TRUE(pc.Boxes().empty());
}

} // namespace
} // namespace tl::test
