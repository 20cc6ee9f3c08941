// The file and storage ports on the real Win32 file calls. One object serves both, as they
// share the handles and the last error on Windows.
#pragma once

#include "platform/file_system.h"
#include "platform/storage.h"
#include "platform/win32/handle_table.h"

namespace tl::win32 {

class Win32FileSystem final : public FileSystem, public Storage {
public:
    // `moveFileExStub`: MoveFileEx takes the Windows 95 path even where the system has the call,
    // so that tests can run it.
    explicit Win32FileSystem(bool moveFileExStub = false) : moveFileExStub_(moveFileExStub) {}
    ~Win32FileSystem() override;
    Win32FileSystem(const Win32FileSystem&) = delete;
    Win32FileSystem& operator=(const Win32FileSystem&) = delete;

    FileHandle CreateFile(std::string_view path, DWORD access, DWORD shareMode,
                          DWORD disposition) override;
    BOOL ReadFile(FileHandle file, void* buffer, DWORD count, DWORD* read) override;
    BOOL WriteFile(FileHandle file, const void* buffer, DWORD count, DWORD* written) override;
    DWORD SetFilePointer(FileHandle file, LONG distance, DWORD method) override;
    DWORD GetFileSize(FileHandle file) override;
    BOOL CloseHandle(FileHandle file) override;
    BOOL DeleteFile(std::string_view path) override;
    DWORD GetFileAttributes(std::string_view path) override;
    // MoveFileExA; on Windows 95, where it is only a stub, a rename without
    // kMoveFileReplaceExisting is MoveFileA, and a replacement fails with the stub's 120: the
    // caller replaces through a rename aside (SafeReplace), never by deleting the old file first.
    BOOL MoveFileEx(std::string_view existing, std::string_view newName, DWORD flags) override;
    DWORD GetLastError() const override { return lastError_; }

    BOOL GetFileTime(FileHandle file, FILETIME* creation, FILETIME* lastAccess,
                     FILETIME* lastWrite) override;
    BOOL SetFileTime(FileHandle file, const FILETIME* creation, const FILETIME* lastAccess,
                     const FILETIME* lastWrite) override;
    BOOL CreateDirectory(std::string_view path) override;
    BOOL RemoveDirectory(std::string_view path) override;
    BOOL SetCurrentDirectory(std::string_view path) override;
    std::string GetCurrentDirectory() const override;
    BOOL GetDiskFreeSpace(std::string_view rootPath, DiskFreeSpace* space) override;
    // GetDiskFreeSpaceExA where the system has it (from Windows 95 OSR2 on); before that, the
    // figures of GetDiskFreeSpaceA on the path's drive.
    BOOL GetDiskFreeSpaceEx(std::string_view path, DiskFreeSpaceEx* space) override;
    DWORD GetLogicalDrives() const override;
    UINT GetDriveType(std::string_view rootPath) const override;

private:
    // Keeps the system's last error of the call just made and returns `result`.
    template <typename T> T Done(T result);
    template <typename T> T Fail(T result, DWORD error) {
        lastError_ = error;
        return result;
    }

    HandleTable<void*> handles_;
    DWORD lastError_ = 0;
    bool moveFileExStub_ = false;
};

} // namespace tl::win32
