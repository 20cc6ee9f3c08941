#include "copy/confirm_replace.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "ui/scripted_frontend.h"

#include "support/plain_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tl {
namespace {

class ConfirmReplaceTest : public ::testing::Test {
protected:
    ConfirmReplaceTest() : windows(frontend, codePage) {
        windows.SetObserver(&frontend);
        owner = test::CreatePlainWindow(windows);
        EXPECT_EQ(list.AppendFontPair('1', "TLGOTH.TTF", "TL Gothic (TrueType)"),
                  CopyListError::None);
        EXPECT_EQ(list.AppendFontPair('2', "TLMYUNG.TTF", "TL Myungjo (TrueType)"),
                  CopyListError::None);
        EXPECT_EQ(list.Append(kFlagSystemFile, '2', "TLFONT.DLL"), CopyListError::None);
    }

    // Opens CONFIRMDLG for entry `index`, presses `button` (Escape for Cancel).
    INT_PTR Ask(std::size_t index, int button) {
        frontend.drive = [button](ui::DialogDriver& dialog, int) -> std::optional<std::string> {
            if (button == IDCANCEL) {
                dialog.PressKey(VK_ESCAPE);
            } else if (!dialog.Click(button)) {
                return "button " + std::to_string(button) + " cannot be pressed";
            }
            return std::nullopt;
        };
        const ConfirmContext context{windows, list, list.Name(index), index};
        return ConfirmReplace(context, owner);
    }

    std::string Utf8(std::string_view ansi) const { return codePage.ToUtf8(ansi); }

    host::IconvCodePage codePage;
    test::ScriptedFrontend frontend;
    host::HostWindowSystem windows;
    WindowHandle owner;
    CopyList list;
};

TEST_F(ConfirmReplaceTest, EachButtonEndsTheDialogWithItsId) {
    EXPECT_EQ(Ask(0, kConfirmYes), 1);
    EXPECT_EQ(Ask(0, kConfirmYesToAll), 1004);
    EXPECT_EQ(Ask(0, kConfirmNo), 4);
    EXPECT_EQ(Ask(0, IDCANCEL), 2);
    ASSERT_EQ(frontend.dialogs.size(), 4u);

    const ui::DialogSnapshot& opened = frontend.dialogs[0].opened;
    EXPECT_EQ(frontend.dialogs[0].name, "CONFIRMDLG");
    EXPECT_EQ(Utf8(opened.caption), "화일을 교환 확인");
    std::vector<std::string> texts;
    for (int id : {2106, 149, 150, 1, 1004, 4, 2}) {
        texts.push_back(Utf8(opened.Find(id)->text));
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"TLGOTH.TTF", "디렉토리에 화일이 이미 존재합니다.",
                                               "현재있는 화일을 교환하시겠습니까?", "예[&Y]",
                                               "모두 예[&A]", "아니오[&N]", "취소"}));
}

TEST_F(ConfirmReplaceTest, YesToAllOnlyWhileAnotherFontFollows) {
    EXPECT_EQ(Ask(0, kConfirmYes), 1);
    EXPECT_TRUE(frontend.dialogs.back().opened.Find(kConfirmYesToAll)->enabled);

    // The last font is followed only by its name entry and a file that is no font.
    EXPECT_EQ(Ask(2, kConfirmNo), 4);
    EXPECT_FALSE(frontend.dialogs.back().opened.Find(kConfirmYesToAll)->enabled);
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
