// The font step's copy run: a second font disk, a font file already there, and the ways out of
// its disk prompt and replace question.
#include "scenario.h"

#include <gmock/gmock.h>

#include <map>

namespace tl::test {
namespace {

using ::testing::ElementsAre;

const char* const kFontsOnly = "[Messages]\n139=No\n142=No\n";

TEST_F(Scenario, SecondFontDiskIsFoundByItsTagFileOnDriveA) {
    // The installation was copied to the hard disk, but for its second font disk: the private
    // settings file points there, and drive A: holds the second disk.
    InstallDisk copied;
    WriteStandardDisk(copied);
    copied.Remove("DISK2.TAG");
    copied.Remove("WIN95/TLGT.TTF");
    ScenarioMachine& pc = MakeMachine();
    pc.CopyIn(copied.Root(), "C:\\TLSETUP");
    pc.Write("C:\\WINDOWS\\tlsetup.ini", "[Install]\r\nDiskPath=C:\\TLSETUP\\\r\n");
    disk.Write("INSTALL.INF", kInstallInf);
    disk.Write("DISK2.TAG", "Telmora Font Disk 2\r\n");
    disk.Write("TLGT.TTF", std::string(2000, 'g'));
    answers = kFontsOnly;

    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    EXPECT_THAT(run.Story(),
                ElementsAre("message 139 no", "message 142 no", "message 143 yes",
                            "dialog DIRECTORY 1", "dialog FONT 1",
                            "addfont C:\\WINDOWS\\FONTS\\TLMJ.TTF", "beep", "message 128 ok",
                            "addfont C:\\WINDOWS\\FONTS\\TLGT.TTF", "dialog COPYING -",
                            "broadcast WM_FONTCHANGE", "message 156 ok", "end 4 0"));
    EXPECT_EQ(run.transcript.Message("128").value("text", ""),
              "삽입하세요 Telmora Font Disk 2 디스크 드라이브에 넣으세요.");
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\FONTS\\TLMJ.TTF"), std::string(3000, 'M'));
    EXPECT_EQ(pc.Read("C:\\WINDOWS\\FONTS\\TLGT.TTF"), std::string(2000, 'g'));
    // The disk counter moved with the confirmed disk change.
    EXPECT_EQ(Setting("File0202"), "C:\\WINDOWS\\FONTS\\TLGT.TTF");
}

TEST_F(Scenario, SecondFontDiskNowhereAndTheDiskPromptCancelled) {
    WriteStandardDisk(disk);
    disk.Remove("DISK2.TAG");
    answers = std::string(kFontsOnly) + "[SELECTDRIVE]\nPress=2\n";

    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    EXPECT_THAT(run.Story(), ElementsAre("message 139 no", "message 142 no", "message 143 yes",
                                         "dialog DIRECTORY 1", "dialog FONT 1",
                                         "addfont C:\\WINDOWS\\FONTS\\TLMJ.TTF", "beep",
                                         "message 128 ok", "dialog SELECTDRIVE 0",
                                         "dialog COPYING -", "broadcast WM_FONTCHANGE", "end 0 0"));
    EXPECT_TRUE(Machine().Exists("C:\\WINDOWS\\FONTS\\TLMJ.TTF"));
    EXPECT_FALSE(Machine().Exists("C:\\WINDOWS\\FONTS\\TLGT.TTF"));
}

TEST_F(Scenario, AFontCopyCancelledAfterTheDriverEndsWithOneFinishStep) {
    // The finish step's boxes wait in a modal loop that dispatches what was posted: a second
    // finish step would run inside the first and show everything twice.
    std::filesystem::copy(TL_SOURCE_DIR "/examples/disk", disk.Root(),
                          std::filesystem::copy_options::recursive);
    disk.Remove("DISK2.TAG");
    answers = "[SELECTDRIVE]\nPress=2\n";

    RunOutcome run = Run();
    ASSERT_TRUE(run.Ended()) << run.program.err;
    std::map<std::string, int> shown;
    for (const std::string& line : run.Story())
        ++shown[line];
    for (const char* once : {"dialog SELECTDRIVE 0", "message 157 ok", "message 165 ok",
                             "dialog WAITING -", "dialog WIN_RESTART 1"})
        EXPECT_EQ(shown[once], 1) << once;
    EXPECT_EQ(run.State(), 5);
}

TEST_F(Scenario, FontFileAlreadyThere) {
    struct Case {
        const char* answers;
        std::vector<std::string> story; // from the replace question on
        const char* installed;          // TLMJ.TTF afterwards
        bool registered;
    };
    const std::vector<Case> cases{
        {"[CONFIRMDLG]\nPress=1\n",
         {"dialog CONFIRMDLG 1", "addfont C:\\WINDOWS\\FONTS\\TLMJ.TTF",
          "addfont C:\\WINDOWS\\FONTS\\TLGT.TTF", "dialog COPYING -", "broadcast WM_FONTCHANGE",
          "message 156 ok", "end 4 0"},
         "M",
         true},
        // Keeping the file in the proposed font directory passes the font over entirely.
        {"[CONFIRMDLG]\nPress=4\n",
         {"dialog CONFIRMDLG 4", "addfont C:\\WINDOWS\\FONTS\\TLGT.TTF", "dialog COPYING -",
          "broadcast WM_FONTCHANGE", "message 156 ok", "end 4 0"},
         "old",
         false},
        // A stopped copy claims no installation.
        {"[CONFIRMDLG]\nPress=2\n[Messages]\n124=Yes\n",
         {"dialog CONFIRMDLG 2", "message 124 yes", "dialog COPYING -", "broadcast WM_FONTCHANGE",
          "end 0 0"},
         "old",
         false},
    };
    WriteStandardDisk(disk);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answers);
        ScenarioMachine& pc = MakeMachine();
        pc.Write("C:\\WINDOWS\\FONTS\\TLMJ.TTF", "old");
        answers = std::string(kFontsOnly) + c.answers;

        RunOutcome run = Run();
        ASSERT_TRUE(run.Ended()) << run.program.err;
        std::vector<std::string> story{"message 139 no", "message 142 no", "message 143 yes",
                                       "dialog DIRECTORY 1", "dialog FONT 1"};
        story.insert(story.end(), c.story.begin(), c.story.end());
        EXPECT_EQ(run.Story(), story);
        const std::string installed = pc.Read("C:\\WINDOWS\\FONTS\\TLMJ.TTF");
        EXPECT_EQ(installed, c.installed == std::string("M") ? std::string(3000, 'M') : "old");
        bool registered = false;
        const nlohmann::json show = pc.Show();
        for (const auto& font : show["fonts"])
            registered = registered || font["name"] == "Telmora Myeongjo (TrueType)";
        EXPECT_EQ(registered, c.registered);
    }
}

} // namespace
} // namespace tl::test
