// The face of the full-screen main window: a blue-to-black gradient, the optional version text
// and the title bitmap with its drop shadow.
#pragma once

#include "platform/canvas.h"

#include <string_view>

namespace tl {

struct FaceState {
    bool versionText = false; // the setup script has an "InstVersion" section
};

inline constexpr std::string_view kVersionText = "Version 3.28";

// Where everything goes on a client area of width x height pixels. The artwork is laid out for
// a 638-pixel-wide face centred on the screen; narrower screens give negative offsets.
struct FaceLayout {
    LONG bandHeight = 0; // height of one gradient band
    LONG startBlue = 0;  // blue level of the top band; each band below is 2 darker
    LONG bitmapTop = 0;
    LONG artworkLeft = 0;   // the SRCAND copy of the bitmap
    LONG highlightLeft = 0; // the MERGEPAINT copy, 5 pixels left of and above the SRCAND one
    LONG versionLeft = 0;
    LONG versionTop = 0;
};

FaceLayout ComputeFaceLayout(LONG width, LONG height);

// Paints the whole client area (the main window's WM_PAINT between BeginPaint and EndPaint).
void PaintFace(Canvas& canvas, LONG width, LONG height, const FaceState& state);

} // namespace tl
