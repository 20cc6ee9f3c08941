// The painting port over GDI: a Canvas on a device context (from BeginPaint or GetDC), and the
// font objects the installer makes (CreateFontIndirect), kept by handle so a Canvas can select
// them. Texts are code-page-949 bytes, drawn with the wide calls (TextOutW, ExtTextOutW and
// GetTextExtentPoint32W are among the few wide calls that Windows 95 has too).
#pragma once

#include "platform/canvas.h"
#include "platform/win32/ui/win32_api.h"

#include <cstdint>
#include <map>

namespace tl::win32ui {

class GdiFonts final : public FontPort {
public:
    GdiFonts() = default;
    ~GdiFonts() override;
    GdiFonts(const GdiFonts&) = delete;
    GdiFonts& operator=(const GdiFonts&) = delete;

    // The face is the one asked for when it can show Hangul, else a Korean one.
    FontHandle CreateFont(const LogFont& font) override;
    void DeleteFont(FontHandle font) override;
    HFONT Find(FontHandle font) const; // null for the empty or an unknown handle

private:
    std::map<std::uint32_t, HFONT> fonts_;
    std::uint32_t next_ = 1;
};

class GdiCanvas final : public Canvas {
public:
    // Does not own the device context; puts its original font back when destroyed.
    GdiCanvas(HDC dc, const GdiFonts& fonts);
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    HDC Dc() const { return dc_; }

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

private:
    HDC dc_;
    const GdiFonts& fonts_;
    HGDIOBJ originalFont_;
    FontHandle selected_;
};

} // namespace tl::win32ui
