#include "copy/disk_prompt.h"
#include "destination/destination_fixture.h"
#include "platform/host/ui/machine_directories.h"
#include "resources/string_table.h"
#include "state/inf_scripts.h"

namespace tl::test {
namespace {

constexpr char kInf[] = "[DISK1]\r\n\"Disk #1\",TAG1\r\n"
                        "[DISK2]\r\n\"Disk #2\",TAG2\r\n"
                        "[DISK3]\r\nFonts,TAG3\r\n";

// An install disk at D:\DISK with INSTALL.INF as the current script; drive A: is empty.
class DiskPromptTest : public DestinationTest {
protected:
    void SetUp() override {
        folder.MakeDirectory("drive_a");
        Open();
        windows.SetDirectoryLister(
            host::MachineDirectoryLister(machine->Resolver(), machine->Config(), codePage));
        folder.WriteFile("drive_d/DISK/INSTALL.INF", kInf);
        ASSERT_EQ(LoadInf(installer->scripts, platform->files, "D:\\DISK\\INSTALL.INF").status,
                  InfLoadStatus::Loaded);
        installer->paths.diskPath = "D:\\DISK";
    }

    int Check(int index, int disk) {
        return CheckFontDisk(*installer, owner, index, disk, currentDisk);
    }

    // Every turn in SELECTDRIVE types the next path and presses OK; with none left, Cancel.
    void TypePaths(std::vector<std::string> paths) {
        frontend.drive = [this, paths](ui::DialogDriver& dialog, int attempt) {
            if (attempt == 0) {
                const ui::DialogSnapshot snapshot = dialog.Snapshot();
                const ui::ControlSnapshot* edit = snapshot.Find(kSelectDrivePathId);
                shownEdits.push_back(edit ? edit->text : "?");
            }
            if (turn < paths.size()) {
                dialog.TypeText(kSelectDrivePathId, paths[turn++]);
                dialog.Click(IDOK);
            } else {
                dialog.Click(IDCANCEL);
            }
            return std::optional<std::string>{};
        };
    }

    int currentDisk = 0;
    std::size_t turn = 0;
    std::vector<std::string> shownEdits;
};

TEST_F(DiskPromptTest, InsertDiskMessageFollowsTheLanguage) {
    EXPECT_EQ(PromptForDisk(*installer, owner, 1, 43), IDOK);
    installer->languageIndex = 1;
    PromptForDisk(*installer, owner, 1, 43);
    installer->languageIndex = 7;
    PromptForDisk(*installer, owner, 1, 43);
    installer->languageIndex = 4;
    PromptForDisk(*installer, owner, 1, 44); // a label without "#": its last character
    ASSERT_EQ(frontend.boxes.size(), 4u);
    EXPECT_EQ(frontend.boxes[0].text, Text(128) + "Disk #2" + Text(129));
    EXPECT_EQ(frontend.boxes[1].text, Text(128) + "disquette #2" + Text(129));
    EXPECT_EQ(frontend.boxes[2].text, Text(128) + " #2" + Text(129));
    EXPECT_EQ(frontend.boxes[3].text, Text(128) + "diskettens" + Text(129));
    EXPECT_EQ(frontend.boxes[0].caption, Text(161));
    EXPECT_EQ(frontend.boxes[0].type, MB_OK);
    EXPECT_EQ(frontend.boxes[0].key, "128");

    EXPECT_EQ(PromptForDisk(*installer, owner, 1, 49), 0); // DISK8 is not described
    EXPECT_EQ(frontend.boxes.size(), 4u);
}

TEST(SelectDriveEditText, ShowsTheTagPathsDirectory) {
    EXPECT_EQ(SelectDriveEditText("a:\\TAG"), "a:\\");
    EXPECT_EQ(SelectDriveEditText("D:\\FONTS\\TAG"), "D:\\FONTS");
    EXPECT_EQ(SelectDriveEditText("\\TAG"), "\\");
    EXPECT_EQ(SelectDriveEditText("TAG"), "");
}

TEST_F(DiskPromptTest, FirstFontOnTheDiskInDriveIsNotChecked) {
    EXPECT_EQ(Check(0, 1), 1);
    EXPECT_EQ(currentDisk, 1);
    EXPECT_EQ(Check(2, 1), 1);
    EXPECT_EQ(installer->copyEngine.diskCounter, 1);
    EXPECT_TRUE(frontend.boxes.empty());
    EXPECT_EQ(Check(0, 0), 0) << "a first font on disk 0 ends the run";
}

TEST_F(DiskPromptTest, TagFileOnTheDiskPathCountsTheChangeSilently) {
    folder.WriteFile("drive_d/DISK/TAG2", "");
    EXPECT_EQ(Check(0, 2), 1);
    EXPECT_EQ(currentDisk, 2);
    EXPECT_EQ(installer->copyEngine.diskInDrive, 2);
    EXPECT_EQ(installer->copyEngine.diskCounter, 2);
    EXPECT_EQ(Check(2, 2), 1) << "the same disk again is not checked";
    EXPECT_EQ(installer->copyEngine.diskCounter, 2);
    EXPECT_TRUE(frontend.boxes.empty());
    EXPECT_EQ(installer->copyEngine.altSourceState, AltSource::Unused);
    EXPECT_EQ(Check(4, 5), 0) << "a disk without a section ends the run";
}

// The tag file on drive A: after the insert-disk message is the font scenarios' case.

TEST_F(DiskPromptTest, TagFileAtATypedPathAfterAWrongOne) {
    folder.WriteFile("drive_d/FONTS/TAG2", "");
    TypePaths({"D:\\NOWHERE\\X", "D:\\DISK", "D:\\FONTS\\"});
    EXPECT_EQ(Check(0, 2), 1);
    EXPECT_EQ(installer->copyEngine.altSourcePath, "D:\\FONTS\\TAG2");
    EXPECT_EQ(installer->copyEngine.diskCounter, 2);
    // The first opening shows the disk path; a directory that does not exist is refused inside
    // the dialog, and a directory without the tag file brings the not-found warning.
    ASSERT_GE(shownEdits.size(), 1u);
    EXPECT_EQ(shownEdits[0], "D:\\DISK");
    std::vector<std::string> keys;
    for (const auto& box : frontend.boxes) {
        keys.push_back(box.key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"128", "184", "185"}));
    EXPECT_EQ(frontend.boxes[1].caption, Text(162));
    EXPECT_EQ(frontend.boxes[2].type, MB_OK | MB_ICONEXCLAMATION);
}

TEST_F(DiskPromptTest, CancelledSelectDriveEndsTheRun) {
    TypePaths({"D:\\DISK"});
    EXPECT_EQ(Check(0, 3), 0);
    EXPECT_EQ(installer->copyEngine.diskCounter, 1);
    EXPECT_EQ(installer->copyEngine.diskInDrive, 1);
    EXPECT_EQ(frontend.boxes.back().key, "185");
}

} // namespace
} // namespace tl::test
