#include "copy/disk_prompt.h"
#include "state/inf_scripts.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

namespace tl::test {
namespace {

// INSTALL.INF on A: describing three disks; D: is another place a disk may be found.
class DiskPromptTest : public ::testing::Test {
protected:
    void SetUp() override {
        pc.WriteDiskFile("INSTALL.INF",
                         "[DISK1]\r\n\"Disk #1\",TAG1\r\n[DISK2]\r\n\"Disk #2\",TAG2\r\n"
                         "[DISK3]\r\nFonts,TAG3\r\n");
        ASSERT_EQ(LoadInf(installer.scripts, pc.Ports().files, "A:\\INSTALL.INF").status,
                  InfLoadStatus::Loaded);
        installer.paths.diskPath = "A:";
    }
    int Check(int index, int disk) {
        return CheckFontDisk(installer, pc.MainWindow(), index, disk, currentDisk);
    }

    InstallerHarness pc{HarnessOptions().Folder("drive_d")};
    Installer& installer = pc.Get();
    int currentDisk = 0;
};

TEST_F(DiskPromptTest, InsertDiskMessageFollowsTheLanguage) {
    const std::pair<int, std::string> cases[] = {
        {0, "Disk #2"}, {1, "disquette #2"}, {7, " #2"}, {4, "diskettens"}};
    for (const auto& [language, label] : cases) {
        installer.languageIndex = language;
        // DISK3's label has no "#": its last character follows the word for a disk.
        EXPECT_EQ(PromptForDisk(installer, pc.MainWindow(), 1, language == 4 ? 44 : 43), IDOK);
        EXPECT_EQ(pc.Boxes().back().request.text, Text(128) + label + Text(129));
    }
    EXPECT_EQ(pc.BoxKeys(), std::vector<std::string>(4, "128"));
    EXPECT_EQ(PromptForDisk(installer, pc.MainWindow(), 1, 49), 0); // DISK8 is not described
    EXPECT_EQ(pc.Boxes().size(), 4u);
}

TEST_F(DiskPromptTest, AFirstFontOnDiskZeroOrOnADiskWithoutSectionEndsTheRun) {
    // The path field shows the tag path's directory.
    EXPECT_EQ(SelectDriveEditText("a:\\TAG") + SelectDriveEditText("D:\\FONTS\\TAG") +
                  SelectDriveEditText("\\TAG") + SelectDriveEditText("TAG"),
              "a:\\D:\\FONTS\\");
    EXPECT_EQ(Check(0, 1), 1); // the disk in the drive is not checked
    EXPECT_EQ(currentDisk, 1);
    EXPECT_EQ(Check(0, 0), 0);
    EXPECT_EQ(Check(4, 5), 0);
    EXPECT_TRUE(pc.Boxes().empty());
}

// A missing directory is refused inside the dialog, one without the tag file gets a warning.
TEST_F(DiskPromptTest, TagFileAtATypedPathAfterAWrongOne) {
    pc.Folder().WriteFile("drive_d/FONTS/TAG2", "");
    std::vector<std::string> shown;
    std::deque<DialogStep> steps;
    for (const char* path : {"D:\\NOWHERE\\X", "A:\\", "D:\\FONTS\\"}) {
        steps.push_back([&shown, path](ui::DialogDriver& dialog) {
            shown.push_back(dialog.Snapshot().Find(kSelectDrivePathId)->text);
            dialog.TypeText(kSelectDrivePathId, path);
            dialog.Click(IDOK);
        });
    }
    pc.Script("SELECTDRIVE", steps);
    EXPECT_EQ(Check(0, 2), 1);
    EXPECT_EQ(installer.copyEngine.altSourcePath, "D:\\FONTS\\TAG2");
    EXPECT_EQ(installer.copyEngine.diskCounter, 2);
    EXPECT_EQ(shown.at(0), "A:\\");
    EXPECT_EQ(pc.BoxKeys(), (std::vector<std::string>{"128", "184", "185"}));
    EXPECT_EQ(pc.Boxes()[1].request.caption, Text(162));
    EXPECT_EQ(pc.Boxes()[2].request.type, MB_OK | MB_ICONEXCLAMATION);
}

} // namespace
} // namespace tl::test
