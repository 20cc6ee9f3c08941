// The system port of a machine folder: directories and version from machine.ini, the global
// atom table seeded from [Atoms], and effects recorded as transcript events:
//   {"event":"restart","flags":2}
//   {"event":"broadcast","message":"WM_DEVMODECHANGE","text":"Telmora 600"}
//   {"event":"broadcast","message":"WM_FONTCHANGE"}
//   {"event":"addfont","file":"C:\\WINDOWS\\FONTS\\A.TTF"}
//   {"event":"beep","type":-1}
#pragma once

#include "platform/code_page.h"
#include "platform/events.h"
#include "platform/file_system.h"
#include "platform/host/machine_config.h"
#include "platform/system.h"

#include <vector>

namespace tl::host {

class MachineSystem final : public System {
public:
    // `files` answers whether a font file exists; `events` receives the effects.
    MachineSystem(const MachineConfig& config, const CodePage& codePage, FileSystem& files,
                  EventSink& events);

    std::string GetWindowsDirectory() const override { return config_.windowsDirectory; }
    std::string GetSystemDirectory() const override { return config_.systemDirectory; }
    std::string GetModuleFileName() const override { return config_.programFile; }
    DWORD GetVersion() const override;

    ATOM GlobalFindAtom(std::string_view name) const override;
    ATOM GlobalAddAtom(std::string_view name) override;
    ATOM GlobalDeleteAtom(ATOM atom) override;

    UINT SetErrorMode(UINT mode) override;
    BOOL ExitWindowsEx(UINT flags, DWORD reserved) override;
    void BroadcastMessage(UINT message, std::string_view text) override;
    int AddFontResource(std::string_view fontFile) override;
    BOOL RemoveFontResource(std::string_view fontFile) override;
    BOOL MessageBeep(UINT type) override;

private:
    struct Atom {
        std::string name;
        ATOM value = 0;
        int references = 0;
    };
    std::vector<Atom>::const_iterator FindAtom(std::string_view name) const;

    const MachineConfig& config_;
    const CodePage& codePage_;
    FileSystem& files_;
    EventSink& events_;
    std::vector<Atom> atoms_;
    ATOM nextAtom_ = 0xC000; // string atoms live in 0xC000..0xFFFF
    UINT errorMode_ = 0;
};

} // namespace tl::host
