// Port: files, shaped like the Win32 file calls (CreateFileA, ReadFile, WriteFile,
// SetFilePointer, GetFileSize, CloseHandle, DeleteFileA, GetFileAttributesA). Directories,
// drives and file times are in storage.h.
// Paths are ANSI (code page 949) Windows paths.
#pragma once

#include "platform/win_types.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tl {

// An open file. 0 is never a valid handle (INVALID_HANDLE_VALUE in the Win32 adapter).
struct FileHandle {
    std::uint32_t value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(FileHandle, FileHandle) = default;
};

// dwDesiredAccess
inline constexpr DWORD kGenericRead = 0x80000000u;
inline constexpr DWORD kGenericWrite = 0x40000000u;
// dwShareMode
inline constexpr DWORD kFileShareNone = 0;
inline constexpr DWORD kFileShareRead = 1;
inline constexpr DWORD kFileShareWrite = 2;
// dwCreationDisposition
inline constexpr DWORD kCreateNew = 1;
inline constexpr DWORD kCreateAlways = 2;
inline constexpr DWORD kOpenExisting = 3;
inline constexpr DWORD kOpenAlways = 4;
inline constexpr DWORD kTruncateExisting = 5;
// SetFilePointer dwMoveMethod
inline constexpr DWORD kFileBegin = 0;
inline constexpr DWORD kFileCurrent = 1;
inline constexpr DWORD kFileEnd = 2;

inline constexpr DWORD kInvalidFileSize = 0xFFFFFFFFu;
inline constexpr DWORD kInvalidFileAttributes = 0xFFFFFFFFu;
inline constexpr DWORD kFileAttributeReadOnly = 0x01;
inline constexpr DWORD kFileAttributeDirectory = 0x10;
inline constexpr DWORD kFileAttributeArchive = 0x20;

// MoveFileExA dwFlags
inline constexpr DWORD kMoveFileReplaceExisting = 0x1;

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // CreateFileA: an empty handle on failure, the reason in GetLastError
    // (2 file not found, 3 path not found, 5 access denied, 32 sharing violation, 80 exists).
    virtual FileHandle CreateFile(std::string_view path, DWORD access, DWORD shareMode,
                                  DWORD disposition) = 0;
    virtual BOOL ReadFile(FileHandle file, void* buffer, DWORD count, DWORD* read) = 0;
    virtual BOOL WriteFile(FileHandle file, const void* buffer, DWORD count, DWORD* written) = 0;
    // SetFilePointer with a 32-bit distance: the new position, or kInvalidFileSize.
    virtual DWORD SetFilePointer(FileHandle file, LONG distance, DWORD method) = 0;
    virtual DWORD GetFileSize(FileHandle file) = 0;
    virtual BOOL CloseHandle(FileHandle file) = 0;
    virtual BOOL DeleteFile(std::string_view path) = 0;
    // GetFileAttributesA: kInvalidFileAttributes when the path does not exist.
    virtual DWORD GetFileAttributes(std::string_view path) = 0;
    // MoveFileExA on a file, within one drive: renames `existing` to `newName`. A file already
    // named `newName` is replaced, in one step, with kMoveFileReplaceExisting, else the call
    // fails with 183. 17 when the names are on different drives.
    virtual BOOL MoveFileEx(std::string_view existing, std::string_view newName, DWORD flags) = 0;
    virtual DWORD GetLastError() const = 0;
};

} // namespace tl
