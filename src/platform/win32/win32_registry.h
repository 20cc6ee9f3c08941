// The registry port on ADVAPI32's ANSI calls. The predefined roots pass through; keys opened
// here get the port's small numbers.
#pragma once

#include "platform/registry.h"
#include "platform/win32/handle_table.h"

namespace tl::win32 {

class Win32Registry final : public Registry {
public:
    Win32Registry() = default;
    ~Win32Registry() override;
    Win32Registry(const Win32Registry&) = delete;
    Win32Registry& operator=(const Win32Registry&) = delete;

    LONG RegOpenKeyEx(HKEY key, const char* subKey, DWORD options, REGSAM access,
                      HKEY* result) override;
    LONG RegCreateKeyEx(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result,
                        DWORD* disposition) override;
    LONG RegQueryValueEx(HKEY key, const char* valueName, DWORD* type, BYTE* data,
                         DWORD* dataSize) override;
    LONG RegSetValueEx(HKEY key, const char* valueName, DWORD type, const BYTE* data,
                       DWORD dataSize) override;
    // The name is read whole first, so a buffer too small is answered with the size it needs
    // (the system's own call leaves that out).
    LONG RegEnumKeyEx(HKEY key, DWORD index, char* name, DWORD* nameSize) override;
    LONG RegEnumValue(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* type, BYTE* data,
                      DWORD* dataSize) override;
    LONG RegDeleteValue(HKEY key, const char* valueName) override;
    // Deletes what lies below the key first: Windows NT refuses a key that has subkeys.
    LONG RegDeleteKey(HKEY key, const char* subKey) override;
    LONG RegCloseKey(HKEY key) override;

private:
    // The native key of a port key: a predefined root or one opened here; null when unknown.
    void* Native(HKEY key) const;
    HKEY Adopt(void* native);

    HandleTable<void*> keys_;
};

} // namespace tl::win32
