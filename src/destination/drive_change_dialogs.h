// The dialogs for fonts that do not fit: KEIKOKU offers fewer fonts, another drive or leaving;
// CHANGE takes the other font directory.
#pragma once

#include "platform/dialog_window.h"

namespace tl {

struct Installer;

// The results of KEIKOKU besides 0 (the user leaves the installation).
inline constexpr INT_PTR kNewFontDirectory = 1; // accepted, and stored as "FontPath"
inline constexpr INT_PTR kChangeFonts = 2;      // the user chooses the fonts again

// The dialog procedure of template KEIKOKU.
INT_PTR Enough_Size(Installer& installer, DialogWindow& dialog, UINT message, WPARAM wParam,
                    LPARAM lParam);

// The dialog procedure of template CHANGE: 1 when a new font directory was accepted and
// created, 0 for Cancel.
INT_PTR Change_Drv(Installer& installer, DialogWindow& dialog, UINT message, WPARAM wParam,
                   LPARAM lParam);

} // namespace tl
