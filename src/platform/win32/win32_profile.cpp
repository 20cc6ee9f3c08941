#include "platform/win32/win32_profile.h"

#include "platform/win32/win32_api.h"

#include <string>

namespace tl::win32 {

DWORD Win32Profile::GetPrivateProfileString(const char* appName, const char* keyName,
                                            const char* defaultValue, char* buffer, DWORD size,
                                            std::string_view fileName) {
    const std::string file(fileName);
    return static_cast<DWORD>(
        ::GetPrivateProfileStringA(appName, keyName, defaultValue, buffer, size, file.c_str()));
}

UINT Win32Profile::GetPrivateProfileInt(const char* appName, const char* keyName, int defaultValue,
                                        std::string_view fileName) {
    const std::string file(fileName);
    return ::GetPrivateProfileIntA(appName, keyName, defaultValue, file.c_str());
}

BOOL Win32Profile::WritePrivateProfileString(const char* appName, const char* keyName,
                                             const char* value, std::string_view fileName) {
    if (appName == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string file(fileName);
    return ::WritePrivateProfileStringA(appName, keyName, value, file.c_str());
}

DWORD Win32Profile::GetLastError() const {
    return ::GetLastError();
}

} // namespace tl::win32
