// The removal program's core: asks first, undoes what the installer's records name, in an order
// that keeps every step safe (printers before their drivers, files before the directories that
// held them), and tells what it did.
#pragma once

#include "platform/window_types.h"

namespace tl {

struct Installer;

// Runs the removal with the records of `installer.paths.privateSettingsFile` (see
// FindRemovalSettings), message boxes owned by `owner`. The outcome as an installation state,
// for the exit status: 0 cancelled, 1 something could not be undone, 4 removed (or nothing to
// remove), 5 removed and Windows must restart.
int RunRemoval(Installer& installer, WindowHandle owner);

} // namespace tl
