#include "platform/win32/windows95_fallbacks.h"

#include "platform/win32/win32_api.h"

#include <cstdint>
#include <string>

namespace tl::win32 {

BOOL MoveFileWithoutMoveFileEx(const char* existing, const char* newName, DWORD flags) {
    if ((flags & kMoveFileReplaceExisting) != 0) {
        // Deleting the old file first would leave neither file when the move then fails.
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return FALSE;
    }
    return ::MoveFileA(existing, newName);
}

BOOL DiskFreeSpaceFromClusters(std::string_view path, DiskFreeSpaceEx* space) {
    std::string root;
    if (path.size() >= 2 && path[1] == ':') {
        root = std::string(path.substr(0, 2)) + "\\";
    }
    ::DWORD counts[4] = {};
    if (!::GetDiskFreeSpaceA(root.empty() ? nullptr : root.c_str(), &counts[0], &counts[1],
                             &counts[2], &counts[3])) {
        return FALSE;
    }
    const std::uint64_t cluster = std::uint64_t{counts[0]} * counts[1];
    if (space != nullptr) {
        *space = DiskFreeSpaceEx{cluster * counts[2], cluster * counts[3], cluster * counts[2]};
    }
    return TRUE;
}

} // namespace tl::win32
