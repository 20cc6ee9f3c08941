// Message boxes are real boxes, answered in an unattended run; a box the platform shows by
// itself is cancelled and recorded rather than left waiting.
#include "win32ui_fixture.h"

namespace tl::win32ui::test {
namespace {

TEST_F(Win32UiTest, AnsweredBoxesReturnTheAnswerAndTheRestTheirDefault) {
    Answer("[Messages]\n139=No\n");
    const std::string text = Ansi("프린터 드라이버 설치하겠습니까?\n");
    EXPECT_EQ(windows.MessageBox({}, text, Ansi("질의 응답"), MB_YESNO | MB_ICONQUESTION, "139"),
              IDNO);
    EXPECT_EQ(windows.MessageBox({}, text, Ansi("질의 응답"), MB_YESNO, "140"), IDYES);
    EXPECT_EQ(windows.MessageBox({}, text, Ansi("주의"), MB_YESNO | MB_DEFBUTTON2, "141"), IDNO);
    EXPECT_EQ(windows.MessageBox({}, "Error", "error", MB_OK, "Error"), IDOK);
    ASSERT_EQ(recorder.boxes.size(), 4u);
    EXPECT_EQ(recorder.boxes[0].request.text, text);
    EXPECT_EQ(recorder.boxes[0].request.caption, Ansi("질의 응답"));
    EXPECT_EQ(recorder.boxes[0].result, IDNO);
    EXPECT_EQ(recorder.boxes[2].result, IDNO);
    EXPECT_TRUE(recorder.events.empty());
    EXPECT_TRUE(frontend->Unused().empty());
}

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
