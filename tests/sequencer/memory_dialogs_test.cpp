#include "dialogs/memory_dialogs.h"
#include "dialogs/memory_dialogs_layout.h"
#include "resources/string_table.h"
#include "support/plain_window.h"
#include "ui/scripted_host.h"

namespace tl {
namespace {

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
