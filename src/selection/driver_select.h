// The SELECTDRV dialog: the user marks the models of the model table to install.
#pragma once

#include "platform/dialog_window.h"

namespace tl {

struct Installer;

// Ends with 1 (the selected models are marked selected, the others not) or 0 (installation
// cancelled).
INT_PTR SelectDriver(Installer& installer, DialogWindow& dialog, UINT message, WPARAM wParam,
                     LPARAM lParam);

// SelectDriver bound to the installer, for ShowModalDialog.
DialogProc MakeSelectDriver(Installer& installer);

} // namespace tl
