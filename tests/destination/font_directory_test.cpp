#include "destination/drive_change_dialogs.h"
#include "destination/font_directory.h"
#include "destination_machine.h"
#include "resources/string_table.h"
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
        m->Unscripted() = [typed](ui::DialogDriver& dialog, int attempt) {
            if (attempt == 0) {
                dialog.TypeText(kFontDirEditId, typed);
                dialog.Click(IDOK);
            } else {
                dialog.Click(IDCANCEL);
            }
            return std::optional<std::string>{};
        };
        return m->RunDialog("CHANGE", Change_Drv);
    }
};

TEST_F(AcceptTest, CreatesEveryLevelPassingOverEmptyOnes) {
    Open();
    EXPECT_EQ(Accept("d:\\new\\\\fonts\\ttf\\"), 1);
    EXPECT_EQ(m->Get().paths.fontDir, "D:\\NEW\\\\FONTS\\TTF\\");
    EXPECT_TRUE(m->Folder().Exists("drive_d/NEW/FONTS/TTF"));
    EXPECT_EQ(m->Ports().storage.GetCurrentDirectory(), "D:\\NEW\\FONTS\\TTF");
    EXPECT_EQ(m->Get().destination.spaceNeeded, "1");
    EXPECT_TRUE(m->Boxes().empty());
    EXPECT_FALSE(m->Folder().Exists("drive_d/UTEMP.DAT"));
}

// Nothing is created, the one in force stays, and the refusal names the path as typed.
TEST_F(AcceptTest, RefusesNetworkPathsAndDevicesCreatingNothing) {
    Open();
    m->Get().paths.fontDir = "C:\\WINDOWS\\FONTS";
    m->Folder().WriteFile("drive_d/A/B", "a file");              // a file where a level should be
    const std::string longPath = "D:\\" + std::string(250, 'L'); // too long for the fonts' names
    const struct {
        std::string typed;
        std::string shown;
        std::string hostPath; // what must not be created
    } cases[] = {
        {"\\\\SERVER\\SHARE\\FONTS", "C:\\\\SERVER\\SHARE\\FONTS", "drive_c/SERVER"},
        {"C:\\NUL", "C:\\NUL", "drive_c/NUL"},
        {"C:\\FONTS\\LPT1.TXT", "C:\\FONTS\\LPT1.TXT", "drive_c/FONTS"},
        {"D:\\COM1\\TTF", "D:\\COM1\\TTF", "drive_d/COM1"},
        {"C:FONTS", "C:FONTS", "drive_c/FONTS"},
        {"D:\\A\\B\\C", "D:\\A\\B\\C", "drive_d/A/B/C"},
        {longPath, longPath, "drive_d/" + std::string(143, 'L')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.substr(0, 20));
        const std::size_t boxes = m->Boxes().size();
        EXPECT_EQ(Accept(c.typed), 0);
        ASSERT_EQ(m->Boxes().size(), boxes + 1);
        const ui::MessageBoxRequest& box = m->Boxes().back().request;
        EXPECT_EQ(box.key, "125");
        EXPECT_EQ(box.text, Text(125) + Text(126) + c.shown);
        EXPECT_EQ(box.caption, Text(161));
        EXPECT_EQ(box.type, MB_OK | MB_ICONHAND);
        EXPECT_FALSE(m->Folder().Exists(c.hostPath));
        EXPECT_EQ(m->Get().paths.fontDir, "C:\\WINDOWS\\FONTS");
    }
    EXPECT_EQ(m->Folder().ReadFile("drive_d/A/B"), "a file");
}

TEST_F(AcceptTest, LeavesRoomForTheLongestFontNameAndItsTemporaryName) {
    Open();
    // The longest offered name is 12 characters: "\" + 12 + ".TMP" leaves 242 of 259.
    m->Folder().WriteFile("drive_c/INSTALL.INF",
                          "[TRUETYPEFONTS]\r\nFONTLIST=Batang, Gulim_Che\r\n"
                          "[Batang.TrueType]\r\n2:BATANG.TTF, \"0:Batang\"\r\n"
                          "[Gulim_Che.TrueType]\r\n"
                          "3:GULIM.TTF, \"0:Gulim\", 3:GULIMCHE.TTF, \"0:Che\"\r\n");
    ASSERT_EQ(LoadInf(m->Get().scripts, m->Ports().files, "C:\\INSTALL.INF").status,
              InfLoadStatus::Loaded);
    const std::string fits = "D:\\" + std::string(239, 'F');
    EXPECT_EQ(Accept(fits), 1);
    EXPECT_TRUE(m->Folder().Exists("drive_d/" + std::string(239, 'F')));
    const std::string tooLong = "D:\\" + std::string(240, 'L');
    EXPECT_EQ(Accept(tooLong), 0);
    EXPECT_EQ(m->Boxes().back().request.text, Text(125) + Text(126) + tooLong);
    EXPECT_FALSE(m->Folder().Exists("drive_d/" + std::string(240, 'L')));

    // Without fonts on offer, the plain limit.
    EXPECT_EQ(MaxFontDirLength(0), kMaxFontDirLength);
    EXPECT_EQ(MaxFontDirLength(9), 245u);
    EXPECT_EQ(MaxFontDirLength(300), 0u);
}

} // namespace
} // namespace tl::test
