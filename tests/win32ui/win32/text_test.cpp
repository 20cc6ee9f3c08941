// Code page 949 through the wide calls: texts shown round-trip to the same bytes, and a
// control's text is cut like the system's buffer cuts it, never inside a double-byte character.
#include "win32ui_fixture.h"

#include "platform/win32/ui/wide_text.h"

#include <algorithm>
#include <cstdio>

namespace tl::win32ui::test {
namespace {

TEST(WideText, KoreanBytesRoundTripThroughUtf16) {
    const std::string korean = "\xC7\xC1\xB8\xB0\xC5\xCD"; // "프린터" in code page 949
    EXPECT_EQ(AnsiToWide(korean), L"\uD504\uB9B0\uD130");
    EXPECT_EQ(WideToAnsi(AnsiToWide(korean)), korean);
    EXPECT_EQ(AnsiToWide("C:\\FONTS"), L"C:\\FONTS");
    EXPECT_EQ(WideToAnsi(L"\u00E9t\u00E9"), "?t?"); // not in code page 949
    EXPECT_TRUE(AnsiToWide("").empty());
}

TEST_F(Win32UiTest, ItemTextIsCutAtTheBufferWithoutSplittingACharacter) {
    std::string seen;
    std::string whole;
    windows.CreateDialog(
        "CHANGE", {},
        [&](DialogWindow& dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
            if (message != WM_INITDIALOG)
                return FALSE;
            dialog.SetItemText(139, Ansi("드라이브:"));
            seen = dialog.GetItemText(139, 4); // room for 3 bytes: one character and a half
            whole = dialog.GetItemText(139, 256);
            return TRUE;
        },
        0);
    EXPECT_EQ(seen, Ansi("드"));
    EXPECT_EQ(whole, Ansi("드라이브:"));
}

// SELECTDRIVE tests a typed path by listing it into its hidden list: a directory lists, a path
// that names none does not, and the path may hold Korean.
TEST_F(Win32UiTest, DirListListsAnExistingDirectoryAndRefusesAMissingOne) {
    const std::string korean = Ansi("C:\\드라이버");
    const bool madeKorean = CreateDirectoryW(AnsiToWide(korean).c_str(), nullptr) != FALSE ||
                            GetLastError() == ERROR_ALREADY_EXISTS;
    std::vector<int> listed;
    std::vector<std::string> items;
    const WindowHandle dialog = windows.CreateDialog(
        "SELECTDRIVE", {},
        [&](DialogWindow& window, UINT message, WPARAM, LPARAM) -> INT_PTR {
            if (message != WM_INITDIALOG)
                return FALSE;
            for (std::string spec :
                 {std::string("C:\\windows"), std::string("C:\\no\\such"), korean}) {
                listed.push_back(window.DirList(spec, 651, 652, DDL_DRIVES | DDL_DIRECTORY));
                for (int i = 0; listed.size() == 1 && i < window.ListCount(651); ++i)
                    items.push_back(window.ListText(651, i));
            }
            return TRUE;
        },
        0);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_NE(listed[0], 0);
    EXPECT_EQ(listed[1], 0);
    // Only where the file system holds a Korean name (not under Wine without a Korean locale).
    if (madeKorean)
        EXPECT_NE(listed[2], 0);
    else
        std::printf("no Korean directory name here: its listing is not checked\n");
    EXPECT_NE(std::find(items.begin(), items.end(), "[-c-]"), items.end());
    EXPECT_NE(std::find(items.begin(), items.end(), "[system32]"), items.end());
    windows.DestroyWindow(dialog);
    RemoveDirectoryW(AnsiToWide(korean).c_str());
}

} // namespace
} // namespace tl::win32ui::test
