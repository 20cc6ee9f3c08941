#include "destination/drive_change_dialogs.h"
#include "destination/font_directory.h"
#include "destination_fixture.h"
#include "dialogs/dialog_utils.h"
#include "resources/string_table.h"
#include "dialogs/dialog_utils.h"
#include "state/inf_scripts.h"

namespace tl::test {
namespace {

TEST(ResolveFontDirectory, FollowsTheWindowsAndSystemDirectories) {
    const std::string_view windows = "D:\\WIN95";
    const std::string_view system = "D:\\WIN95\\SYSTEM";
    EXPECT_EQ(ResolveFontDirectory("\\TTF", windows, system), "D:\\TTF");
    EXPECT_EQ(ResolveFontDirectory("TTF", windows, system), "D:\\WIN95\\SYSTEM\\TTF");
    EXPECT_EQ(ResolveFontDirectory("T", windows, system), "D:\\WIN95\\SYSTEM\\T");
    EXPECT_EQ(ResolveFontDirectory("", windows, system), system);
    EXPECT_EQ(ResolveFontDirectory("E:\\FONTS", windows, system), "E:\\FONTS");
    EXPECT_EQ(ResolveFontDirectory("C:FONTS", windows, system), "C:FONTS");
}

// AcceptFontDirectory behind the CHANGE dialog: the text typed there, then OK; a refused text
// is followed by Cancel, so that the dialog ends with 0.
class AcceptTest : public DestinationTest {
protected:
    INT_PTR Accept(const std::string& typed) {
        frontend.drive = [typed](ui::DialogDriver& dialog, int attempt) {
            if (attempt == 0) {
                dialog.TypeText(kFontDirEditId, typed);
                dialog.Click(IDOK);
            } else {
                dialog.Click(IDCANCEL);
            }
            return std::optional<std::string>{};
        };
        return ShowModalDialog(
            windows, owner,
            [this](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
                return Change_Drv(*installer, dialog, message, wParam, lParam);
            },
            "CHANGE");
    }
};

TEST_F(AcceptTest, CreatesEveryLevelPassingOverEmptyOnes) {
    Open();
    EXPECT_EQ(Accept("d:\\new\\\\fonts\\ttf\\"), 1);
    EXPECT_EQ(installer->paths.fontDir, "D:\\NEW\\\\FONTS\\TTF\\");
    EXPECT_TRUE(folder.Exists("drive_d/NEW/FONTS/TTF"));
    EXPECT_EQ(platform->storage.GetCurrentDirectory(), "D:\\NEW\\FONTS\\TTF");
    EXPECT_EQ(installer->destination.spaceNeeded, "1");
    EXPECT_TRUE(frontend.boxes.empty());
    EXPECT_FALSE(folder.Exists("drive_d/UTEMP.DAT"));
}

TEST_F(AcceptTest, ResolvesRelativeAndEmptyTextsBeforeCreating) {
    Open();
    EXPECT_EQ(Accept("\\TTF"), 1);
    EXPECT_EQ(installer->paths.fontDir, "C:\\TTF");
    EXPECT_TRUE(folder.Exists("drive_c/TTF"));

    EXPECT_EQ(Accept("TTF"), 1);
    EXPECT_EQ(installer->paths.fontDir, "C:\\WINDOWS\\SYSTEM\\TTF");
    EXPECT_TRUE(folder.Exists("drive_c/WINDOWS/SYSTEM/TTF"));

    EXPECT_EQ(Accept(""), 1);
    EXPECT_EQ(installer->paths.fontDir, "C:\\WINDOWS\\SYSTEM");
    EXPECT_TRUE(frontend.boxes.empty());
}

TEST_F(AcceptTest, ARefusedDirectoryLeavesTheOneInForceBeforeWhenCancelled) {
    Open();
    installer->paths.fontDir = "C:\\WINDOWS\\FONTS";
    for (const char* refused : {"C:FONTS", "Q:\\FONTS"}) {
        EXPECT_EQ(Accept(refused), 0) << refused;
        EXPECT_EQ(installer->paths.fontDir, "C:\\WINDOWS\\FONTS") << refused;
    }
}

TEST_F(AcceptTest, RefusesWhatCannotBeCreatedNamingThePath) {
    Open();
    EXPECT_EQ(Accept("C:FONTS"), 0);
    ASSERT_EQ(frontend.boxes.size(), 1u);
    EXPECT_EQ(frontend.boxes[0].key, "125");
    EXPECT_EQ(frontend.boxes[0].text, Text(125) + Text(126) + "C:FONTS");
    EXPECT_EQ(frontend.boxes[0].caption, Text(161));
    EXPECT_EQ(frontend.boxes[0].type, MB_OK | MB_ICONHAND);
    EXPECT_FALSE(folder.Exists("drive_c/FONTS"));

    // A file where a level should be: the levels before it stay.
    folder.WriteFile("drive_d/A/B", "a file");
    EXPECT_EQ(Accept("D:\\A\\B\\C"), 0);
    EXPECT_EQ(frontend.boxes.back().text, Text(125) + Text(126) + "D:\\A\\B\\C");
    EXPECT_EQ(folder.ReadFile("drive_d/A/B"), "a file");

    // A path too long for the fonts' names is refused whole, never cut to fit.
    const std::string longPath = "D:\\" + std::string(250, 'L');
    EXPECT_EQ(Accept(longPath), 0);
    EXPECT_EQ(frontend.boxes.back().text, Text(125) + Text(126) + longPath);
    EXPECT_FALSE(folder.Exists("drive_d/" + std::string(143, 'L')));
    EXPECT_EQ(frontend.boxes.size(), 3u);
}

TEST_F(AcceptTest, RefusesNetworkPathsAndDevicesCreatingNothing) {
    Open();
    const struct {
        const char* typed;
        const char* shown;
        const char* hostPath; // what must not be created
    } cases[] = {
        {"\\\\SERVER\\SHARE\\FONTS", "C:\\\\SERVER\\SHARE\\FONTS", "drive_c/SERVER"},
        {"C:\\NUL", "C:\\NUL", "drive_c/NUL"},
        {"C:\\FONTS\\LPT1.TXT", "C:\\FONTS\\LPT1.TXT", "drive_c/FONTS"},
        {"D:\\COM1\\TTF", "D:\\COM1\\TTF", "drive_d/COM1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::size_t boxes = frontend.boxes.size();
        EXPECT_EQ(Accept(c.typed), 0);
        ASSERT_EQ(frontend.boxes.size(), boxes + 1);
        EXPECT_EQ(frontend.boxes.back().key, "125");
        EXPECT_EQ(frontend.boxes.back().text, Text(125) + Text(126) + c.shown);
        EXPECT_FALSE(folder.Exists(c.hostPath));
    }
}

TEST_F(AcceptTest, LeavesRoomForTheLongestFontNameAndItsTemporaryName) {
    Open();
    // The longest offered name is 12 characters: "\" + 12 + ".TMP" leaves 242 of 259.
    folder.WriteFile("drive_c/INSTALL.INF", "[TRUETYPEFONTS]\r\nFONTLIST=Batang, Gulim_Che\r\n"
                                            "[Batang.TrueType]\r\n2:BATANG.TTF, \"0:Batang\"\r\n"
                                            "[Gulim_Che.TrueType]\r\n"
                                            "3:GULIM.TTF, \"0:Gulim\", 3:GULIMCHE.TTF, \"0:Che\"\r\n");
    ASSERT_EQ(LoadInf(installer->scripts, platform->files, "C:\\INSTALL.INF").status,
              InfLoadStatus::Loaded);
    const std::string fits = "D:\\" + std::string(239, 'F');
    EXPECT_EQ(Accept(fits), 1);
    EXPECT_TRUE(folder.Exists("drive_d/" + std::string(239, 'F')));
    const std::string tooLong = "D:\\" + std::string(240, 'L');
    EXPECT_EQ(Accept(tooLong), 0);
    EXPECT_EQ(frontend.boxes.back().text, Text(125) + Text(126) + tooLong);
    EXPECT_FALSE(folder.Exists("drive_d/" + std::string(240, 'L')));

    // Without fonts on offer, the plain limit.
    EXPECT_EQ(MaxFontDirLength(0), kMaxFontDirLength);
    EXPECT_EQ(MaxFontDirLength(9), 245u);
    EXPECT_EQ(MaxFontDirLength(300), 0u);
}

} // namespace
} // namespace tl::test
