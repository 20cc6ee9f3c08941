// Pictures of the installer's screen for its documentation: the program's own visible windows,
// composed bottom to top on a black screen from what each window has painted, and saved as a
// 24-bit .BMP file. Made from the windows rather than the display, so a picture taken under a
// virtual X display shows exactly what the windows drew, whatever the display has caught up with.
#pragma once

#include <string>

namespace tl::win32ui {

// Saves the picture of the thread's visible top-level windows at `path`. With `paintPending`,
// what waits to be painted is painted first (a dialog about to be answered has not had its
// turn yet); without it, the windows are taken as they stand, as while the installer copies
// and nothing is painted but what the progress controls paint themselves. False when the
// picture could not be made or written.
bool SaveScreenPicture(const std::wstring& path, bool paintPending);

} // namespace tl::win32ui
