// Port: INI (profile) files, shaped like the ANSI profile calls of KERNEL32
// (GetPrivateProfileStringA, GetPrivateProfileIntA, WritePrivateProfileStringA and their WIN.INI
// forms GetProfileStringA, GetProfileIntA, WriteProfileStringA). Texts are ANSI (code page 949).
//
// A file name without a directory ("tlsetup.ini", "WIN.INI") names a file in the Windows
// directory; any other path is taken as it stands (a relative one against the current
// directory). Names of sections and keys compare without regard to case; values are read without
// surrounding blanks and without one pair of enclosing quotes.
#pragma once

#include "platform/win_types.h"

#include <string_view>

namespace tl {

inline constexpr std::string_view kWinIni = "WIN.INI";

class Profile {
public:
    virtual ~Profile() = default;

    // The value of keyName in section appName, or the default (trailing blanks and a pair of
    // quotes removed; null counts as ""), copied into the buffer: at most size - 1 bytes and a
    // NUL; the result is the number of bytes copied.
    // A null keyName lists the keys of the section that have a value, a null appName the
    // section names: each NUL-ended, with one more NUL at the end; when the buffer is too small
    // the list is cut, ends with two NULs, and the result is size - 2. A section without keys
    // gives the default instead.
    virtual DWORD GetPrivateProfileString(const char* appName, const char* keyName,
                                          const char* defaultValue, char* buffer, DWORD size,
                                          std::string_view fileName) = 0;

    // The value read as a decimal number: an optional sign and the digits that follow it (what
    // comes after them is ignored; no digits give 0; a negative number gives 0). A missing or
    // empty value gives the default (returned as it is, also when negative).
    virtual UINT GetPrivateProfileInt(const char* appName, const char* keyName, int defaultValue,
                                      std::string_view fileName) = 0;

    // Sets the value (the section and key are made when missing); a null value deletes the key,
    // a null keyName the whole section. 1 on success; 0 when the file cannot be written (a
    // write-protected drive, a missing folder) or appName is null, and the file is then as it
    // was.
    virtual BOOL WritePrivateProfileString(const char* appName, const char* keyName,
                                           const char* value, std::string_view fileName) = 0;
    // GetLastError after a WritePrivateProfileString that failed: why it did (3 a missing
    // folder or drive, 5 a read-only file or drive, 87 a missing section or key name, ...).
    virtual DWORD GetLastError() const = 0;

    DWORD GetProfileString(const char* appName, const char* keyName, const char* defaultValue,
                           char* buffer, DWORD size) {
        return GetPrivateProfileString(appName, keyName, defaultValue, buffer, size, kWinIni);
    }
    UINT GetProfileInt(const char* appName, const char* keyName, int defaultValue) {
        return GetPrivateProfileInt(appName, keyName, defaultValue, kWinIni);
    }
    BOOL WriteProfileString(const char* appName, const char* keyName, const char* value) {
        return WritePrivateProfileString(appName, keyName, value, kWinIni);
    }
};

} // namespace tl
