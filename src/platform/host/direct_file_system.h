// A FileSystem over host files, with the failure codes Win32 gives for the same situations.
// Without a resolver a path is a plain host path used as it stands (for the disk tools and
// tests); with one, every path is first mapped by it (a simulated PC's Windows paths), and its
// refusals (missing drive, read-only drive) are the call's result.
#pragma once

#include "platform/file_system.h"
#include "platform/host/path_resolver.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace tl::host {

class DirectFileSystem final : public FileSystem {
public:
    explicit DirectFileSystem(const PathResolver* resolver = nullptr) : resolver_(resolver) {}
    DirectFileSystem(const DirectFileSystem&) = delete;
    DirectFileSystem& operator=(const DirectFileSystem&) = delete;
    ~DirectFileSystem() override;

    FileHandle CreateFile(std::string_view path, DWORD access, DWORD shareMode,
                          DWORD disposition) override;
    BOOL ReadFile(FileHandle file, void* buffer, DWORD count, DWORD* read) override;
    BOOL WriteFile(FileHandle file, const void* buffer, DWORD count, DWORD* written) override;
    DWORD SetFilePointer(FileHandle file, LONG distance, DWORD method) override;
    DWORD GetFileSize(FileHandle file) override;
    BOOL CloseHandle(FileHandle file) override;
    BOOL DeleteFile(std::string_view path) override;
    DWORD GetFileAttributes(std::string_view path) override;
    BOOL MoveFileEx(std::string_view existing, std::string_view newName, DWORD flags) override;
    DWORD GetLastError() const override { return lastError_; }

private:
    struct OpenFile {
        int fd = -1;
        DWORD access = 0;
        DWORD shareMode = 0;
        std::uint64_t device = 0; // with `inode`, which file it is, for the sharing rules
        std::uint64_t inode = 0;
    };

    OpenFile* Find(FileHandle file);
    bool SharingAllows(std::uint64_t device, std::uint64_t inode, DWORD access,
                       DWORD shareMode) const;
    BOOL Fail(DWORD error);
    // The host path behind `path`, or none with the last error set.
    std::optional<std::string> HostPath(std::string_view path, PathUse use);

    const PathResolver* resolver_ = nullptr;
    std::map<std::uint32_t, OpenFile> open_;
    std::uint32_t lastHandle_ = 0;
    DWORD lastError_ = kErrorSuccess;
};

// The Win32 error code for a failed host call on `path` (errno `error`): 2 when the folder
// exists but the name does not, 3 when the folder is missing, 5 when access is refused.
DWORD WinErrorFromErrno(int error, const std::string& path);

} // namespace tl::host
