#include "destination/disk_space.h"
#include "destination_fixture.h"
#include "resources/string_table.h"

#include <limits>

namespace tl::test {
namespace {

class DiskSpaceTest : public DestinationTest {
protected:
    int Check(std::string needed, WriteProbe probe = WriteProbe::Skip,
              SpaceCheckDir which = SpaceCheckDir::Windows) {
        installer->destination.spaceNeeded = std::move(needed);
        return CheckDriveSpace(*installer, owner, probe, which);
    }
};

TEST_F(DiskSpaceTest, NeededSpaceIsComparedInKilobytesAndEqualIsEnough) {
    // 1,024 KB and half a kilobyte, which does not count.
    Open("[Drive.C]\nFreeBytes=1049088\n");
    EXPECT_EQ(Check("1024"), 1);
    EXPECT_EQ(Check("none"), 1); // no digits: 0 KB
    EXPECT_TRUE(frontend.boxes.empty());

    EXPECT_EQ(Check("1025"), 0);
    ASSERT_EQ(frontend.boxes.size(), 1u);
    const ui::MessageBoxRequest& box = frontend.boxes[0];
    EXPECT_EQ(box.key, "148");
    EXPECT_EQ(box.text, Text(148) + "1025" + Text(149));
    EXPECT_EQ(box.caption, Text(163));
    EXPECT_EQ(box.type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(box.owner, owner);

    // The text is quoted as the setup script gave it, however long.
    const std::string huge(300, '9');
    EXPECT_EQ(Check(huge), 0);
    EXPECT_EQ(frontend.boxes.back().text, Text(148) + huge + Text(149));
}

TEST_F(DiskSpaceTest, DrivesBeyondTwoAndFourGigabytesHaveRoom) {
    Open("[Drive.C]\nFreeBytes=3221225472\n[Drive.D]\nFreeBytes=5368709120\n");
    EXPECT_EQ(GetDriveFreeSpace(*platform, "C:\\"), std::uint64_t{3221225472});
    EXPECT_EQ(Check("1"), 1);
    EXPECT_EQ(Check("3145728"), 1); // all of 3 GB
    EXPECT_EQ(Check("3145729"), 0);

    installer->paths.fontDir = "D:\\FONTS";
    EXPECT_EQ(Check("5242880", WriteProbe::Test, SpaceCheckDir::Font), 1);
    EXPECT_EQ(Check("5242881", WriteProbe::Test, SpaceCheckDir::Font), 0);
    EXPECT_EQ(frontend.boxes.size(), 2u);
}

TEST(SpaceNeeded, ReadsLikeADecimalNumber) {
    EXPECT_EQ(ParseSpaceNeeded("400"), 400);
    EXPECT_EQ(ParseSpaceNeeded(" \t-12x3"), -12);
    EXPECT_EQ(ParseSpaceNeeded("+0012"), 12);
    EXPECT_EQ(ParseSpaceNeeded(""), 0);
    EXPECT_EQ(ParseSpaceNeeded("KB"), 0);
    EXPECT_EQ(ParseSpaceNeeded("- 5"), 0);
    EXPECT_EQ(ParseSpaceNeeded("99999999999999999999999"),
              std::numeric_limits<std::int64_t>::max());
}

TEST_F(DiskSpaceTest, MissingDriveIsReportedWithoutTheSystemsErrorBox) {
    Open();
    installer->paths.fontDir = "Q:\\FONTS";
    EXPECT_EQ(Check("1", WriteProbe::Test, SpaceCheckDir::Font), 0);
    ASSERT_EQ(frontend.boxes.size(), 1u);
    EXPECT_EQ(frontend.boxes[0].key, "151");
    EXPECT_EQ(frontend.boxes[0].text, Text(150) + "Q" + Text(151));
    EXPECT_EQ(frontend.boxes[0].caption, Text(163));
    EXPECT_EQ(frontend.boxes[0].type, MB_OK | MB_ICONHAND);
    // Critical errors fail quietly during the query and the mode is restored after it.
    EXPECT_EQ(system->modes, (std::vector<UINT>{kSemFailCriticalErrors, 0}));
    EXPECT_TRUE(events.Events().empty());
    EXPECT_FALSE(GetDriveFreeSpace(*platform, "Q:\\"));
}

TEST_F(DiskSpaceTest, WriteProtectedDrivePassesTheSpaceCheckButNotTheProbe) {
    Open("[Drive.D]\nReadOnly=1\nFreeBytes=1048576\n");
    installer->paths.fontDir = "D:\\FONTS\\TTF";
    EXPECT_EQ(Check("1", WriteProbe::Skip, SpaceCheckDir::Font), 1);
    EXPECT_TRUE(frontend.boxes.empty());
    system->modes.clear();

    EXPECT_EQ(Check("1", WriteProbe::Test, SpaceCheckDir::Font), 0);
    ASSERT_EQ(frontend.boxes.size(), 1u);
    EXPECT_EQ(frontend.boxes[0].key, "152");
    EXPECT_EQ(frontend.boxes[0].text, Text(150) + "D" + Text(152));
    EXPECT_EQ(frontend.boxes[0].type, MB_OK | MB_ICONHAND);
    EXPECT_EQ(system->modes, (std::vector<UINT>{kSemFailCriticalErrors, 0, //
                                                kSemFailCriticalErrors, 0}));
}

TEST_F(DiskSpaceTest, ProbeFileGoesAndAFileOfItsNameStays) {
    Open();
    EXPECT_EQ(TestDriveWritable(*platform, 'C'), 1);
    EXPECT_FALSE(folder.Exists("drive_c/UTEMP.DAT"));

    folder.WriteFile("drive_d/UTEMP.DAT", "kept");
    EXPECT_EQ(TestDriveWritable(*platform, 'D'), 1);
    EXPECT_EQ(folder.ReadFile("drive_d/UTEMP.DAT"), "kept");
}

} // namespace
} // namespace tl::test
