// Port: the registry, shaped like the ANSI registry calls of ADVAPI32 (RegOpenKeyExA,
// RegCreateKeyExA, RegQueryValueExA, RegSetValueExA, RegEnumKeyExA, RegEnumValueA,
// RegDeleteValueA, RegDeleteKeyA, RegCloseKey). Names and string data are ANSI (code page 949)
// bytes. Every call returns a Win32 error code: 0 success, 2 no such key or value, 6 not an
// open key, 87 bad parameter, 234 the caller's buffer is too small, 259 no more items.
// Reserved, class and security arguments, always zero or null in practice, are left out.
#pragma once

#include "platform/win_types.h"

#include <cstdint>

namespace tl {

// An open key or one of the predefined roots. 0 is never a valid key.
struct HKEY {
    std::uint32_t value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(HKEY, HKEY) = default;
};

inline constexpr HKEY kHkeyClassesRoot{0x80000000u};
inline constexpr HKEY kHkeyCurrentUser{0x80000001u};
inline constexpr HKEY kHkeyLocalMachine{0x80000002u};
inline constexpr HKEY kHkeyUsers{0x80000003u};

// Access rights (REGSAM). Windows 95 has no registry security: they are passed on and ignored.
using REGSAM = DWORD;
inline constexpr REGSAM kKeyQueryValue = 0x0001;
inline constexpr REGSAM kKeySetValue = 0x0002;
inline constexpr REGSAM kKeyCreateSubKey = 0x0004;
inline constexpr REGSAM kKeyEnumerateSubKeys = 0x0008;
inline constexpr REGSAM kKeyRead = 0x20019;
inline constexpr REGSAM kKeyWrite = 0x20006;
inline constexpr REGSAM kKeyAllAccess = 0xF003F;

// Value types.
inline constexpr DWORD kRegNone = 0;
inline constexpr DWORD kRegSz = 1;
inline constexpr DWORD kRegExpandSz = 2;
inline constexpr DWORD kRegBinary = 3;
inline constexpr DWORD kRegDword = 4;
inline constexpr DWORD kRegMultiSz = 7;

// RegCreateKeyEx dispositions.
inline constexpr DWORD kRegCreatedNewKey = 1;
inline constexpr DWORD kRegOpenedExistingKey = 2;

// Error the host reports when a change could not be saved (ERROR_REGISTRY_IO_FAILED).
inline constexpr LONG kErrorRegistryIoFailed = 1016;

class Registry {
public:
    virtual ~Registry() = default;

    // A null or empty subKey opens the key itself again.
    virtual LONG RegOpenKeyEx(HKEY key, const char* subKey, DWORD options, REGSAM access,
                              HKEY* result) = 0;
    // Opens the key, creating it and any missing parent; disposition may be null.
    virtual LONG RegCreateKeyEx(HKEY key, const char* subKey, DWORD options, REGSAM access,
                                HKEY* result, DWORD* disposition) = 0;
    // A null or empty name is the key's default value. type and data may be null; with data
    // null only the size is reported. *dataSize is in bytes (a REG_SZ counts its NUL).
    virtual LONG RegQueryValueEx(HKEY key, const char* valueName, DWORD* type, BYTE* data,
                                 DWORD* dataSize) = 0;
    virtual LONG RegSetValueEx(HKEY key, const char* valueName, DWORD type, const BYTE* data,
                               DWORD dataSize) = 0;
    // *nameSize: the buffer's size in characters on entry, the name's length without its NUL on
    // success, the length needed with the NUL when the result is 234.
    virtual LONG RegEnumKeyEx(HKEY key, DWORD index, char* name, DWORD* nameSize) = 0;
    virtual LONG RegEnumValue(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* type,
                              BYTE* data, DWORD* dataSize) = 0;
    virtual LONG RegDeleteValue(HKEY key, const char* valueName) = 0;
    // Removes the key with everything below it (as Windows 95 does).
    virtual LONG RegDeleteKey(HKEY key, const char* subKey) = 0;
    virtual LONG RegCloseKey(HKEY key) = 0;
};

} // namespace tl
