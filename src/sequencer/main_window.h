// The full-screen main window's procedure. It drives the installation with the private step
// messages: 400 (language and printer driver), 405 (demonstration file), 403 (fonts), 404
// (finish).
#pragma once

#include "platform/window_types.h"

namespace tl {

struct Installer;

inline constexpr UINT kStepDriver = 400;
inline constexpr UINT kStepFonts = 403;
inline constexpr UINT kStepFinish = 404;
inline constexpr UINT kStepDemonstration = 405;

// Under "/ND" the first step waits for this timer.
inline constexpr UINT_PTR kStartTimer = 1;
inline constexpr UINT kStartDelayMs = 2000;

LRESULT MainWndProc(Installer& installer, WindowHandle window, UINT message, WPARAM wParam,
                    LPARAM lParam);

} // namespace tl
