// The progress display shown while files are copied: the modeless COPYING dialog with two
// controls of the installer's own classes, "text" (the "Copying..." line with the current file
// name) and "probar" (the bar with its percentage). Nothing pumps messages during a copy run, so
// every notification repaints its control at once.
#pragma once

#include "copy/progress_paint.h"
#include "platform/window_system.h"

#include <string>
#include <string_view>

namespace tl {

inline constexpr std::string_view kProgressBarClass = "probar";
inline constexpr std::string_view kTextBarClass = "text";
inline constexpr std::string_view kCopyingTemplate = "COPYING";

// Progress-bar messages (wParam: 16 bits) and text-bar messages.
inline constexpr UINT kPbmSetRange = WM_USER;
inline constexpr UINT kPbmSetPosition = WM_USER + 2;
inline constexpr UINT kPbmAdvance = WM_USER + 4;
inline constexpr UINT kTbmRedraw = 4;
inline constexpr UINT kTbmShow = WM_ACTIVATE;

// The classes, registered once at start-up: true, or false when the system refuses.
[[nodiscard]] bool RegisterProgressBarClass(WindowSystem& windows, ProgressState& state);
[[nodiscard]] bool RegisterTextBarClass(WindowSystem& windows, ProgressState& state);

// Around each copy run: disables the main window, makes the bold font and opens COPYING; and
// the reverse.
void OpenProgressDisplay(WindowSystem& windows, FontPort& fonts, ProgressState& state,
                         WindowHandle mainWindow);
void CloseProgressDisplay(WindowSystem& windows, FontPort& fonts, ProgressState& state,
                          WindowHandle mainWindow);

// Each sends its message to its control: true, or false without doing anything when the control
// does not exist.
bool SetProgressRange(WindowSystem& windows, const ProgressState& state, WORD range);
bool SetProgressPosition(WindowSystem& windows, const ProgressState& state, WORD position);
bool AdvanceProgress(WindowSystem& windows, const ProgressState& state, WORD step);
bool RedrawFileName(WindowSystem& windows, const ProgressState& state);
bool ShowTextBar(WindowSystem& windows, const ProgressState& state);

// The window and dialog procedures.
LRESULT ProBarProc(WindowSystem& windows, ProgressState& state, WindowHandle window, UINT message,
                   WPARAM wParam, LPARAM lParam);
LRESULT TextBarProc(WindowSystem& windows, ProgressState& state, WindowHandle window, UINT message,
                    WPARAM wParam, LPARAM lParam);
INT_PTR Going(WindowSystem& windows, ProgressState& state, DialogWindow& dialog, UINT message,
              WPARAM wParam, LPARAM lParam);

// The range and position a bar holds (its window words), for reports and tests.
struct ProgressBarWords {
    WORD range = 0;
    WORD position = 0;
};
ProgressBarWords ReadProgressBarWords(const WindowSystem& windows, WindowHandle bar);

} // namespace tl
