#include "dialogs/dialog_utils.h"
#include "dialogs/memory_dialogs.h"
#include "resources/string_table.h"
#include "support/plain_window.h"
#include "ui/scripted_frontend.h"

namespace tl {
namespace {

struct DialogUtilsTest : test::ScriptedHost {
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
    const WindowHandle dialog = test::CreatePlainWindow(system);
    const WindowHandle other = test::CreatePlainWindow(system);
    const auto child = [&](WindowHandle parent) {
        return system.CreateWindow("Plain", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent, 117,
                                   0);
    };
    const WindowHandle control = child(dialog), elsewhere = child(other);
    InstallF3Hook(system, state);
    state.f3Dialog = dialog;

    const Message f3{control, WM_KEYDOWN, VK_F3, 0, 0};
    EXPECT_EQ(MsgFltr(system, state, MSGF_DIALOGBOX, 0, f3), 1);
    // Anything else passes on: another dialog, another key, a key release, another hook code.
    EXPECT_EQ(MsgFltr(system, state, MSGF_DIALOGBOX, 0, Message{elsewhere, WM_KEYDOWN, VK_F3}), 0);
    EXPECT_EQ(MsgFltr(system, state, MSGF_DIALOGBOX, 0, Message{control, WM_KEYDOWN, 0x73}), 0);
    EXPECT_EQ(MsgFltr(system, state, MSGF_DIALOGBOX, 0, Message{control, WM_KEYUP, VK_F3}), 0);
    EXPECT_EQ(MsgFltr(system, state, 2, 0, f3), 0);

    Message posted;
    ASSERT_TRUE(system.GetMessage(posted, WindowHandle{}, 0, 0));
    EXPECT_EQ(posted.window, dialog);
    EXPECT_EQ(posted.message, WM_COMMAND);
    EXPECT_EQ(posted.wParam, 118u);
    EXPECT_EQ(posted.lParam, 0);

    EXPECT_TRUE(RemoveF3Hook(system, state));
    EXPECT_FALSE(state.hook);
    state.f3Dialog = WindowHandle{};
    // Without an F3 dialog, a top-level window's F3 is nobody's.
    EXPECT_EQ(MsgFltr(system, state, MSGF_DIALOGBOX, 0, Message{dialog, WM_KEYDOWN, VK_F3}), 0);
}

TEST_F(DialogUtilsTest, ConfirmCancelAsksByInstallationState) {
    const WindowHandle owner = test::CreatePlainWindow(system);
    EXPECT_EQ(ConfirmCancel(system, owner, InstallationState::NotStarted),
              IDNO); // No is the default
    frontend.boxAnswers.push_back(IDYES);
    EXPECT_EQ(ConfirmCancel(system, owner, InstallationState::Installed), IDYES);
    ConfirmCancel(system, owner, InstallationState::RestartNeeded);
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

struct MemoryDialogsTest : test::ScriptedHost {
    WindowHandle owner = test::CreatePlainWindow(system);
};

TEST_F(MemoryDialogsTest, UnknownTemplateIsRefusedWithTheFixedMessage) {
    EXPECT_EQ(RunRestartDialog(system, codePage, owner, {}, "OTHER"), -1);
    EXPECT_TRUE(frontend.dialogs.empty());
    ASSERT_EQ(frontend.boxes.size(), 1u);
    EXPECT_EQ(frontend.boxes[0].text, "cannot create dialogbox");
    EXPECT_EQ(frontend.boxes[0].caption, "error");
    EXPECT_EQ(frontend.boxes[0].type, MB_OK);
}

TEST_F(MemoryDialogsTest, ResourceMessageIsSystemModalAndFitsItsBuffer) {
    ShowResourceMessage(system, owner, 133);
    ShowResourceMessage(system, owner, 115); // longer than 127 bytes
    ASSERT_EQ(frontend.boxes.size(), 2u);
    EXPECT_EQ(frontend.boxes[0].text, *LookupString(133));
    EXPECT_EQ(frontend.boxes[0].caption, *LookupString(163));
    EXPECT_EQ(frontend.boxes[0].type, MB_OK | MB_ICONASTERISK | MB_SYSTEMMODAL);
    EXPECT_EQ(frontend.boxes[0].key, "133");
    const std::string_view full = *LookupString(115);
    ASSERT_GT(full.size(), 127u);
    EXPECT_LE(frontend.boxes[1].text.size(), 127u);
    EXPECT_EQ(full.substr(0, frontend.boxes[1].text.size()), frontend.boxes[1].text);
}

} // namespace
} // namespace tl
