#include "dialogs/dialog_utils.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "resources/string_table.h"
#include "support/plain_window.h"
#include "ui/scripted_frontend.h"

#include <gtest/gtest.h>

#include <vector>

namespace tl {
namespace {

// A plain window class that keeps the messages it is sent.
struct Recorder {
    std::vector<Message> received;
    WindowClass Class(std::string name) {
        WindowClass windowClass;
        windowClass.name = std::move(name);
        windowClass.proc = [this](WindowHandle window, UINT message, WPARAM wParam,
                                  LPARAM lParam) -> LRESULT {
            received.push_back(Message{window, message, wParam, lParam, 0});
            return 0;
        };
        return windowClass;
    }
};

class DialogUtilsTest : public ::testing::Test {
protected:
    DialogUtilsTest() : windows(frontend, codePage) {
        windows.RegisterClass(recorder.Class("Plain"));
    }
    WindowHandle Popup(int width, int height) {
        return windows.CreateWindow("Plain", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                    WindowHandle{}, 0, 0);
    }

    host::IconvCodePage codePage;
    test::ScriptedFrontend frontend;
    host::HostWindowSystem windows;
    Recorder recorder;
    DialogUtilState state;
};

// Centred on a large screen; on a small one, two thirds of the free height above.
TEST(CentreWindow, PutsDialogsLowerOnSmallScreens) {
    const struct {
        host::ScreenSettings screen;
        Rect rect;
    } cases[] = {{{}, {412, 234, 612, 534}}, {{800, 600}, {300, 200, 500, 500}}};
    for (const auto& c : cases) {
        host::IconvCodePage codePage;
        test::ScriptedFrontend frontend;
        host::HostWindowSystem windows(frontend, codePage, c.screen);
        const WindowHandle window = test::CreatePlainWindow(windows);
        windows.MoveWindow(window, 0, 0, 200, 300, FALSE);
        CentreWindow(windows, window);
        Rect rect;
        windows.GetWindowRect(window, rect);
        EXPECT_EQ(rect, c.rect);
    }
}

TEST_F(DialogUtilsTest, F3InTheF3DialogPostsItsExitButton) {
    const WindowHandle dialog = Popup(100, 100);
    const WindowHandle other = Popup(100, 100);
    const WindowHandle control =
        windows.CreateWindow("Plain", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, dialog, 117, 0);
    const WindowHandle elsewhere =
        windows.CreateWindow("Plain", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, other, 117, 0);
    InstallF3Hook(windows, state);
    state.f3Dialog = dialog;

    const Message f3{control, WM_KEYDOWN, VK_F3, 0, 0};
    EXPECT_EQ(MsgFltr(windows, state, MSGF_DIALOGBOX, 0, f3), 1);
    // Anything else passes on: another dialog, another key, a key release, another hook code.
    EXPECT_EQ(MsgFltr(windows, state, MSGF_DIALOGBOX, 0, Message{elsewhere, WM_KEYDOWN, VK_F3}), 0);
    EXPECT_EQ(MsgFltr(windows, state, MSGF_DIALOGBOX, 0, Message{control, WM_KEYDOWN, 0x73}), 0);
    EXPECT_EQ(MsgFltr(windows, state, MSGF_DIALOGBOX, 0, Message{control, WM_KEYUP, VK_F3}), 0);
    EXPECT_EQ(MsgFltr(windows, state, 2, 0, f3), 0);

    Message posted;
    recorder.received.clear();
    ASSERT_TRUE(windows.GetMessage(posted, WindowHandle{}, 0, 0));
    EXPECT_EQ(posted.window, dialog);
    EXPECT_EQ(posted.message, WM_COMMAND);
    EXPECT_EQ(posted.wParam, 118u);
    EXPECT_EQ(posted.lParam, 0);

    EXPECT_TRUE(RemoveF3Hook(windows, state));
    EXPECT_FALSE(state.hook);
    state.f3Dialog = WindowHandle{};
    // Without an F3 dialog, a top-level window's F3 is nobody's.
    EXPECT_EQ(MsgFltr(windows, state, MSGF_DIALOGBOX, 0, Message{dialog, WM_KEYDOWN, VK_F3}), 0);
}

TEST_F(DialogUtilsTest, ConfirmCancelAsksByInstallationState) {
    const WindowHandle owner = Popup(640, 480);
    EXPECT_EQ(ConfirmCancel(windows, owner, InstallationState::NotStarted),
              IDNO); // No is the default
    frontend.boxAnswers.push_back(IDYES);
    EXPECT_EQ(ConfirmCancel(windows, owner, InstallationState::Installed), IDYES);
    ConfirmCancel(windows, owner, InstallationState::RestartNeeded);
    ASSERT_EQ(frontend.boxes.size(), 3u);
    EXPECT_EQ(frontend.boxes[0].key, "123");
    EXPECT_EQ(frontend.boxes[0].text, *LookupString(123));
    EXPECT_EQ(frontend.boxes[0].caption, *LookupString(161));
    EXPECT_EQ(frontend.boxes[0].type, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    EXPECT_EQ(frontend.boxes[0].owner, owner);
    EXPECT_EQ(frontend.boxes[1].key, "124");
    EXPECT_EQ(frontend.boxes[2].key, "124");
}

TEST_F(DialogUtilsTest, LoadTextFillsTheGivenBufferOrTheSharedOne) {
    std::array<char, 256> buffer{};
    const std::string_view caption = LoadText(161, std::span<char>(buffer));
    EXPECT_EQ(caption, *LookupString(161));
    EXPECT_EQ(caption.data(), buffer.data());

    const std::string_view first = LoadText(163, state);
    EXPECT_EQ(first.data(), state.scratch.data());
    const std::string_view second = LoadText(11, state);
    EXPECT_EQ(second, "INSTALL.INF");
    EXPECT_EQ(std::string_view(state.scratch.data()), "INSTALL.INF"); // the first is gone

    std::array<char, 4> small{};
    EXPECT_EQ(LoadText(11, std::span<char>(small)), "INS");
    EXPECT_EQ(LoadText(9999, std::span<char>(buffer)), "");
    EXPECT_EQ(LoadTextCopy(11), "INSTALL.INF");
}

} // namespace
} // namespace tl
