// What the host program runs until the installer's steps are built: the main window of the
// installer's class and title, made as start-up makes it, one step message that asks the first
// question, and the end. It exercises the window system, the message loop, the frontends and the
// transcript the way the installer will, and says plainly that it is a demonstration.
#pragma once

#include "platform/window_system.h"

#include <string>

namespace tl::app {

// Runs the program's message loop; returns its exit code (the quit message's).
int RunDemonstration(WindowSystem& windows, const std::string& commandLine);

} // namespace tl::app
