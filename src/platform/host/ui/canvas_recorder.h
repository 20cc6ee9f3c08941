// The host's device context: records every painting call in order and keeps a pixel surface for
// the calls that GDI would fill (rectangles, frames, opaque text backgrounds, bitmaps), so tests
// and the transcript-free host can check what a window shows. Glyphs are not rasterised.
#pragma once

#include "platform/canvas.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tl::host {

// Font objects of the simulated screen, with the simple metrics that the host uses for them.
class FontTable : public FontPort {
public:
    FontHandle CreateFont(const LogFont& font) override;
    void DeleteFont(FontHandle font) override;
    // The font behind a live handle, or nullptr (the empty handle, unknown or deleted ones).
    const LogFont* Find(FontHandle font) const;
    std::size_t LiveCount() const { return fonts_.size(); }

private:
    std::map<std::uint32_t, LogFont> fonts_;
    std::uint32_t next_ = 1;
};

// Host text metrics: every byte of a text is one cell of the font's average width. The default
// (system) font has 8 x 16 pixel cells; a created font of character height h has cells h / 2
// wide (one more when bold) and h + h / 3 high.
Size MeasureText(const LogFont* font, std::string_view text);

struct CanvasOp {
    enum class Kind { Fill, Frame, Text, ExtText, Blit };
    Kind kind = Kind::Fill;
    Rect rect;           // Fill and Frame: the rectangle; ExtText: the clip; Blit: the target
    COLORREF colour = 0; // Fill and Frame
    LONG x = 0;          // Text, ExtText: the origin; Blit: the source origin
    LONG y = 0;
    std::string text;        // Text, ExtText
    UINT options = 0;        // ExtText
    COLORREF textColour = 0; // Text, ExtText: the state they were drawn with
    COLORREF bkColour = 0;
    int bkMode = 0;
    FontHandle font;
    DWORD rop = 0; // Blit
};

class CanvasRecorder : public Canvas {
public:
    // A surface of width x height pixels, white at first. Fonts are looked up in the table for
    // their metrics (without one, every font measures as the default font).
    CanvasRecorder(LONG width, LONG height, const FontTable* fonts = nullptr);

    void FillRect(const Rect& rect, COLORREF colour) override;
    void FrameRect(const Rect& rect, COLORREF colour) override;
    COLORREF GetSysColor(int index) const override;
    COLORREF SetTextColor(COLORREF colour) override;
    COLORREF SetBkColor(COLORREF colour) override;
    int SetBkMode(int mode) override;
    FontHandle SelectFont(FontHandle font) override;
    void TextOut(LONG x, LONG y, std::string_view text) override;
    void ExtTextOut(LONG x, LONG y, UINT options, const Rect& clip, std::string_view text) override;
    Size GetTextExtent(std::string_view text) override;
    void BitBlt(LONG x, LONG y, LONG w, LONG h, const Bitmap& source, LONG sx, LONG sy,
                DWORD rop) override;

    const std::vector<CanvasOp>& Ops() const { return ops_; }
    void ClearOps() { ops_.clear(); }
    // The pixel at (x, y); black outside the surface.
    COLORREF Pixel(LONG x, LONG y) const;
    LONG Width() const { return width_; }
    LONG Height() const { return height_; }
    COLORREF TextColour() const { return textColour_; }
    COLORREF BkColour() const { return bkColour_; }
    int BkMode() const { return bkMode_; }
    FontHandle Font() const { return font_; }

private:
    void Paint(const Rect& rect, COLORREF colour);
    CanvasOp TextOp(CanvasOp::Kind kind, LONG x, LONG y, std::string_view text) const;

    LONG width_;
    LONG height_;
    const FontTable* fonts_;
    std::vector<COLORREF> pixels_;
    std::vector<CanvasOp> ops_;
    COLORREF textColour_ = kBlack;
    COLORREF bkColour_ = kWhite;
    int bkMode_ = kOpaque;
    FontHandle font_;
};

} // namespace tl::host
