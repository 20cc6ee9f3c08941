#include "copy/progress_paint.h"
#include "platform/host/ui/canvas_recorder.h"

#include <gtest/gtest.h>

#include <utility>

namespace tl {
namespace {

using host::CanvasOp;
using host::CanvasRecorder;

constexpr COLORREF kBlue = Rgb(0, 0, 255);

// A 200 x 20 bar painted at range/position: its two text pieces (blue on the left, white on the
// right of the split) and the canvas.
struct BarPicture {
    host::FontTable fonts;
    FontHandle bold = fonts.CreateFont(ProgressFont());
    CanvasRecorder canvas{200, 20, &fonts};
    std::vector<CanvasOp> texts;

    BarPicture(WORD range, WORD position) {
        PaintProgressBar(canvas, {0, 0, 200, 20}, range, position, bold, ProgressColours{});
        for (const CanvasOp& op : canvas.Ops()) {
            if (op.kind == CanvasOp::Kind::ExtText)
                texts.push_back(op);
        }
    }
};

TEST(ProgressBar, HalfWaySplitsBlueAndWhiteUnderCentredText) {
    const BarPicture bar(100, 50);
    // Inner rectangle (1, 1, 199, 19): split at 199 * 50 / 100 + 1 = 100.
    ASSERT_EQ(bar.texts.size(), 2u);
    EXPECT_EQ(bar.texts[0].rect, (Rect{1, 1, 100, 19}));
    EXPECT_EQ(bar.texts[1].rect, (Rect{100, 1, 199, 19}));
    EXPECT_EQ(std::pair(bar.texts[0].bkColour, bar.texts[0].textColour), std::pair(kBlue, kWhite));
    EXPECT_EQ(std::pair(bar.texts[1].bkColour, bar.texts[1].textColour), std::pair(kWhite, kBlue));
    for (const CanvasOp& text : bar.texts) {
        EXPECT_EQ(text.text, " 50%");
        EXPECT_EQ(text.options, kEtoClipped | kEtoOpaque);
        EXPECT_EQ(text.font, bar.bold);
        // 4 bold cells of 7 pixels centred on the inner right edge: (199 - 28) / 2.
        EXPECT_EQ(std::pair(text.x, text.y), std::pair(85, (19 - 16) / 2));
    }
    EXPECT_EQ(bar.canvas.Pixel(0, 10), kBlack); // the frame
    EXPECT_EQ(bar.canvas.Pixel(199, 10), kBlack);
    EXPECT_EQ(bar.canvas.Font(), FontHandle{}); // the previous font is back
}

TEST(ProgressBar, EndsAndOverrunsStayInsideTheBar) {
    const struct {
        WORD range;
        WORD position;
        const char* text;
        LONG split;
    } cases[] = {
        {100, 0, "  0%", 1},     // nothing filled
        {100, 100, "100%", 199}, // full
        {100, 110, "110%", 199}, // more advances than the range
        {0, 3, "300%", 199},     // range 0 counts as 1
        {1, 12, "1200", 199},    // only 4 characters are drawn
        {3, 1, " 33%", 67},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const BarPicture bar(c.range, c.position);
        ASSERT_EQ(bar.texts.size(), 2u);
        EXPECT_EQ(bar.texts[0].text, c.text);
        EXPECT_EQ(bar.texts[0].rect.right, c.split);
        EXPECT_EQ(bar.texts[1].rect.left, c.split);
        EXPECT_EQ(bar.canvas.Pixel(198, 10), c.split == 199 ? kBlue : kWhite);
        EXPECT_EQ(bar.canvas.Pixel(1, 10), c.split == 1 ? kWhite : kBlue);
    }
    // A bar without an inside gets only its frame.
    CanvasRecorder tiny(10, 10);
    PaintProgressBar(tiny, {0, 0, 2, 2}, 100, 50, FontHandle{}, ProgressColours{});
    ASSERT_EQ(tiny.Ops().size(), 1u);
    EXPECT_EQ(tiny.Ops()[0].kind, CanvasOp::Kind::Frame);
}

TEST(TextBar, LongNamesShowFortyColumnsWithoutSplittingACharacter) {
    EXPECT_EQ(FileNameColumns(std::string(45, 'A')), std::string(40, 'A'));
    // 39 single bytes then a double-byte character: it would straddle the 40th column.
    EXPECT_EQ(FileNameColumns(std::string(39, 'B') + "\xB0\xA1" + "C"), std::string(39, 'B') + " ");
    EXPECT_EQ(FileNameColumns(std::string(38, 'B') + "\xB0\xA1" + "C"),
              std::string(38, 'B') + "\xB0\xA1");
}

TEST(Going, ControlsLaidOutOnTheClientArea) {
    const GoingLayout layout = ComputeGoingLayout({0, 0, 200, 100});
    EXPECT_EQ(layout.bar, (Rect{20, 43, 180, 63}));
    EXPECT_EQ(layout.textBar, (Rect{0, 0, 200, 33}));
}

} // namespace
} // namespace tl
