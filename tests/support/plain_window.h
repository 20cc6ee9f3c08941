// A plain top-level window to own the dialogs and message boxes a test opens.
#pragma once

#include "platform/window_system.h"

namespace tl::test {

// Registers the class "Plain" (default window procedure) and creates a visible 1024 x 768 pop-up
// of it.
WindowHandle CreatePlainWindow(WindowSystem& windows);

} // namespace tl::test
