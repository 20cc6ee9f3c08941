// Port: directories, drives, free space and file times, shaped like CreateDirectoryA,
// RemoveDirectoryA, SetCurrentDirectoryA, GetCurrentDirectoryA, GetDiskFreeSpaceA/ExA,
// GetLogicalDrives, GetDriveTypeA, GetFileTime and SetFileTime. An adapter provides it together
// with the FileSystem port: the file times work on that port's handles, and failures leave
// their reason in that port's GetLastError, as they share one last-error value on Windows.
#pragma once

#include "platform/file_system.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tl {

// GetDriveTypeA
inline constexpr UINT kDriveUnknown = 0;
inline constexpr UINT kDriveNoRootDir = 1;
inline constexpr UINT kDriveRemovable = 2;
inline constexpr UINT kDriveFixed = 3;

// GetDiskFreeSpaceA's answer. The product of the three counts is the free space, which
// Windows 95 reports as at most 2 GB; GetDiskFreeSpaceEx gives the true 64-bit figures.
struct DiskFreeSpace {
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD totalClusters = 0;
};

struct DiskFreeSpaceEx {
    std::uint64_t freeBytesAvailable = 0;
    std::uint64_t totalBytes = 0;
    std::uint64_t totalFreeBytes = 0;
};

class Storage {
public:
    virtual ~Storage() = default;

    // GetFileTime / SetFileTime (UTC file times) on a FileSystem handle. A null pointer leaves
    // that time alone; setting needs a handle opened for writing.
    virtual BOOL GetFileTime(FileHandle file, FILETIME* creation, FILETIME* lastAccess,
                             FILETIME* lastWrite) = 0;
    virtual BOOL SetFileTime(FileHandle file, const FILETIME* creation, const FILETIME* lastAccess,
                             const FILETIME* lastWrite) = 0;

    // CreateDirectoryA (183 when it exists, 3 when its parent does not), RemoveDirectoryA.
    virtual BOOL CreateDirectory(std::string_view path) = 0;
    virtual BOOL RemoveDirectory(std::string_view path) = 0;
    // SetCurrentDirectoryA; relative paths of every call are taken against it.
    virtual BOOL SetCurrentDirectory(std::string_view path) = 0;
    virtual std::string GetCurrentDirectory() const = 0;

    // GetDiskFreeSpaceA on a root ("C:\"): 3 for a drive that does not exist, 21 for one
    // without a medium.
    virtual BOOL GetDiskFreeSpace(std::string_view rootPath, DiskFreeSpace* space) = 0;
    // GetDiskFreeSpaceExA on any path of the drive.
    virtual BOOL GetDiskFreeSpaceEx(std::string_view path, DiskFreeSpaceEx* space) = 0;
    // GetLogicalDrives: bit 0 is A:, bit 25 is Z:.
    virtual DWORD GetLogicalDrives() const = 0;
    // GetDriveTypeA on a root ("A:\").
    virtual UINT GetDriveType(std::string_view rootPath) const = 0;
};

} // namespace tl
