// Painting and layout of the progress display: the "probar" bar with its centred percentage and
// the "text" bar's "Copying..." line. Pure functions of the control's state and a Canvas, so the
// window procedures stay small and the pictures can be checked on the host.
#pragma once

#include "platform/canvas.h"
#include "state/progress_state.h"

#include <string>
#include <string_view>

namespace tl {

// The bold font both controls draw with.
LogFont ProgressFont();

// The right edge of the blue part inside the bar's inner rectangle: 16-bit arithmetic as the
// bar's window words hold it, plus one, never beyond the inner right edge. A range of 0 counts
// as 1.
LONG ProgressSplitPoint(const Rect& inner, WORD range, WORD position);

// The percentage as drawn: "%3d%%" of position * 100 / range (16 bits), cut to 4 characters.
std::string ProgressPercentText(WORD range, WORD position);

// WM_PAINT of the bar on a client rectangle: a black frame, then the percentage twice, each time
// clipped to one part with an opaque background, so the blue part grows under a centred text that
// is white over blue and blue over white.
void PaintProgressBar(Canvas& canvas, const Rect& client, WORD range, WORD position,
                      FontHandle font, const ProgressColours& colours);

inline constexpr std::size_t kFileNameColumns = 40;

// The text bar's line: the label at (40, 20), then the file name padded with blanks to 40
// characters over a button-face background that erases the previous, longer name.
void DrawTextBarLine(Canvas& canvas, std::string_view label, std::string_view fileName,
                     FontHandle font);

// The first 40 bytes of the name padded with blanks, without splitting a double-byte character.
std::string FileNameColumns(std::string_view fileName);

// Where COPYING puts its two controls on its client rectangle.
struct GoingLayout {
    Rect bar;
    Rect textBar;
};
GoingLayout ComputeGoingLayout(const Rect& client);

} // namespace tl
