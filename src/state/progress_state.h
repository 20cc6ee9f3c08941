// What the progress display keeps (copy/progress_display.h): its windows, its font and the
// file name it shows.
#pragma once

#include "platform/canvas.h"
#include "platform/window_types.h"

#include <string>

namespace tl {

struct ProgressColours {
    COLORREF fill = Rgb(0, 0, 255);      // the part done, and the percentage over the part to do
    COLORREF paper = Rgb(255, 255, 255); // the part to do, and the percentage over the part done
};

struct ProgressState {
    WindowHandle dialog;
    WindowHandle bar;
    WindowHandle textBar;
    FontHandle boldFont;
    bool textBarPainted = false;
    std::string currentFileName; // set by the copy engine before each file
    ProgressColours colours;     // set when the bar's class is registered
};

} // namespace tl
