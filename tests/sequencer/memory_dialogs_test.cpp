#include "dialogs/memory_dialogs.h"
#include "dialogs/memory_dialogs_layout.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "resources/string_table.h"
#include "ui/scripted_frontend.h"

#include "support/plain_window.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tl {
namespace {

class MemoryDialogsTest : public ::testing::Test {
protected:
    MemoryDialogsTest() : windows(frontend, codePage) {
        windows.SetObserver(&frontend);
        owner = test::CreatePlainWindow(windows);
    }

    INT_PTR Restart(int mode, std::string_view name = "WIN_RESTART") {
        RestartContext context{windows,
                               [this](UINT flags, DWORD reserved) {
                                   exits.emplace_back(flags, reserved);
                                   return BOOL{1};
                               },
                               mode};
        return RunRestartDialog(windows, codePage, owner, MakeSelWinRestart(context), name);
    }

    host::IconvCodePage codePage;
    test::ScriptedFrontend frontend;
    host::HostWindowSystem windows;
    std::vector<std::pair<UINT, DWORD>> exits;
    WindowHandle owner;
};

TEST_F(MemoryDialogsTest, UnknownTemplateIsRefusedWithTheFixedMessage) {
    EXPECT_EQ(Restart(2, "OTHER"), -1);
    EXPECT_TRUE(frontend.dialogs.empty());
    ASSERT_EQ(frontend.boxes.size(), 1u);
    EXPECT_EQ(frontend.boxes[0].text, "cannot create dialogbox");
    EXPECT_EQ(frontend.boxes[0].caption, "error");
    EXPECT_EQ(frontend.boxes[0].type, MB_OK);
}

TEST_F(MemoryDialogsTest, ResourceMessageIsSystemModalAndFitsItsBuffer) {
    ShowResourceMessage(windows, owner, 133);
    ShowResourceMessage(windows, owner, 115); // longer than 127 bytes
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
