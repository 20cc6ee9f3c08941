// Bitmap 500: the title artwork of the main window, 500 x 100 pixels in 16 colours, of which it
// uses only black (the word "Telmora") and white (the background).
#pragma once

#include "platform/canvas.h"

#include <vector>

namespace tl {

inline constexpr int kTitleBitmapId = 500;
inline constexpr LONG kTitleBitmapWidth = 500;
inline constexpr LONG kTitleBitmapHeight = 100;

// The picture, drawn once from a built-in pixel font and kept for the life of the process.
const Bitmap& TitleBitmap();

// A picture of up to 16 colours as a .BMP file (BITMAPFILEHEADER, BITMAPINFOHEADER, 16-entry
// palette, 4 bits a pixel, rows bottom-up and padded to 4 bytes): what the Windows resource
// script includes as bitmap 500.
std::vector<BYTE> EncodeBmp16(const Bitmap& picture);

} // namespace tl
