// Code page 949 through the wide calls: texts round-trip to the same bytes, a control's text is cut
// like the system's buffer cuts it (never inside a double-byte character), and DlgDirList.
#include "win32ui_fixture.h"

#include "platform/win32/ui/wide_text.h"

#include <algorithm>

namespace tl::win32ui::test {
namespace {

TEST(WideText, KoreanBytesRoundTripThroughUtf16) {
    const std::string korean = "\xC7\xC1\xB8\xB0\xC5\xCD"; // "프린터" in code page 949
    EXPECT_EQ(AnsiToWide(korean), L"\uD504\uB9B0\uD130");
    EXPECT_EQ(WideToAnsi(AnsiToWide(korean)), korean);
    EXPECT_EQ(WideToAnsi(L"\u00E9t\u00E9"), "?t?"); // not in code page 949
    EXPECT_TRUE(AnsiToWide("").empty());
}

// SELECTDRIVE tests a typed path by listing it into its hidden list: a directory lists, a path
// that names none does not.
TEST_F(Win32UiTest, ItemTextIsCutAtTheBufferAndDirListListsOnlyAnExistingDirectory) {
    std::string seen, whole;
    std::vector<int> listed;
    std::vector<std::string> items;
    const WindowHandle dialog = windows.CreateDialog(
        "SELECTDRIVE", {},
        [&](DialogWindow& window, UINT message, WPARAM, LPARAM) -> INT_PTR {
            if (message != WM_INITDIALOG)
                return FALSE;
            window.SetItemText(652, Ansi("드라이브:"));
            seen = window.GetItemText(652, 4); // room for 3 bytes: one character and a half
            whole = window.GetItemText(652, 256);
            for (std::string spec : {"C:\\windows", "C:\\no\\such"}) {
                listed.push_back(window.DirList(spec, 651, 652, DDL_DRIVES | DDL_DIRECTORY));
                for (int i = 0; listed.size() == 1 && i < window.ListCount(651); ++i)
                    items.push_back(window.ListText(651, i));
            }
            return TRUE;
        },
        0);
    EXPECT_EQ(seen, Ansi("드"));
    EXPECT_EQ(whole, Ansi("드라이브:"));
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_NE(listed[0], 0);
    EXPECT_EQ(listed[1], 0);
    EXPECT_NE(std::find(items.begin(), items.end(), "[-c-]"), items.end());
    EXPECT_NE(std::find(items.begin(), items.end(), "[system32]"), items.end());
    windows.DestroyWindow(dialog);
}

} // namespace
} // namespace tl::win32ui::test
