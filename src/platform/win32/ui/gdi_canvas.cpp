#include "platform/win32/ui/gdi_canvas.h"

#include "platform/win32/ui/hangul_font.h"
#include "platform/win32/ui/wide_text.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace tl::win32ui {
namespace {

int Length(const std::wstring& text) {
    return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
}

// A white 32-bit picture at least as large as the copied area, with the bitmap in its top-left
// corner: what the copy reads beyond the bitmap is white, so SRCAND and MERGEPAINT leave the
// destination alone there.
HBITMAP MakeSourceBitmap(HDC dc, const Bitmap& source, LONG width, LONG height,
                         std::uint32_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap || !pixels)
        return bitmap;
    *bits = static_cast<std::uint32_t*>(pixels);
    for (LONG y = 0; y < height; ++y) {
        for (LONG x = 0; x < width; ++x) {
            const COLORREF colour = source.At(x, y);
            // DIB pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
            (*bits)[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)] =
                (static_cast<std::uint32_t>(RedOf(colour)) << 16) |
                (static_cast<std::uint32_t>(GreenOf(colour)) << 8) | BlueOf(colour);
        }
    }
    return bitmap;
}

} // namespace

GdiFonts::~GdiFonts() {
    for (auto& [handle, font] : fonts_)
        DeleteObject(font);
}

FontHandle GdiFonts::CreateFont(const LogFont& font) {
    // The ANSI form, which Windows 95 has too; face names are ASCII.
    LOGFONTA wanted{};
    wanted.lfHeight = font.height;
    wanted.lfWeight = font.weight;
    wanted.lfPitchAndFamily = font.pitchAndFamily;
    std::string face = HangulFace(font.faceName);
    if (face != font.faceName)
        wanted.lfCharSet = kHangulCharset;
    std::memcpy(wanted.lfFaceName, face.data(), std::min<std::size_t>(face.size(), 31));
    HFONT made = CreateFontIndirectA(&wanted);
    if (!made)
        return {};
    FontHandle handle{next_++};
    fonts_[handle.value] = made;
    return handle;
}

void GdiFonts::DeleteFont(FontHandle font) {
    auto found = fonts_.find(font.value);
    if (found == fonts_.end())
        return;
    DeleteObject(found->second);
    fonts_.erase(found);
}

HFONT GdiFonts::Find(FontHandle font) const {
    auto found = fonts_.find(font.value);
    return found == fonts_.end() ? nullptr : found->second;
}

GdiCanvas::GdiCanvas(HDC dc, const GdiFonts& fonts)
    : dc_(dc), fonts_(fonts), originalFont_(GetCurrentObject(dc, OBJ_FONT)) {}

GdiCanvas::~GdiCanvas() {
    if (selected_ && originalFont_)
        SelectObject(dc_, originalFont_);
}

void GdiCanvas::FillRect(const Rect& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    ::RECT area = ToRECT(rect);
    ::FillRect(dc_, &area, brush);
    DeleteObject(brush);
}

void GdiCanvas::FrameRect(const Rect& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    ::RECT area = ToRECT(rect);
    ::FrameRect(dc_, &area, brush);
    DeleteObject(brush);
}

COLORREF GdiCanvas::GetSysColor(int index) const {
    return static_cast<COLORREF>(::GetSysColor(index));
}

COLORREF GdiCanvas::SetTextColor(COLORREF colour) {
    return static_cast<COLORREF>(::SetTextColor(dc_, colour));
}

COLORREF GdiCanvas::SetBkColor(COLORREF colour) {
    return static_cast<COLORREF>(::SetBkColor(dc_, colour));
}

int GdiCanvas::SetBkMode(int mode) {
    return ::SetBkMode(dc_, mode);
}

FontHandle GdiCanvas::SelectFont(FontHandle font) {
    HGDIOBJ object = font ? fonts_.Find(font) : originalFont_;
    if (!object)
        return selected_; // an unknown font leaves the selection as it is
    SelectObject(dc_, object);
    FontHandle previous = selected_;
    selected_ = font;
    return previous;
}

void GdiCanvas::TextOut(LONG x, LONG y, std::string_view text) {
    std::wstring wide = AnsiToWide(text);
    ::TextOutW(dc_, x, y, wide.c_str(), Length(wide));
}

void GdiCanvas::ExtTextOut(LONG x, LONG y, UINT options, const Rect& clip, std::string_view text) {
    std::wstring wide = AnsiToWide(text);
    ::RECT area = ToRECT(clip);
    ::ExtTextOutW(dc_, x, y, options, &area, wide.c_str(), static_cast<UINT>(Length(wide)),
                  nullptr);
}

Size GdiCanvas::GetTextExtent(std::string_view text) {
    std::wstring wide = AnsiToWide(text);
    SIZE size{};
    ::GetTextExtentPoint32W(dc_, wide.c_str(), Length(wide), &size);
    return Size{static_cast<LONG>(size.cx), static_cast<LONG>(size.cy)};
}

void GdiCanvas::BitBlt(LONG x, LONG y, LONG w, LONG h, const Bitmap& source, LONG sx, LONG sy,
                       DWORD rop) {
    if (w <= 0 || h <= 0 || sx < 0 || sy < 0)
        return;
    const LONG width = std::max(source.width, sx + w);
    const LONG height = std::max(source.height, sy + h);
    HDC memory = CreateCompatibleDC(dc_);
    if (!memory)
        return;
    std::uint32_t* bits = nullptr;
    HBITMAP picture = MakeSourceBitmap(dc_, source, width, height, &bits);
    if (picture) {
        HGDIOBJ previous = SelectObject(memory, picture);
        ::BitBlt(dc_, x, y, w, h, memory, sx, sy, rop);
        SelectObject(memory, previous);
        DeleteObject(picture);
    }
    DeleteDC(memory);
}

} // namespace tl::win32ui
