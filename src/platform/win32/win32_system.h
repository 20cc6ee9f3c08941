// The system port on the real calls. Effects that leave no file (restart, broadcasts, fonts
// added, beeps) are also recorded as events, so a Windows run's transcript tells what it did as
// the host's does.
#pragma once

#include "platform/code_page.h"
#include "platform/events.h"
#include "platform/system.h"

namespace tl::win32 {

struct Win32SystemOptions {
    // Whether ExitWindowsEx really ends the session; an unattended run records the request and
    // leaves the session alone.
    bool restartForReal = true;
};

class Win32System final : public System {
public:
    Win32System(const CodePage& codePage, EventSink& events, Win32SystemOptions options = {});

    std::string GetWindowsDirectory() const override;
    std::string GetSystemDirectory() const override;
    std::string GetModuleFileName() const override;
    DWORD GetVersion() const override;
    ATOM GlobalFindAtom(std::string_view name) const override;
    ATOM GlobalAddAtom(std::string_view name) override;
    ATOM GlobalDeleteAtom(ATOM atom) override;
    UINT SetErrorMode(UINT mode) override;
    // On the Windows NT family the shutdown privilege is taken first, as a restart needs it there.
    BOOL ExitWindowsEx(UINT flags, DWORD reserved) override;
    // SendMessageTimeoutA to HWND_BROADCAST: a window that has stopped answering is given up on
    // after a few seconds rather than holding the installer for ever.
    void BroadcastMessage(UINT message, std::string_view text) override;
    int AddFontResource(std::string_view fontFile) override;
    BOOL RemoveFontResource(std::string_view fontFile) override;
    BOOL MessageBeep(UINT type) override;

private:
    const CodePage& codePage_;
    EventSink& events_;
    Win32SystemOptions options_;
};

} // namespace tl::win32
