// The removal program's core: asks first, undoes what the installer's records name, in an order
// that keeps every step safe (printers before their drivers, files before the directories that
// held them), and tells what it did.
#pragma once

#include "platform/installation_state.h"
#include "platform/window_types.h"

namespace tl {

struct Installer;

// Runs the removal with the records of `installer.paths.privateSettingsFile` (see
// FindRemovalSettings), message boxes owned by `owner`. The outcome as an installation state,
// for the exit status: NotStarted cancelled, Failed something could not be undone, Installed
// removed (or nothing to remove), RestartNeeded removed and Windows must restart.
[[nodiscard]] InstallationState RunRemoval(Installer& installer, WindowHandle owner);

} // namespace tl
