#include "platform/win32/win32_version.h"

#include "platform/win32/win32_api.h"

#include <string>

namespace tl::win32 {

DWORD Win32VersionInfo::GetFileVersionInfoSize(std::string_view path, DWORD* handle) {
    const std::string name(path);
    ::DWORD zero = 0;
    ::SetLastError(0);
    const ::DWORD size = ::GetFileVersionInfoSizeA(name.c_str(), &zero);
    lastError_ = static_cast<DWORD>(::GetLastError());
    if (handle != nullptr) {
        *handle = 0;
    }
    return static_cast<DWORD>(size);
}

BOOL Win32VersionInfo::GetFileVersionInfo(std::string_view path, DWORD handle, DWORD length,
                                          void* data) {
    const std::string name(path);
    ::DWORD zero = 0;
    const ::DWORD size = ::GetFileVersionInfoSizeA(name.c_str(), &zero);
    if (size == 0) {
        lastError_ = static_cast<DWORD>(::GetLastError());
        return FALSE;
    }
    if (length < size) {
        lastError_ = kErrorInsufficientBuffer;
        return FALSE;
    }
    BOOL ok = ::GetFileVersionInfoA(name.c_str(), handle, length, data);
    lastError_ = static_cast<DWORD>(::GetLastError());
    return ok;
}

BOOL Win32VersionInfo::VerQueryValue(const void* block, std::string_view subBlock,
                                     const void** buffer, UINT* length) {
    const std::string name(subBlock);
    void* value = nullptr;
    UINT size = 0;
    BOOL ok = ::VerQueryValueA(block, name.c_str(), &value, &size);
    if (!ok) {
        return FALSE;
    }
    if (buffer != nullptr) {
        *buffer = value;
    }
    if (length != nullptr) {
        *length = size;
    }
    return TRUE;
}

} // namespace tl::win32
