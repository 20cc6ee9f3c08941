#include "copy/progress_paint.h"

#include "text/ansi_text.h"

#include <cstdio>

namespace tl {

namespace {

constexpr LONG kLabelLeft = 40;
constexpr LONG kLabelTop = 20;

} // namespace

LogFont ProgressFont() {
    LogFont font;
    font.height = -12;
    font.weight = kFwBold;
    font.pitchAndFamily = 18; // VARIABLE_PITCH | FF_SWISS
    font.faceName = "MS Sans Serif";
    return font;
}

LONG ProgressSplitPoint(const Rect& inner, WORD range, WORD position) {
    const DWORD divisor = range == 0 ? 1 : range;
    const DWORD right = inner.right < 0 ? 0 : static_cast<DWORD>(inner.right);
    const auto scaled = static_cast<WORD>(right * position / divisor);
    LONG split = static_cast<LONG>(scaled) + 1;
    if (split > inner.right) {
        split = inner.right;
    }
    if (split < inner.left) {
        split = inner.left;
    }
    return split;
}

std::string ProgressPercentText(WORD range, WORD position) {
    const DWORD divisor = range == 0 ? 1 : range;
    const auto percent = static_cast<WORD>(static_cast<DWORD>(position) * 100 / divisor);
    char text[16] = {};
    std::snprintf(text, sizeof text, "%3d%%", static_cast<int>(percent));
    return std::string(text).substr(0, 4);
}

void PaintProgressBar(Canvas& canvas, const Rect& client, WORD range, WORD position,
                      FontHandle font, const ProgressColours& colours) {
    canvas.FrameRect(client, kBlack);
    const Rect inner{client.left + 1, client.top + 1, client.right - 1, client.bottom - 1};
    if (inner.Empty()) {
        return;
    }
    const LONG split = ProgressSplitPoint(inner, range, position);
    const Rect done{inner.left, inner.top, split, inner.bottom};
    const Rect toDo{split, inner.top, inner.right, inner.bottom};
    const std::string text = ProgressPercentText(range, position);

    const FontHandle oldFont = canvas.SelectFont(font);
    const Size extent = canvas.GetTextExtent(text);
    const LONG x = (inner.right - extent.cx) / 2;
    const LONG y = (inner.bottom - extent.cy) / 2;

    canvas.SetBkColor(colours.fill);
    canvas.SetTextColor(colours.paper);
    canvas.ExtTextOut(x, y, kEtoClipped | kEtoOpaque, done, text);
    canvas.SetBkColor(colours.paper);
    canvas.SetTextColor(colours.fill);
    canvas.ExtTextOut(x, y, kEtoClipped | kEtoOpaque, toDo, text);
    canvas.SelectFont(oldFont);
}

std::string FileNameColumns(std::string_view fileName) {
    std::string shown = text::TruncateAnsi(fileName, kFileNameColumns);
    shown.resize(kFileNameColumns, ' ');
    return shown;
}

void DrawTextBarLine(Canvas& canvas, std::string_view label, std::string_view fileName,
                     FontHandle font) {
    canvas.SetBkMode(kTransparent);
    const FontHandle oldFont = canvas.SelectFont(font);
    canvas.TextOut(kLabelLeft, kLabelTop, label);
    const Size labelSize = canvas.GetTextExtent(label);

    const std::string shown = FileNameColumns(fileName);
    const Size nameSize = canvas.GetTextExtent(shown);
    const LONG nameLeft = kLabelLeft + labelSize.cx;
    canvas.FillRect({nameLeft, kLabelTop, nameLeft + nameSize.cx, kLabelTop + labelSize.cy},
                    canvas.GetSysColor(kColorBtnFace));
    canvas.TextOut(nameLeft, kLabelTop, shown);
    canvas.SelectFont(oldFont);
}

GoingLayout ComputeGoingLayout(const Rect& client) {
    const LONG l = client.left;
    const LONG t = client.top;
    const LONG r = client.right;
    const LONG b = client.bottom;
    const LONG width = (r - l) * 4 / 5;
    const LONG height = (b - t) / 5;
    const LONG x = (r - width + l) / 2;
    const LONG y = ((t - height + b) / 3) * 5 / 3;
    GoingLayout layout;
    layout.bar = {x, y, x + width, y + height};
    layout.textBar = {0, 0, r - l, (b - t) / 3};
    return layout;
}

} // namespace tl
