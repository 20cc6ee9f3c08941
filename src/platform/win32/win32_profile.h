// The profile port on the system's own INI functions (GetPrivateProfileStringA, ...).
#pragma once

#include "platform/profile.h"

namespace tl::win32 {

class Win32Profile final : public Profile {
public:
    DWORD GetPrivateProfileString(const char* appName, const char* keyName,
                                  const char* defaultValue, char* buffer, DWORD size,
                                  std::string_view fileName) override;
    UINT GetPrivateProfileInt(const char* appName, const char* keyName, int defaultValue,
                              std::string_view fileName) override;
    // WritePrivateProfileStringA, and a null section refused before the system sees it (it
    // would take it as "flush the cache" and answer 0 anyway).
    BOOL WritePrivateProfileString(const char* appName, const char* keyName, const char* value,
                                   std::string_view fileName) override;
    DWORD GetLastError() const override;
};

} // namespace tl::win32
