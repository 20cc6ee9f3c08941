// Port: the Windows installation and the effects that leave no file, shaped like
// GetWindowsDirectoryA, GetSystemDirectoryA, GetModuleFileNameA, GetVersion, GlobalFindAtomA,
// GlobalAddAtomA, GlobalDeleteAtom, SetErrorMode, ExitWindowsEx, SendMessageA to
// HWND_BROADCAST, AddFontResourceA, RemoveFontResourceA and MessageBeep.
#pragma once

#include "platform/win_types.h"

#include <string>
#include <string_view>

namespace tl {

using ATOM = WORD;

// SetErrorMode
inline constexpr UINT kSemFailCriticalErrors = 0x0001;
// ExitWindowsEx
inline constexpr UINT kEwxLogoff = 0;
inline constexpr UINT kEwxReboot = 2;
// Messages broadcast to every top-level window.
inline constexpr UINT kWmDevModeChange = 0x001B; // lParam: the device name
inline constexpr UINT kWmFontChange = 0x001D;
// MessageBeep
inline constexpr UINT kMbSimpleBeep = 0xFFFFFFFFu;

class System {
public:
    virtual ~System() = default;

    // The directories as Windows reports them (no trailing "\" unless a root).
    virtual std::string GetWindowsDirectory() const = 0;
    virtual std::string GetSystemDirectory() const = 0;
    // GetModuleFileNameA for the running program: its full Windows path.
    virtual std::string GetModuleFileName() const = 0;
    // GetVersion: major version in the low byte, minor in the next; bit 31 set on the
    // Windows 95 family.
    virtual DWORD GetVersion() const = 0;

    // The global atom table. Names compare without case; an added name counts references and
    // goes when GlobalDeleteAtom has been called as often as it was added. GlobalDeleteAtom
    // returns 0 on success and the atom itself on failure.
    virtual ATOM GlobalFindAtom(std::string_view name) const = 0;
    virtual ATOM GlobalAddAtom(std::string_view name) = 0;
    virtual ATOM GlobalDeleteAtom(ATOM atom) = 0;

    // SetErrorMode: the previous mode.
    virtual UINT SetErrorMode(UINT mode) = 0;
    // ExitWindowsEx: log off (0) or restart (2) once the installer has ended.
    virtual BOOL ExitWindowsEx(UINT flags, DWORD reserved) = 0;
    // SendMessageA(HWND_BROADCAST, message, 0, text): `text` is the lParam string of messages
    // that carry one (WM_DEVMODECHANGE) and is ignored for the others.
    virtual void BroadcastMessage(UINT message, std::string_view text) = 0;
    // AddFontResourceA: the number of fonts added, 0 when the file is not there.
    virtual int AddFontResource(std::string_view fontFile) = 0;
    // RemoveFontResourceA: whether the font was taken out of the system's font table.
    virtual BOOL RemoveFontResource(std::string_view fontFile) = 0;
    virtual BOOL MessageBeep(UINT type) = 0;
};

} // namespace tl
