// An answer a real box does not offer stops the run; a box the platform shows by itself is
// cancelled and recorded rather than left waiting.
#include "win32ui_fixture.h"

namespace tl::win32ui::test {
namespace {

TEST_F(Win32UiTest, AnAnswerTheBoxDoesNotOfferStopsTheRun) {
    Answer("[Messages]\n139=Cancel\n");
    EXPECT_EQ(windows.MessageBox({}, "?", "?", MB_YESNO, "139"), IDYES);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_NE(stops[0].find("139"), std::string::npos);
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(Win32UiTest, APlatformBoxIsCancelledAndRecordedAsAPrompt) {
    Answer("");
    // What LZOpenFile's OF_PROMPT or a critical-error handler would show on its own.
    int result = MessageBoxW(nullptr, L"Cannot find DRIVER.DL_", L"Open File", MB_RETRYCANCEL);
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(recorder.events[0].event, "prompt");
    EXPECT_EQ(Field(recorder.events[0], "text"), "Cannot find DRIVER.DL_");
    EXPECT_EQ(Field(recorder.events[0], "caption"), "Open File");
}

} // namespace
} // namespace tl::win32ui::test
