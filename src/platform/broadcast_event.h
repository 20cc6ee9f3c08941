// The transcript's record of a message sent to every top-level window, the same on every window
// system: its name where the installer broadcasts it by name, and the text that WM_DEVMODECHANGE
// and WM_WININICHANGE carry (the device or the INI section that changed).
#pragma once

#include "platform/code_page.h"
#include "platform/events.h"
#include "platform/window_types.h"

namespace tl::ui {

PlatformEvent BroadcastEvent(UINT message, LPARAM lParam, const CodePage& codePage);

} // namespace tl::ui
