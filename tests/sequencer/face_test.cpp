#include "platform/host/ui/canvas_recorder.h"
#include "resources/bitmap500.h"
#include "sequencer/face.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace tl {
namespace {

using host::CanvasOp;
using host::CanvasRecorder;

std::vector<const CanvasOp*> OpsOfKind(const CanvasRecorder& canvas, CanvasOp::Kind kind) {
    std::vector<const CanvasOp*> found;
    for (const CanvasOp& op : canvas.Ops())
        if (op.kind == kind)
            found.push_back(&op);
    return found;
}

// Bands of 4 (8 on large screens) from a start level, each next one 2 darker, down to black; the
// last band covers the bottom edge. The title sits lower on screens taller than 480.
TEST(Face, GradientBandsRunFromStartLevelDownToBlack) {
    const struct {
        LONG width, height, band, blue;
        std::size_t bands;
        LONG lastTop, bitmapTop;
    } cases[] = {{640, 480, 4, 240, 121, 480, 15},
                 {640, 481, 4, 240, 121, 480, 44},
                 {1024, 768, 8, 192, 97, 768, 44}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        EXPECT_EQ(ComputeFaceLayout(c.width, c.height).bitmapTop, c.bitmapTop);
        CanvasRecorder canvas(c.width, c.height);
        PaintFace(canvas, c.width, c.height, FaceState{});
        EXPECT_TRUE(OpsOfKind(canvas, CanvasOp::Kind::Text).empty()); // no version text
        const auto fills = OpsOfKind(canvas, CanvasOp::Kind::Fill);
        ASSERT_EQ(fills.size(), c.bands);
        for (std::size_t i = 0; i < fills.size(); ++i) {
            EXPECT_EQ(fills[i]->rect, (Rect{0, static_cast<LONG>(i) * c.band, c.width,
                                            static_cast<LONG>(i + 1) * c.band}));
            EXPECT_EQ(fills[i]->colour, Rgb(0, 0, static_cast<BYTE>(c.blue - 2 * LONG(i))));
        }
        EXPECT_EQ(fills.back()->rect.top, c.lastTop);
        EXPECT_GE(fills.back()->rect.bottom, c.height);
        EXPECT_EQ(canvas.Pixel(0, c.height - 1),
                  Rgb(0, 0, static_cast<BYTE>(c.blue - 2 * ((c.height - 1) / c.band))));
    }
}

TEST(Face, VersionTextOnlyWithFlagAndStateRestored) {
    CanvasRecorder with(800, 600);
    PaintFace(with, 800, 600, FaceState{true});
    const auto texts = OpsOfKind(with, CanvasOp::Kind::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->text, "Version 3.28");
    EXPECT_EQ(texts[0]->x, (800 - 638) / 2 + 520);
    EXPECT_EQ(texts[0]->y, 120);
    EXPECT_EQ(texts[0]->textColour, kWhite);
    EXPECT_EQ(texts[0]->bkMode, kTransparent);
    EXPECT_EQ(with.TextColour(), kBlack);
    EXPECT_EQ(with.BkColour(), kWhite);
    EXPECT_EQ(with.BkMode(), kOpaque);
}

TEST(Face, ArtworkShowsWhiteLettersWithBlackShadow) {
    const Bitmap& title = TitleBitmap();
    ASSERT_EQ(title.width, 500);
    ASSERT_EQ(title.height, 100);
    // Find one ink pixel whose neighbour 5 to the right and below is paper.
    LONG inkX = -1, inkY = -1;
    for (LONG y = 0; y < title.height && inkX < 0; ++y) {
        for (LONG x = 0; x < title.width; ++x) {
            if (title.At(x, y) == kBlack && title.At(x + 5, y + 5) == kWhite &&
                title.At(x - 5, y - 5) == kWhite) {
                inkX = x;
                inkY = y;
                break;
            }
        }
    }
    ASSERT_GE(inkX, 0);
    CanvasRecorder canvas(800, 600);
    PaintFace(canvas, 800, 600, FaceState{});
    const FaceLayout layout = ComputeFaceLayout(800, 600);
    const LONG highlightX = layout.highlightLeft + inkX;
    const LONG highlightY = layout.bitmapTop - 5 + inkY;
    EXPECT_EQ(canvas.Pixel(highlightX, highlightY), kWhite);
    EXPECT_EQ(canvas.Pixel(highlightX + 5, highlightY + 5), kBlack);
    // Paper leaves the gradient visible (the corner of the copied area is paper).
    EXPECT_EQ(canvas.Pixel(layout.artworkLeft + 1, layout.bitmapTop + 1),
              canvas.Pixel(0, layout.bitmapTop + 1));
}

TEST(TitleBitmap, CheckedInBmpMatchesThePicture) {
    const std::vector<BYTE> encoded = EncodeBmp16(TitleBitmap());
    // 4 bits a pixel: 500 pixels make 250 bytes, padded to 252, for 100 rows.
    ASSERT_EQ(encoded.size(), 14u + 40u + 64u + 252u * 100u);
    EXPECT_EQ(encoded[0], 'B');
    EXPECT_EQ(encoded[28], 4); // bits per pixel
    std::ifstream file(TL_SOURCE_DIR "/src/resources/bitmap500.bmp", std::ios::binary);
    ASSERT_TRUE(file) << "src/resources/bitmap500.bmp is missing";
    const std::vector<BYTE> onDisk{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(onDisk, encoded) << "regenerate the .bmp from TitleBitmap()";
}

} // namespace
} // namespace tl
