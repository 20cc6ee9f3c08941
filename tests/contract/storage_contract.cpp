#include "port_contract.h"

namespace tl::test {
namespace {

TEST_P(StorageContract, DrivesFreeSpaceAndTheCurrentDirectory) {
    Storage& store = Store();
    const DWORD drives = store.GetLogicalDrives();
    EXPECT_NE(drives & (1u << 2), 0u) << "C: is there";
    EXPECT_EQ(store.GetDriveType("C:\\"), kDriveFixed);

    DiskFreeSpace space;
    ASSERT_TRUE(store.GetDiskFreeSpace("C:\\", &space)) << Files().GetLastError();
    EXPECT_GT(space.bytesPerSector, 0u);
    EXPECT_GT(space.sectorsPerCluster, 0u);
    EXPECT_LE(space.freeClusters, space.totalClusters);
    // Windows 95 reports at most 2 GB here, whatever the disk holds.
    EXPECT_LE(std::uint64_t{space.freeClusters} * space.sectorsPerCluster * space.bytesPerSector,
              0x7FFFFFFFu);
    DiskFreeSpaceEx spaceEx;
    ASSERT_TRUE(store.GetDiskFreeSpaceEx(Scratch(), &spaceEx)) << Files().GetLastError();
    EXPECT_LE(spaceEx.freeBytesAvailable, spaceEx.totalBytes);
    EXPECT_GT(spaceEx.totalBytes, 0u);

    // A drive letter that the system does not have.
    int missing = 25;
    while (missing > 3 && (drives & (1u << missing)) != 0) {
        --missing;
    }
    const std::string root = std::string(1, static_cast<char>('A' + missing)) + ":\\";
    EXPECT_EQ(store.GetDriveType(root), kDriveNoRootDir);
    EXPECT_FALSE(store.GetDiskFreeSpace(root, &space));
    EXPECT_EQ(Files().GetLastError(), kErrorPathNotFound);

    ASSERT_TRUE(store.CreateDirectory(Path("Here")));
    ASSERT_TRUE(store.SetCurrentDirectory(Path("Here")));
    EXPECT_EQ(store.GetCurrentDirectory(), Path("Here"));
    ASSERT_TRUE(store.SetCurrentDirectory(Scratch()));
}

} // namespace
} // namespace tl::test
