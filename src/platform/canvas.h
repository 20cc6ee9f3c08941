// Port: painting on a device context, shaped like the GDI calls the installer makes (FillRect,
// FrameRect, SetTextColor, SetBkColor, SetBkMode, SelectObject of a font, TextOutA, ExtTextOutA,
// GetTextExtentPoint32A, BitBlt from a memory DC holding a bitmap). GDI implements it on Windows;
// the host records the calls and keeps a pixel surface so painting can be checked.
#pragma once

#include "platform/rect.h"
#include "platform/win_types.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

using COLORREF = DWORD;

constexpr COLORREF Rgb(BYTE red, BYTE green, BYTE blue) {
    return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) |
           (static_cast<COLORREF>(blue) << 16);
}
constexpr BYTE RedOf(COLORREF colour) {
    return static_cast<BYTE>(colour & 0xFF);
}
constexpr BYTE GreenOf(COLORREF colour) {
    return static_cast<BYTE>((colour >> 8) & 0xFF);
}
constexpr BYTE BlueOf(COLORREF colour) {
    return static_cast<BYTE>((colour >> 16) & 0xFF);
}

inline constexpr COLORREF kBlack = Rgb(0, 0, 0);
inline constexpr COLORREF kWhite = Rgb(255, 255, 255);

// BitBlt raster operations.
inline constexpr DWORD kSrcCopy = 0x00CC0020;
inline constexpr DWORD kSrcAnd = 0x008800C6;     // destination AND source
inline constexpr DWORD kMergePaint = 0x00BB0226; // destination OR (NOT source)

// SetBkMode
inline constexpr int kTransparent = 1;
inline constexpr int kOpaque = 2;

// ExtTextOutA options
inline constexpr UINT kEtoOpaque = 0x0002;
inline constexpr UINT kEtoClipped = 0x0004;

// GetSysColor indexes
inline constexpr int kColorWindow = 5;
inline constexpr int kColorBtnFace = 15;

// CreateFontIndirectA, as far as the installer fills it in.
inline constexpr LONG kFwBold = 700;
struct LogFont {
    LONG height = 0; // negative: character height in pixels
    LONG weight = 0;
    BYTE pitchAndFamily = 0;
    std::string faceName;
    friend bool operator==(const LogFont&, const LogFont&) = default;
};

// A font object. The empty handle stands for the device context's default font.
struct FontHandle {
    std::uint32_t value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(FontHandle, FontHandle) = default;
};

// A device-independent picture: one palette index a pixel, rows from top to bottom.
struct Bitmap {
    LONG width = 0;
    LONG height = 0;
    std::vector<COLORREF> palette;
    std::vector<BYTE> pixels;
    // The colour at (x, y); white outside the picture or for an index without palette entry.
    COLORREF At(LONG x, LONG y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) {
            return kWhite;
        }
        const auto offset = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                            static_cast<std::size_t>(x);
        if (offset >= pixels.size() || pixels[offset] >= palette.size()) {
            return kWhite;
        }
        return palette[pixels[offset]];
    }
};

// Font objects live beside the device contexts that select them (CreateFontIndirectA,
// DeleteObject).
class FontPort {
public:
    virtual ~FontPort() = default;
    virtual FontHandle CreateFont(const LogFont& font) = 0;
    virtual void DeleteFont(FontHandle font) = 0;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    // FillRect with a solid brush of that colour (made for the call and deleted after it).
    virtual void FillRect(const Rect& rect, COLORREF colour) = 0;
    // FrameRect: a one-pixel border inside the rectangle.
    virtual void FrameRect(const Rect& rect, COLORREF colour) = 0;
    virtual COLORREF GetSysColor(int index) const = 0;

    // Each setter returns the previous value, as GDI does.
    virtual COLORREF SetTextColor(COLORREF colour) = 0;
    virtual COLORREF SetBkColor(COLORREF colour) = 0;
    virtual int SetBkMode(int mode) = 0;
    virtual FontHandle SelectFont(FontHandle font) = 0;

    // Texts are ANSI bytes (code page 949).
    virtual void TextOut(LONG x, LONG y, std::string_view text) = 0;
    virtual void ExtTextOut(LONG x, LONG y, UINT options, const Rect& clip,
                            std::string_view text) = 0;
    virtual Size GetTextExtent(std::string_view text) = 0;

    // BitBlt of a w x h area of the bitmap from (sx, sy) to (x, y). Source pixels outside the
    // bitmap read as white, so a copied margin leaves SRCAND and MERGEPAINT without effect.
    virtual void BitBlt(LONG x, LONG y, LONG w, LONG h, const Bitmap& source, LONG sx, LONG sy,
                        DWORD rop) = 0;
};

} // namespace tl
