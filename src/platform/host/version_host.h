// The version-record port over a machine folder: files resolve through PathResolver and their
// version resources are returned byte for byte, as Windows 95 returns them.
#pragma once

#include "platform/host/path_resolver.h"
#include "platform/version_info.h"

namespace tl::host {

class HostVersionInfo final : public VersionInfo {
public:
    explicit HostVersionInfo(const PathResolver& resolver) : resolver_(resolver) {}

    DWORD GetFileVersionInfoSize(std::string_view path, DWORD* handle) override;
    BOOL GetFileVersionInfo(std::string_view path, DWORD handle, DWORD length, void* data) override;
    BOOL VerQueryValue(const void* block, std::string_view subBlock, const void** buffer,
                       UINT* length) override;
    DWORD GetLastError() const override { return lastError_; }

private:
    const PathResolver& resolver_;
    DWORD lastError_ = kErrorSuccess;
};

} // namespace tl::host
