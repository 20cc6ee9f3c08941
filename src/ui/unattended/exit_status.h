// The exit status of a run nobody watches (answers given, or no terminal), in the convention
// administrators know from silent installs, so that a script installing on many PCs can tell
// how each went. An interactive run keeps the program's own exit code.
#pragma once

#include "platform/installation_state.h"

namespace tl::ui {

inline constexpr int kExitInstalled = 0;
inline constexpr int kExitCancelled = 1602;     // cancelled or declined: nothing installed
inline constexpr int kExitFailed = 1603;        // something failed, whatever else happened
inline constexpr int kExitRestartNeeded = 3010; // installed; Windows must restart

// From the installation state the run ended in and
// whether it met any failure on the way.
int UnattendedExitStatus(InstallationState installationState, bool anythingFailed);

} // namespace tl::ui
