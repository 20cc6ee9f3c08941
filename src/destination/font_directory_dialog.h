// DIRECTORY: the dialog in which the user names the directory that receives the fonts. It
// proposes the Windows directory's FONTS folder and ends with 1 once a directory has been
// accepted and created, or 0 when the user cancels the installation.
#pragma once

#include "platform/dialog_window.h"

namespace tl {

struct Installer;

// The dialog procedure of template DIRECTORY.
INT_PTR Direc_Set(Installer& installer, DialogWindow& dialog, UINT message, WPARAM wParam,
                  LPARAM lParam);

} // namespace tl
