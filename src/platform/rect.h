// RECT and SIZE, shared by the window-system and painting ports.
#pragma once

#include "platform/win_types.h"

namespace tl {

struct Rect {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
    LONG Width() const { return right - left; }
    LONG Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; } // IsRectEmpty
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
    LONG cx = 0;
    LONG cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

} // namespace tl
