#include "copy/ensure_directory.h"
#include "destination/destination_fixture.h"
#include "platform/file_system.h"
#include "resources/string_table.h"

#include <filesystem>

namespace tl::test {
namespace {

class EnsureDirectoryTest : public DestinationTest {
protected:
    void SetUp() override { Open(); }
    bool IsDir(const std::string& hostPath) {
        return std::filesystem::is_directory(folder.Root() / hostPath);
    }
};

TEST_F(EnsureDirectoryTest, CreatesEveryMissingLevelAndPassesOverDrivesAndEmptyLevels) {
    EXPECT_EQ(EnsureDirectory(*installer, owner, "D:\\A\\B\\C"), 1);
    EXPECT_TRUE(IsDir("drive_d/A/B/C"));
    EXPECT_EQ(EnsureDirectory(*installer, owner, "C:\\WINDOWS\\SYSTEM"), 1);
    EXPECT_EQ(EnsureDirectory(*installer, owner, "D:\\A\\\\X\\"), 1);
    EXPECT_TRUE(IsDir("drive_d/A/X"));
    EXPECT_TRUE(frontend.boxes.empty());
}

TEST_F(EnsureDirectoryTest, ReportsALevelThatCannotBeCreated) {
    folder.WriteFile("drive_d/FILE", "not a directory");
    installer->paths.fontDir = "D:\\FONTS";
    EXPECT_EQ(EnsureDirectory(*installer, owner, "D:\\FILE\\SUB"), 0);
    ASSERT_EQ(frontend.boxes.size(), 1u);
    EXPECT_EQ(frontend.boxes[0].key, "125");
    EXPECT_EQ(frontend.boxes[0].text, Text(125) + Text(126) + "D:\\FONTS");
    EXPECT_EQ(frontend.boxes[0].caption, Text(161));
    EXPECT_EQ(frontend.boxes[0].type, MB_OK | MB_ICONHAND);
    EXPECT_FALSE(IsDir("drive_d/FILE/SUB"));
}

} // namespace
} // namespace tl::test
