#include "copy/ensure_directory.h"

#include "destination/font_directory.h"
#include "platform/error_event.h"
#include "platform/file_system.h"
#include "state/installer.h"
#include "state/removal_log.h"

namespace tl {

namespace {

bool IsDirectory(FileSystem& files, std::string_view path) {
    const DWORD attributes = files.GetFileAttributes(path);
    return attributes != kInvalidFileAttributes && (attributes & kFileAttributeDirectory) != 0;
}

} // namespace

bool EnsureDirectory(Installer& installer, WindowHandle owner, std::string_view path) {
    for (std::size_t end = 0; end <= path.size(); ++end) {
        if (end < path.size() && path[end] != '\\') {
            continue;
        }
        const std::string_view level = path.substr(0, end);
        // Nothing to make before a leading "\" or for a bare drive ("C:"); a doubled or trailing
        // "\" ends a level that was made just before.
        if (level.empty() || level.back() == ':' || level.back() == '\\') {
            continue;
        }
        if (IsDirectory(installer.platform.files, level)) {
            continue;
        }
        if (!WriteRemovalRecord(installer, {removal_record::kDirectory, level}) ||
            !installer.platform.storage.CreateDirectory(level)) {
            RecordError(installer.platform, "CreateDirectory", level,
                        installer.platform.files.GetLastError());
            ReportCannotCreateDirectory(installer, owner);
            return false;
        }
    }
    return true;
}

} // namespace tl
