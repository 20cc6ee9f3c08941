// The four installation steps that the main window runs on its step messages. Each works to its
// end inside the message handler and posts exactly the step that follows it; the last one
// destroys the window.
#pragma once

#include "platform/window_types.h"

namespace tl {

struct Installer;

// 400: the language edition and the printer driver (then 405; 403 when there is no driver to
// install or no room; 404 after a cancellation or a failure).
void StepDriver(Installer& installer, WindowHandle window);
// 405: the demonstration file (then 403; 404 when its copy failed).
void StepDemonstration(Installer& installer, WindowHandle window);
// 403: the TrueType-compatible fonts (then 404).
void StepFonts(Installer& installer, WindowHandle window);
// 404: the INI files, the reports, the restart; destroys the window.
void StepFinish(Installer& installer, WindowHandle window);

} // namespace tl
