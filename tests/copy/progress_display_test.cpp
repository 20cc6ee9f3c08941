// The COPYING dialog's pictures: the host program paints nowhere, so only these tests see them.
#include "copy/progress_display.h"
#include "copy/progress_paint.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/canvas_recorder.h"
#include "platform/host/ui/host_window_system.h"
#include "resources/string_table.h"
#include "support/plain_window.h"
#include "ui/scripted_frontend.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace tl {
namespace {

using host::CanvasOp;
using host::CanvasRecorder;
constexpr COLORREF kBlue = Rgb(0, 0, 255);

// A 200 x 20 bar: the inside (1, 1, 199, 19) is blue with white text left of the split and white
// with blue text right of it, the 4 percent characters centred; the frame is black.
TEST(ProgressBar, SplitsAtThePositionAndStaysInsideTheBar) {
    const struct {
        WORD range, position;
        const char* text;
        LONG split;
    } cases[] = {{100, 50, " 50%", 100},  {100, 0, "  0%", 1}, {100, 100, "100%", 199},
                 {100, 110, "110%", 199}, {0, 3, "300%", 199}, // range 0 counts as 1
                 {1, 12, "1200", 199},    {3, 1, " 33%", 67}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        host::FontTable fonts;
        const FontHandle bold = fonts.CreateFont(ProgressFont());
        CanvasRecorder canvas(200, 20, &fonts);
        PaintProgressBar(canvas, {0, 0, 200, 20}, c.range, c.position, bold, ProgressColours{});
        std::vector<CanvasOp> texts;
        for (const CanvasOp& op : canvas.Ops())
            if (op.kind == CanvasOp::Kind::ExtText)
                texts.push_back(op);
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[0].rect, (Rect{1, 1, c.split, 19}));
        EXPECT_EQ(texts[1].rect, (Rect{c.split, 1, 199, 19}));
        EXPECT_EQ(std::pair(texts[0].bkColour, texts[0].textColour), std::pair(kBlue, kWhite));
        EXPECT_EQ(std::pair(texts[1].bkColour, texts[1].textColour), std::pair(kWhite, kBlue));
        for (const CanvasOp& text : texts) {
            EXPECT_EQ(text.text, c.text);
            EXPECT_EQ(text.options, kEtoClipped | kEtoOpaque);
            EXPECT_EQ(std::pair(text.x, text.y), std::pair(85, 1)); // (199 - 4 * 7) / 2
            EXPECT_EQ(text.font, bold);
        }
        EXPECT_EQ(canvas.Pixel(0, 10), kBlack);
        EXPECT_EQ(canvas.Pixel(199, 10), kBlack);
        EXPECT_EQ(canvas.Font(), FontHandle{}); // the previous font is back
    }
    // A bar without an inside gets only its frame.
    CanvasRecorder tiny(10, 10);
    PaintProgressBar(tiny, {0, 0, 2, 2}, 100, 50, FontHandle{}, ProgressColours{});
    ASSERT_EQ(tiny.Ops().size(), 1u);
    EXPECT_EQ(tiny.Ops()[0].kind, CanvasOp::Kind::Frame);
}

class ProgressDisplayTest : public ::testing::Test {
protected:
    ProgressDisplayTest() : windows(frontend, codePage) {
        windows.SetCanvasSource([this](WindowHandle window) -> Canvas* {
            auto& canvas = canvases[window.value];
            Rect client;
            if (!canvas && windows.GetClientRect(window, client))
                canvas = std::make_unique<CanvasRecorder>(client.Width(), client.Height(), &fonts);
            return canvas.get();
        });
        EXPECT_EQ(RegisterProgressBarClass(windows, state), 1);
        EXPECT_EQ(RegisterTextBarClass(windows, state), 1);
        mainWindow = test::CreatePlainWindow(windows);
        OpenProgressDisplay(windows, fonts, state, mainWindow);
    }
    ~ProgressDisplayTest() override { CloseProgressDisplay(windows, fonts, state, mainWindow); }

    CanvasRecorder& CanvasOf(WindowHandle window) {
        windows.GetDC(window);
        return *canvases[window.value];
    }
    std::string LastPercent() {
        const auto& ops = CanvasOf(state.bar).Ops();
        for (auto op = ops.rbegin(); op != ops.rend(); ++op)
            if (op->kind == CanvasOp::Kind::ExtText)
                return op->text;
        return "";
    }

    host::IconvCodePage codePage;
    test::ScriptedFrontend frontend;
    host::HostWindowSystem windows;
    host::FontTable fonts;
    std::map<std::uint32_t, std::unique_ptr<CanvasRecorder>> canvases;
    ProgressState state;
    WindowHandle mainWindow;
};

// The position wraps at 16 bits; after the close the calls do nothing.
TEST_F(ProgressDisplayTest, AdvancesPaintAtOnceAndCloseTidiesUp) {
    EXPECT_FALSE(windows.IsWindowEnabled(mainWindow));
    EXPECT_EQ(fonts.LiveCount(), 1u);
    EXPECT_EQ(LastPercent(), "  0%");
    ASSERT_EQ(SetProgressRange(windows, state, 4), 1);
    for (const char* text : {" 25%", " 50%", " 75%", "100%", "125%"}) {
        ASSERT_EQ(AdvanceProgress(windows, state, 1), 1);
        EXPECT_EQ(LastPercent(), text);
        EXPECT_FALSE(windows.IsInvalid(state.bar));
    }
    SetProgressRange(windows, state, 0);
    SetProgressPosition(windows, state, 65535);
    AdvanceProgress(windows, state, 2);
    EXPECT_EQ(ReadProgressBarWords(windows, state.bar).position, 1);

    const WindowHandle dialog = state.dialog;
    CloseProgressDisplay(windows, fonts, state, mainWindow);
    EXPECT_TRUE(windows.IsWindowEnabled(mainWindow));
    EXPECT_FALSE(windows.IsWindow(dialog));
    EXPECT_EQ(fonts.LiveCount(), 0u);
    EXPECT_EQ(SetProgressRange(windows, state, 5) + AdvanceProgress(windows, state, 1) +
                  RedrawFileName(windows, state) + ShowTextBar(windows, state),
              0);
}

TEST_F(ProgressDisplayTest, TextBarPaintsItsBackgroundOnceThenLabelAndCurrentFile) {
    state.currentFileName = "TLPRN600.DRV";
    CanvasRecorder& canvas = CanvasOf(state.textBar);
    for (CanvasOp::Kind last : {CanvasOp::Kind::Fill, CanvasOp::Kind::Text}) {
        canvas.ClearOps();
        windows.InvalidateRect(state.textBar, nullptr, TRUE);
        windows.UpdateWindow(state.textBar);
        ASSERT_FALSE(canvas.Ops().empty());
        EXPECT_EQ(canvas.Ops().back().kind, last);
    }
    canvas.ClearOps();
    ASSERT_EQ(RedrawFileName(windows, state), 1);
    const auto& ops = canvas.Ops();
    ASSERT_GE(ops.size(), 3u);
    const CanvasOp& label = ops[ops.size() - 3];
    EXPECT_EQ(label.text, *LookupString(159));
    EXPECT_EQ(label.font, state.boldFont);
    EXPECT_EQ(ops.back().text, "TLPRN600.DRV" + std::string(28, ' '));
    EXPECT_EQ(ops.back().x, 40 + host::MeasureText(fonts.Find(state.boldFont), label.text).cx);
}

} // namespace
} // namespace tl
