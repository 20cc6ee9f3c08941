#include "platform/win32/win32_machine.h"

#include "platform/win32/win32_api.h"

namespace tl::win32 {

Win32Machine::Win32Machine(EventSink& events, Win32MachineOptions options)
    : files_(options.moveFileExStub), system_(codePage_, events, options.system),
      lz_(codePage_, events), platform_{files_,   files_,    system_,  clock_, codePage_,   events,
                                        profile_, registry_, spooler_, lz_,    versionInfo_} {}

bool Win32Machine::IsWine() {
    HMODULE ntdll = ::GetModuleHandleA("NTDLL.DLL");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

} // namespace tl::win32
