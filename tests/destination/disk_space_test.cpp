#include "destination/disk_space.h"
#include "destination_machine.h"
#include "resources/string_table.h"

#include <limits>

namespace tl::test {
namespace {

class DiskSpaceTest : public DestinationTest {
protected:
    int Check(std::string needed, WriteProbe probe = WriteProbe::Skip,
              SpaceCheckDir which = SpaceCheckDir::Windows) {
        m->Get().destination.spaceNeeded = std::move(needed);
        return CheckDriveSpace(m->Get(), owner, probe, which);
    }
};

TEST_F(DiskSpaceTest, NeededSpaceIsComparedInKilobytesAndEqualIsEnough) {
    // 1,024 KB and half a kilobyte, which does not count; 3 GB on D:.
    Open("[Drive.C]\nFreeBytes=1049088\n[Drive.D]\nFreeBytes=3221225472\n");
    EXPECT_EQ(Check("1024"), 1);
    EXPECT_EQ(Check("none"), 1); // no digits: 0 KB
    EXPECT_TRUE(m->Boxes().empty());

    EXPECT_EQ(Check("1025"), 0);
    ASSERT_EQ(m->Boxes().size(), 1u);
    const ui::MessageBoxRequest& box = m->Boxes()[0].request;
    EXPECT_EQ(box.key, "148");
    EXPECT_EQ(box.text, Text(148) + "1025" + Text(149));
    EXPECT_EQ(box.caption, Text(163));
    EXPECT_EQ(box.type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(box.owner, owner);

    // The text is quoted as the setup script gave it, however long.
    const std::string huge(300, '9');
    EXPECT_EQ(Check(huge), 0);
    EXPECT_EQ(m->Boxes().back().request.text, Text(148) + huge + Text(149));

    // Beyond 2 GB a drive has room (beyond 4 GB: FontSelectTest.TwoDrivesEachChecked...).
    m->Get().paths.fontDir = "D:\\FONTS";
    EXPECT_EQ(GetDriveFreeSpace(m->Ports(), "D:\\"), std::uint64_t{3221225472});
    EXPECT_EQ(Check("3145728", WriteProbe::Test, SpaceCheckDir::Font), 1); // all of 3 GB
    EXPECT_EQ(Check("3145729", WriteProbe::Test, SpaceCheckDir::Font), 0);
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
    m->Get().paths.fontDir = "Q:\\FONTS";
    EXPECT_EQ(Check("1", WriteProbe::Test, SpaceCheckDir::Font), 0);
    ASSERT_EQ(m->Boxes().size(), 1u);
    EXPECT_EQ(m->Boxes()[0].request.key, "151");
    EXPECT_EQ(m->Boxes()[0].request.text, Text(150) + "Q" + Text(151));
    EXPECT_EQ(m->Boxes()[0].request.caption, Text(163));
    EXPECT_EQ(m->Boxes()[0].request.type, MB_OK | MB_ICONHAND);
    // Critical errors fail quietly during the query and the mode is restored after it.
    EXPECT_EQ(m->ErrorModes(), (std::vector<UINT>{kSemFailCriticalErrors, 0}));
    EXPECT_TRUE(m->Events().empty());
    EXPECT_FALSE(GetDriveFreeSpace(m->Ports(), "Q:\\"));
}

TEST_F(DiskSpaceTest, WriteProtectedDrivePassesTheSpaceCheckButNotTheProbe) {
    Open("[Drive.D]\nReadOnly=1\nFreeBytes=1048576\n");
    m->Get().paths.fontDir = "D:\\FONTS\\TTF";
    EXPECT_EQ(Check("1", WriteProbe::Skip, SpaceCheckDir::Font), 1);
    EXPECT_TRUE(m->Boxes().empty());
    const std::size_t modesBefore = m->ErrorModes().size();

    EXPECT_EQ(Check("1", WriteProbe::Test, SpaceCheckDir::Font), 0);
    ASSERT_EQ(m->Boxes().size(), 1u);
    EXPECT_EQ(m->Boxes()[0].request.key, "152");
    EXPECT_EQ(m->Boxes()[0].request.text, Text(150) + "D" + Text(152));
    EXPECT_EQ(m->Boxes()[0].request.type, MB_OK | MB_ICONHAND);
    EXPECT_EQ(std::vector<UINT>(m->ErrorModes().begin() + static_cast<long>(modesBefore),
                                m->ErrorModes().end()),
              (std::vector<UINT>{kSemFailCriticalErrors, 0, kSemFailCriticalErrors, 0}));
}

TEST_F(DiskSpaceTest, ProbeFileGoesAndAFileOfItsNameStays) {
    Open();
    EXPECT_EQ(TestDriveWritable(m->Ports(), 'C'), 1);
    EXPECT_FALSE(m->Folder().Exists("drive_c/UTEMP.DAT"));

    m->Folder().WriteFile("drive_d/UTEMP.DAT", "kept");
    EXPECT_EQ(TestDriveWritable(m->Ports(), 'D'), 1);
    EXPECT_EQ(m->Folder().ReadFile("drive_d/UTEMP.DAT"), "kept");
}

} // namespace
} // namespace tl::test
