// The host's stand-in for another installer's main window, so that the installer's own check
// for a second copy finds it.
#pragma once

#include "platform/window_system.h"

namespace tl::app {

// Registers the main window class and makes a hidden window of it.
void ShowOtherInstance(WindowSystem& windows);

} // namespace tl::app
