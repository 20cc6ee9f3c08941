// The modeless WAITING dialog shown while WIN.INI and SYSTEM.INI are edited.
#pragma once

#include "platform/window_system.h"
#include "resources/control_ids.h"

namespace tl {

// On opening: centred, the text "checking WIN.INI and SYSTEM.INI, please wait" and its caption.
// Handles nothing else.
INT_PTR WaitingDlgProc(WindowSystem& windows, DialogWindow& dialog, UINT message, WPARAM wParam,
                       LPARAM lParam);

} // namespace tl
