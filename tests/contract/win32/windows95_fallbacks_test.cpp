// The Windows 95 paths of the file and storage ports, run on a system that has the calls they
// stand in for, and checked against those calls.
#include "platform/win32/windows95_fallbacks.h"

#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdint>

// After the port headers (see win32_api.h).
#include "platform/win32/win32_api.h"

namespace tl::win32 {
namespace {

class Windows95Fallbacks : public ::testing::Test {
protected:
    std::string Path(const char* name) const { return folder_.Path(name); }
    test::ScratchFolder folder_{"tlfallback"};
};

TEST_F(Windows95Fallbacks, MoveRenamesButNeverReplaces) {
    folder_.Write("new.tmp", "new text");
    folder_.Write("system.ini", "old text");
    EXPECT_FALSE(MoveFileWithoutMoveFileEx(Path("new.tmp").c_str(), Path("system.ini").c_str(), 0));
    EXPECT_EQ(folder_.Read("system.ini"), "old text");

    // A replacement is what the stub refuses: the old file is never deleted to make room.
    EXPECT_FALSE(MoveFileWithoutMoveFileEx(Path("new.tmp").c_str(), Path("SYSTEM.INI").c_str(),
                                           kMoveFileReplaceExisting));
    EXPECT_EQ(::GetLastError(), static_cast<::DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
    EXPECT_EQ(folder_.Read("system.ini"), "old text");
    EXPECT_EQ(folder_.Read("new.tmp"), "new text");

    EXPECT_TRUE(
        MoveFileWithoutMoveFileEx(Path("system.ini").c_str(), Path("other.ini").c_str(), 0));
    EXPECT_EQ(folder_.Read("other.ini"), "old text");
}

TEST_F(Windows95Fallbacks, FreeSpaceFromClustersAgreesWithTheSystem) {
    DiskFreeSpaceEx fromClusters;
    ASSERT_TRUE(DiskFreeSpaceFromClusters(folder_.Root(), &fromClusters));
    ::DWORD counts[4] = {};
    ASSERT_TRUE(::GetDiskFreeSpaceA((folder_.Root().substr(0, 2) + "\\").c_str(), &counts[0],
                                    &counts[1], &counts[2], &counts[3]));
    const std::uint64_t cluster = std::uint64_t{counts[0]} * counts[1];
    EXPECT_EQ(fromClusters.totalBytes, cluster * counts[3]);
    EXPECT_LE(fromClusters.freeBytesAvailable, fromClusters.totalBytes);
    EXPECT_EQ(fromClusters.freeBytesAvailable, fromClusters.totalFreeBytes);

    // A path without a drive letter is taken on the current drive.
    DiskFreeSpaceEx current;
    EXPECT_TRUE(DiskFreeSpaceFromClusters("relative\\path", &current));
    EXPECT_GT(current.totalBytes, 0u);
}

} // namespace
} // namespace tl::win32
