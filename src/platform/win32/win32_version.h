// The version-record port on VERSION.DLL (GetFileVersionInfoSizeA, GetFileVersionInfoA,
// VerQueryValueA).
#pragma once

#include "platform/version_info.h"

namespace tl::win32 {

class Win32VersionInfo final : public VersionInfo {
public:
    DWORD GetFileVersionInfoSize(std::string_view path, DWORD* handle) override;
    // A buffer smaller than the record is refused (122) before the system would fill it with a
    // cut block whose own lengths point past its end.
    BOOL GetFileVersionInfo(std::string_view path, DWORD handle, DWORD length, void* data) override;
    BOOL VerQueryValue(const void* block, std::string_view subBlock, const void** buffer,
                       UINT* length) override;
    DWORD GetLastError() const override { return lastError_; }

private:
    DWORD lastError_ = 0;
};

} // namespace tl::win32
