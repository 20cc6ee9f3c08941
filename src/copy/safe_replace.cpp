#include "copy/safe_replace.h"

#include "platform/error_event.h"
#include "platform/file_system.h"

#include <string>

namespace tl {
namespace {

constexpr DWORD kErrorCallNotImplemented = 120;
constexpr int kAsideNames = 100;

bool Exists(FileSystem& files, std::string_view path) {
    return files.GetFileAttributes(path) != kInvalidFileAttributes;
}

// A name beside `target` that no file has: "<target>.~00" to "<target>.~99"; empty when all
// are taken.
std::string FreeAsideName(FileSystem& files, std::string_view target) {
    for (int number = 0; number < kAsideNames; ++number) {
        std::string name(target);
        name += ".~";
        name += static_cast<char>('0' + number / 10);
        name += static_cast<char>('0' + number % 10);
        if (!Exists(files, name))
            return name;
    }
    return {};
}

// A rename that fails when the new name is taken: MoveFileEx without flags.
bool Rename(const Platform& platform, std::string_view from, std::string_view to) {
    if (platform.files.MoveFileEx(from, to, 0))
        return true;
    RecordError(platform, "MoveFileEx", from, platform.files.GetLastError());
    return false;
}

ReplaceOutcome ReplaceThroughAside(const Platform& platform, std::string_view replacement,
                                   std::string_view target) {
    FileSystem& files = platform.files;
    if (!Exists(files, target))
        return Rename(platform, replacement, target) ? ReplaceOutcome::Replaced
                                                     : ReplaceOutcome::NotReplaced;
    const std::string aside = FreeAsideName(files, target);
    if (aside.empty()) {
        RecordError(platform, "MoveFileEx", target, kErrorAlreadyExists);
        return ReplaceOutcome::NotReplaced;
    }
    if (!Rename(platform, target, aside))
        return ReplaceOutcome::NotReplaced;
    if (!Rename(platform, replacement, target))
        return Rename(platform, aside, target) ? ReplaceOutcome::NotReplaced
                                               : ReplaceOutcome::OldSetAside;
    // The replacement is in place; only now may the old file go.
    if (!files.DeleteFile(aside))
        RecordError(platform, "DeleteFile", aside, files.GetLastError());
    return ReplaceOutcome::Replaced;
}

} // namespace

ReplaceOutcome SafeReplace(const Platform& platform, std::string_view replacement,
                           std::string_view target) {
    FileSystem& files = platform.files;
    if (files.MoveFileEx(replacement, target, kMoveFileReplaceExisting))
        return ReplaceOutcome::Replaced;
    const DWORD error = files.GetLastError();
    if (error != kErrorCallNotImplemented) {
        RecordError(platform, "MoveFileEx", target, error);
        return ReplaceOutcome::NotReplaced;
    }
    return ReplaceThroughAside(platform, replacement, target);
}

} // namespace tl
