// What the file and storage ports do on a Windows 95 that lacks a call they are built on. Kept
// apart so that the tests can run these paths on a system that has the calls.
#pragma once

#include "platform/storage.h"

#include <string_view>

namespace tl::win32 {

// MoveFileExA on the Windows 95 whose MoveFileExA is a stub failing with 120: a rename without
// kMoveFileReplaceExisting is MoveFileA; a replacement fails with 120 as the stub does (the core
// replaces through a rename aside). The reason of a failure is left in the system's last error.
BOOL MoveFileWithoutMoveFileEx(const char* existing, const char* newName, DWORD flags);

// GetDiskFreeSpaceExA's figures from GetDiskFreeSpaceA on the drive of `path` (the current drive
// for a path without a letter), for Windows 95 before OSR2, which has no GetDiskFreeSpaceExA.
BOOL DiskFreeSpaceFromClusters(std::string_view path, DiskFreeSpaceEx* space);

} // namespace tl::win32
