// The Windows PC the program runs on, with every Win32 adapter over it: what HostMachine is to
// a machine folder. The window system, dialogs and painting come from the Windows frontend.
#pragma once

#include "platform/platform.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_lz.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_spooler.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_version.h"

namespace tl::win32 {

struct Win32MachineOptions {
    Win32SystemOptions system;
    // The file port behaves as on a Windows 95 whose MoveFileExA is a stub (for tests).
    bool moveFileExStub = false;
};

class Win32Machine {
public:
    explicit Win32Machine(EventSink& events, Win32MachineOptions options = {});
    Win32Machine(const Win32Machine&) = delete;
    Win32Machine& operator=(const Win32Machine&) = delete;

    Platform& GetPlatform() { return platform_; }
    const CodePage& GetCodePage() const { return codePage_; }

    // Whether the system is Wine rather than Windows (Wine's NTDLL exports wine_get_version).
    static bool IsWine();

private:
    Win32CodePage codePage_;
    Win32FileSystem files_;
    Win32System system_;
    Win32Clock clock_;
    Win32Profile profile_;
    Win32Registry registry_;
    Win32Spooler spooler_;
    Win32LzExpand lz_;
    Win32VersionInfo versionInfo_;
    Platform platform_;
};

} // namespace tl::win32
