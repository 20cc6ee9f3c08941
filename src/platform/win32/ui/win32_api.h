// <windows.h> for the Win32 window system, after the port headers. The ports name their calls
// after the Win32 ones (MessageBox, CreateWindow, SendMessage, ...), which <windows.h> defines as
// macros for its A/W pairs; this adapter always calls the W function by its full name, so the
// macros are taken away again here and the port's names stay usable.
#pragma once

#include "platform/canvas.h"
#include "platform/dialog_window.h"
#include "platform/window_system.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#undef CreateDialog
#undef CreateFont
#undef CreateWindow
#undef DefWindowProc
#undef DialogBox
#undef DialogBoxIndirect
#undef DispatchMessage
#undef ExtTextOut
#undef FindWindow
#undef GetMessage
#undef GetWindowLong
#undef GetWindowText
#undef LoadCursor
#undef MessageBox
#undef PostMessage
#undef RegisterClass
#undef SendMessage
#undef SetWindowLong
#undef SetWindowText
#undef SetWindowsHookEx
#undef TextOut

namespace tl::win32ui {

// Window handles fit in 32 bits on 64-bit Windows too (they are shared with 32-bit programs);
// turning one back sign-extends, as the system does.
inline WindowHandle ToHandle(HWND window) {
    return WindowHandle{static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window))};
}
inline HWND ToHwnd(WindowHandle window) {
    if (window == kBroadcastWindow)
        return HWND_BROADCAST;
    return reinterpret_cast<HWND>(
        static_cast<std::intptr_t>(static_cast<std::int32_t>(window.value)));
}

inline ::RECT ToRECT(const Rect& rect) {
    return ::RECT{rect.left, rect.top, rect.right, rect.bottom};
}
inline Rect FromRECT(const ::RECT& rect) {
    return Rect{static_cast<LONG>(rect.left), static_cast<LONG>(rect.top),
                static_cast<LONG>(rect.right), static_cast<LONG>(rect.bottom)};
}

} // namespace tl::win32ui
