#include "copy/confirm_replace.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "ui/scripted_frontend.h"

#include "support/plain_window.h"

#include <gtest/gtest.h>

#include <string>

namespace tl {
namespace {

// CONFIRMDLG for each entry of a list of two fonts and a file that is no font; the plain answers
// are the font scenarios'.
TEST(ConfirmReplace, EndsWithTheButtonsIdAndOffersYesToAllOnlyWhileAnotherFontFollows) {
    host::IconvCodePage codePage;
    test::ScriptedFrontend frontend;
    host::HostWindowSystem windows(frontend, codePage);
    windows.SetObserver(&frontend);
    const WindowHandle owner = test::CreatePlainWindow(windows);
    CopyList list;
    ASSERT_EQ(list.AppendFontPair('1', "TLGOTH.TTF", "TL Gothic (TrueType)"), CopyListError::None);
    ASSERT_EQ(list.AppendFontPair('2', "TLMYUNG.TTF", "TL Myungjo (TrueType)"),
              CopyListError::None);
    ASSERT_EQ(list.Append(kFlagSystemFile, '2', "TLFONT.DLL"), CopyListError::None);
    const auto ask = [&](std::size_t index, int button) {
        frontend.drive = [button](ui::DialogDriver& dialog, int) -> std::optional<std::string> {
            if (button == IDCANCEL)
                dialog.PressKey(VK_ESCAPE);
            else if (!dialog.Click(button))
                return "button " + std::to_string(button) + " cannot be pressed";
            return std::nullopt;
        };
        return ConfirmReplace({windows, list, list.Name(index), index}, owner);
    };
    EXPECT_EQ(ask(0, kConfirmYesToAll), 1004);
    EXPECT_EQ(ask(0, IDCANCEL), 2);
    EXPECT_EQ(ask(2, kConfirmNo), 4);
    ASSERT_EQ(frontend.dialogs.size(), 3u);
    EXPECT_EQ(codePage.ToUtf8(frontend.dialogs[0].opened.Find(2106)->text), "TLGOTH.TTF");
    EXPECT_TRUE(frontend.dialogs[0].opened.Find(kConfirmYesToAll)->enabled);
    EXPECT_FALSE(frontend.dialogs[2].opened.Find(kConfirmYesToAll)->enabled);
}

TEST(HasLaterFont, AFullListIsSearchedToItsLastEntryAndNoFurther) {
    CopyList list;
    for (std::size_t i = 0; i < kCopyListEntries; ++i) {
        const bool font = i == 0 || i == kCopyListEntries - 1;
        ASSERT_EQ(list.Append(font ? kFlagFont : kFlagSystemFile, '1', "F.TTF"),
                  CopyListError::None);
    }
    EXPECT_TRUE(HasLaterFont(list, 0));
    EXPECT_FALSE(HasLaterFont(list, kCopyListEntries - 1));
    EXPECT_FALSE(HasLaterFont(list, kCopyListEntries + 5));
}

} // namespace
} // namespace tl
