#include "sequencer/face.h"

#include "resources/bitmap500.h"

namespace tl {

namespace {

constexpr LONG kArtworkWidth = 638;
constexpr LONG kCopyWidth = 519; // a little wider and taller than the bitmap: the margin is white
constexpr LONG kCopyHeight = 102;
constexpr LONG kShadowOffset = 5;

} // namespace

FaceLayout ComputeFaceLayout(LONG width, LONG height) {
    FaceLayout layout;
    layout.bandHeight = (height / 255) * 2 + 2;
    layout.startBlue = (height / layout.bandHeight) * 2;
    layout.bitmapTop = height <= 480 ? 15 : 44;
    const LONG centre = (width - kArtworkWidth) / 2;
    layout.artworkLeft = centre + 70;
    layout.highlightLeft = layout.artworkLeft - kShadowOffset;
    layout.versionLeft = centre + 520;
    layout.versionTop = 120;
    return layout;
}

void PaintFace(Canvas& canvas, LONG width, LONG height, const FaceState& state) {
    const FaceLayout layout = ComputeFaceLayout(width, height);

    LONG blue = layout.startBlue;
    for (LONG top = 0; blue >= 0 && top <= height; top += layout.bandHeight, blue -= 2) {
        canvas.FillRect({0, top, width, top + layout.bandHeight},
                        Rgb(0, 0, static_cast<BYTE>(blue)));
    }

    const COLORREF oldText = canvas.SetTextColor(kWhite);
    const int oldMode = canvas.SetBkMode(kTransparent);
    const COLORREF oldBk = canvas.SetBkColor(kBlack);
    if (state.versionText) {
        canvas.TextOut(layout.versionLeft, layout.versionTop, kVersionText);
    }
    canvas.SetBkColor(oldBk);
    canvas.SetBkMode(oldMode);
    canvas.SetTextColor(oldText);

    // The dark artwork first darkens the gradient (AND), then the same picture 5 pixels up and
    // left turns it white (OR with the inverse): white letters with a black shadow.
    const Bitmap& title = TitleBitmap();
    canvas.BitBlt(layout.artworkLeft, layout.bitmapTop, kCopyWidth, kCopyHeight, title, 0, 0,
                  kSrcAnd);
    canvas.BitBlt(layout.highlightLeft, layout.bitmapTop - kShadowOffset, kCopyWidth, kCopyHeight,
                  title, 0, 0, kMergePaint);
}

} // namespace tl
