#include "platform/host/ui/canvas_recorder.h"

#include <algorithm>
#include <utility>

namespace tl::host {

namespace {

// Windows 95's default scheme for the system colours the installer paints with.
constexpr COLORREF kDefaultBtnFace = Rgb(192, 192, 192);

} // namespace

FontHandle FontTable::CreateFont(const LogFont& font) {
    const std::uint32_t id = next_++;
    fonts_.emplace(id, font);
    return FontHandle{id};
}

void FontTable::DeleteFont(FontHandle font) {
    fonts_.erase(font.value);
}

const LogFont* FontTable::Find(FontHandle font) const {
    const auto it = fonts_.find(font.value);
    return it == fonts_.end() ? nullptr : &it->second;
}

Size MeasureText(const LogFont* font, std::string_view text) {
    LONG cellWidth = 8;
    LONG cellHeight = 16;
    if (font != nullptr && font->height != 0) {
        const LONG h = font->height < 0 ? -font->height : font->height;
        cellWidth = h / 2 + (font->weight >= kFwBold ? 1 : 0);
        cellHeight = h + h / 3;
    }
    return Size{cellWidth * static_cast<LONG>(text.size()), cellHeight};
}

CanvasRecorder::CanvasRecorder(LONG width, LONG height, const FontTable* fonts)
    : width_(std::max<LONG>(width, 0)), height_(std::max<LONG>(height, 0)), fonts_(fonts),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), kWhite) {}

void CanvasRecorder::Paint(const Rect& rect, COLORREF colour) {
    const LONG left = std::max<LONG>(rect.left, 0);
    const LONG top = std::max<LONG>(rect.top, 0);
    const LONG right = std::min(rect.right, width_);
    const LONG bottom = std::min(rect.bottom, height_);
    for (LONG y = top; y < bottom; ++y) {
        for (LONG x = left; x < right; ++x) {
            pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                    static_cast<std::size_t>(x)] = colour;
        }
    }
}

void CanvasRecorder::FillRect(const Rect& rect, COLORREF colour) {
    CanvasOp op;
    op.kind = CanvasOp::Kind::Fill;
    op.rect = rect;
    op.colour = colour;
    ops_.push_back(op);
    Paint(rect, colour);
}

void CanvasRecorder::FrameRect(const Rect& rect, COLORREF colour) {
    CanvasOp op;
    op.kind = CanvasOp::Kind::Frame;
    op.rect = rect;
    op.colour = colour;
    ops_.push_back(op);
    if (rect.Empty()) {
        return;
    }
    Paint({rect.left, rect.top, rect.right, rect.top + 1}, colour);
    Paint({rect.left, rect.bottom - 1, rect.right, rect.bottom}, colour);
    Paint({rect.left, rect.top, rect.left + 1, rect.bottom}, colour);
    Paint({rect.right - 1, rect.top, rect.right, rect.bottom}, colour);
}

COLORREF CanvasRecorder::GetSysColor(int index) const {
    return index == kColorBtnFace ? kDefaultBtnFace : kWhite;
}

COLORREF CanvasRecorder::SetTextColor(COLORREF colour) {
    return std::exchange(textColour_, colour);
}

COLORREF CanvasRecorder::SetBkColor(COLORREF colour) {
    return std::exchange(bkColour_, colour);
}

int CanvasRecorder::SetBkMode(int mode) {
    return std::exchange(bkMode_, mode);
}

FontHandle CanvasRecorder::SelectFont(FontHandle font) {
    return std::exchange(font_, font);
}

CanvasOp CanvasRecorder::TextOp(CanvasOp::Kind kind, LONG x, LONG y, std::string_view text) const {
    CanvasOp op;
    op.kind = kind;
    op.x = x;
    op.y = y;
    op.text = std::string(text);
    op.textColour = textColour_;
    op.bkColour = bkColour_;
    op.bkMode = bkMode_;
    op.font = font_;
    return op;
}

void CanvasRecorder::TextOut(LONG x, LONG y, std::string_view text) {
    ops_.push_back(TextOp(CanvasOp::Kind::Text, x, y, text));
    if (bkMode_ == kOpaque) {
        const Size extent = GetTextExtent(text);
        Paint({x, y, x + extent.cx, y + extent.cy}, bkColour_);
    }
}

void CanvasRecorder::ExtTextOut(LONG x, LONG y, UINT options, const Rect& clip,
                                std::string_view text) {
    CanvasOp op = TextOp(CanvasOp::Kind::ExtText, x, y, text);
    op.rect = clip;
    op.options = options;
    ops_.push_back(op);
    if ((options & kEtoOpaque) != 0) {
        Paint(clip, bkColour_);
    }
}

Size CanvasRecorder::GetTextExtent(std::string_view text) {
    return MeasureText(fonts_ == nullptr ? nullptr : fonts_->Find(font_), text);
}

void CanvasRecorder::BitBlt(LONG x, LONG y, LONG w, LONG h, const Bitmap& source, LONG sx, LONG sy,
                            DWORD rop) {
    CanvasOp op;
    op.kind = CanvasOp::Kind::Blit;
    op.rect = {x, y, x + w, y + h};
    op.x = sx;
    op.y = sy;
    op.rop = rop;
    ops_.push_back(op);
    for (LONG row = 0; row < h; ++row) {
        for (LONG column = 0; column < w; ++column) {
            const LONG tx = x + column;
            const LONG ty = y + row;
            if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) {
                continue;
            }
            COLORREF& target =
                pixels_[static_cast<std::size_t>(ty) * static_cast<std::size_t>(width_) +
                        static_cast<std::size_t>(tx)];
            const COLORREF src = source.At(sx + column, sy + row);
            switch (rop) {
            case kSrcAnd:
                target &= src;
                break;
            case kMergePaint:
                target = (target | ~src) & 0x00FFFFFFu;
                break;
            default:
                target = src;
                break;
            }
        }
    }
}

COLORREF CanvasRecorder::Pixel(LONG x, LONG y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return kBlack;
    }
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

} // namespace tl::host
