// Code page 949 through the wide calls: texts shown round-trip to the same bytes, and a
// control's text is cut like the system's buffer cuts it, never inside a double-byte character.
#include "win32ui_fixture.h"

#include "platform/win32/ui/wide_text.h"

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

} // namespace
} // namespace tl::win32ui::test
