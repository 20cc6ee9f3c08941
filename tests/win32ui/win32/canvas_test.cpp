// The GDI canvas on a memory picture: frames, the title bitmap's two copies with a white margin,
// clipped opaque text, and the fonts it selects.
#include "win32ui_fixture.h"

#include "platform/win32/ui/gdi_canvas.h"

namespace tl::win32ui::test {
namespace {

class CanvasTest : public Win32UiTest {
protected:
    CanvasTest() {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kSide;
        info.bmiHeader.biHeight = -kSide;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        picture = CreateDIBSection(dc, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
        previous = SelectObject(dc, picture);
        canvas = std::make_unique<GdiCanvas>(dc, windows.Fonts());
        canvas->FillRect(Rect{0, 0, kSide, kSide}, Grey);
    }
    ~CanvasTest() override {
        canvas.reset();
        SelectObject(dc, previous);
        DeleteObject(picture);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }

    static constexpr int kSide = 64;
    static constexpr COLORREF Grey = Rgb(0x40, 0x40, 0x40);
    HDC dc = nullptr;
    HBITMAP picture = nullptr;
    HGDIOBJ previous = nullptr;
    std::unique_ptr<GdiCanvas> canvas;
};

TEST_F(CanvasTest, TheBitmapCopiesMakeArtworkWhiteOverABlackShadowAndLeaveTheMarginAlone) {
    // A 4 x 4 picture: black in its top-left 2 x 2, white elsewhere; the copy takes 8 x 8.
    Bitmap artwork;
    artwork.width = 4;
    artwork.height = 4;
    artwork.palette = {kBlack, kWhite};
    artwork.pixels.assign(16, 1);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            artwork.pixels[static_cast<std::size_t>(y * 4 + x)] = 0;
    canvas->FrameRect(Rect{30, 30, 40, 40}, kWhite);
    canvas->BitBlt(20, 20, 8, 8, artwork, 0, 0, kSrcAnd);
    canvas->BitBlt(15, 15, 8, 8, artwork, 0, 0, kMergePaint);
    EXPECT_EQ(At(15, 15), kWhite); // MERGEPAINT: NOT black is white
    EXPECT_EQ(At(21, 21), kBlack); // SRCAND of black, not covered by the white copy
    EXPECT_EQ(At(25, 25), Grey);   // white and the margin leave the background
    EXPECT_EQ(At(27, 21), Grey);
    EXPECT_EQ(At(18, 18), Grey);
    EXPECT_EQ(At(39, 35), kWhite);
    EXPECT_EQ(At(35, 35), Grey); // a frame leaves the inside alone
    EXPECT_EQ(At(40, 35), Grey);
}

TEST_F(CanvasTest, OpaqueClippedTextPaintsOnlyInsideItsClip) {
    HFONT fontBefore = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
    LogFont bold;
    bold.height = -12;
    bold.weight = kFwBold;
    bold.pitchAndFamily = 18;
    bold.faceName = "MS Sans Serif";
    FontHandle font = windows.Fonts().CreateFont(bold);
    ASSERT_TRUE(font);
    EXPECT_FALSE(canvas->SelectFont(font));
    canvas->SetBkColor(Rgb(0, 0, 255));
    canvas->SetTextColor(kWhite);
    canvas->ExtTextOut(2, 2, kEtoOpaque | kEtoClipped, Rect{0, 0, 30, 20}, " 50%");
    EXPECT_EQ(At(1, 19), Rgb(0, 0, 255));
    EXPECT_EQ(At(30, 5), Grey);
    EXPECT_EQ(At(5, 20), Grey);
    // A Korean label has a width in the chosen face.
    Size label = canvas->GetTextExtent(Ansi("복사 중..."));
    EXPECT_GT(label.cx, 20);
    EXPECT_GT(label.cy, 8);
    EXPECT_EQ(canvas->SelectFont({}), font);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), fontBefore);
    windows.Fonts().DeleteFont(font);
    EXPECT_FALSE(windows.Fonts().Find(font));
}

} // namespace
} // namespace tl::win32ui::test
