#include "sysfiles/port_driver.h"

#include "platform/error_event.h"
#include "state/installer.h"
#include "state/removal_log.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tl {

namespace {

// Only this one build of the driver is replaced; any other, older or newer, is left alone.
constexpr std::string_view kReplacedVersion = "4.0.0.950";

std::string InDirectory(std::string_view directory, std::string_view name) {
    std::string path(directory);
    if (!path.empty() && path.back() != '\\') {
        path += '\\';
    }
    path += name;
    return path;
}

bool IsFile(FileSystem& files, std::string_view path) {
    const DWORD attributes = files.GetFileAttributes(path);
    return attributes != kInvalidFileAttributes && (attributes & kFileAttributeDirectory) == 0;
}

// "major.minor.build.revision" of the file's fixed version information; none when the file has
// no version resource or it cannot be read.
std::optional<std::string> FileVersionText(VersionInfo& versions, std::string_view path) {
    DWORD handle = 0;
    const DWORD size = versions.GetFileVersionInfoSize(path, &handle);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<BYTE> block(size);
    if (!versions.GetFileVersionInfo(path, handle, size, block.data())) {
        return std::nullopt;
    }
    const void* value = nullptr;
    UINT length = 0;
    if (!versions.VerQueryValue(block.data(), "\\", &value, &length)) {
        return std::nullopt;
    }
    const std::optional<FixedFileInfo> info = ReadFixedFileInfo(value, length);
    if (!info) {
        return std::nullopt;
    }
    const std::array<DWORD, 4> parts = {info->dwFileVersionMS >> 16, info->dwFileVersionMS & 0xFFFF,
                                        info->dwFileVersionLS >> 16,
                                        info->dwFileVersionLS & 0xFFFF};
    std::string text;
    for (const DWORD part : parts) {
        text += (text.empty() ? "" : ".") + std::to_string(part);
    }
    return text;
}

enum class CopyResult {
    NotStarted, // a file did not open: the target is as it was
    Failed,     // the target was emptied and may hold part of the data
    Copied,
};

// Copies source to target (created or emptied first) through the LZ expansion, so a compressed
// source arrives expanded. A failure is recorded.
CopyResult LzCopyFile(Platform& platform, std::string_view source, std::string_view target) {
    LzExpand& lz = platform.lz;
    OfStruct sourceOf;
    const LzHandle in = lz.LZOpenFile(source, sourceOf, kOfRead);
    if (in <= 0) {
        RecordError(platform, "LZOpenFile", source, sourceOf.nErrCode);
        return CopyResult::NotStarted;
    }
    OfStruct targetOf;
    const LzHandle out = lz.LZOpenFile(target, targetOf, kOfCreate);
    if (out <= 0) {
        lz.LZClose(in);
        RecordError(platform, "LZOpenFile", target, targetOf.nErrCode);
        return CopyResult::NotStarted;
    }
    const LONG copied = lz.LZCopy(in, out);
    lz.LZClose(in);
    lz.LZClose(out);
    if (copied < 0) {
        RecordError(platform, "LZCopy", target, LzCopyErrorCode(copied));
        return CopyResult::Failed;
    }
    return CopyResult::Copied;
}

// A file the update made and no longer needs; one that cannot be deleted is left, recorded.
void DeleteRecorded(Platform& platform, std::string_view path) {
    OfStruct of;
    if (platform.lz.LZOpenFile(path, of, kOfDelete) < 0) {
        RecordError(platform, "DeleteFile", path, of.nErrCode);
    }
}

// An installed driver starts with the "MZ" signature, whatever the shipped file holds there.
bool RestoreDriverSignature(Platform& platform, std::string_view path) {
    OfStruct of;
    const LzHandle file = platform.lz.LZOpenFile(path, of, kOfWrite);
    if (file <= 0) {
        RecordError(platform, "LZOpenFile", path, of.nErrCode);
        return false;
    }
    static constexpr char kSignature[] = {'M', 'Z'};
    const UINT written = platform.lz.LWrite(file, kSignature, sizeof kSignature);
    platform.lz.LZClose(file);
    if (written != sizeof kSignature) {
        RecordError(platform, "_lwrite", path, kErrorWriteFault);
        return false;
    }
    return true;
}

bool StampWriteTime(Platform& platform, std::string_view path) {
    const FileHandle file =
        platform.files.CreateFile(path, kGenericWrite, kFileShareWrite, kOpenAlways);
    if (!file) {
        RecordError(platform, "CreateFile", path, platform.files.GetLastError());
        return false;
    }
    const FILETIME time = PortDriverWriteTime();
    const bool stamped = platform.storage.SetFileTime(file, nullptr, nullptr, &time) != 0;
    if (!stamped) {
        RecordError(platform, "SetFileTime", path, platform.files.GetLastError());
    }
    platform.files.CloseHandle(file);
    return stamped;
}

} // namespace

FILETIME PortDriverWriteTime() {
    using namespace std::chrono;
    using FileTimeUnits = duration<std::int64_t, std::ratio<1, 10'000'000>>;
    constexpr sys_days kFileTimeEpoch = year{1601} / January / 1;
    constexpr auto kRelease = sys_days{year{1995} / December / 31} + hours{8} + minutes{50};
    constexpr auto kValue =
        static_cast<std::uint64_t>(duration_cast<FileTimeUnits>(kRelease - kFileTimeEpoch).count());
    return FILETIME{static_cast<DWORD>(kValue), static_cast<DWORD>(kValue >> 32)};
}

PortDriverUpdate UpdatePortDriver(Platform& platform, std::string_view systemDirectory,
                                  const std::function<bool()>& beforeReplace) {
    const std::string shipped = InDirectory(systemDirectory, kPortDriverShipped);
    const std::string inUse = InDirectory(systemDirectory, kPortDriverInUse);
    const std::string saved = InDirectory(systemDirectory, kPortDriverSaved);
    const std::string staging = InDirectory(systemDirectory, kPortDriverStaging);

    if (!IsFile(platform.files, shipped)) {
        return PortDriverUpdate::Unchanged;
    }
    if (FileVersionText(platform.versionInfo, inUse) != kReplacedVersion) {
        return PortDriverUpdate::Unchanged;
    }
    if (beforeReplace && !beforeReplace()) {
        return PortDriverUpdate::Failed;
    }
    // A backup that stopped part-way is no backup; "lpt.vxd" itself is untouched so far.
    if (const CopyResult backup = LzCopyFile(platform, inUse, saved);
        backup != CopyResult::Copied) {
        if (backup == CopyResult::Failed) {
            DeleteRecorded(platform, saved);
        }
        return PortDriverUpdate::Failed;
    }
    // The new driver is expanded and completed beside the old one, so that a damaged "lpt.bz" or
    // a full disk never costs the system its parallel-port driver.
    if (const CopyResult staged = LzCopyFile(platform, shipped, staging);
        staged != CopyResult::Copied || !RestoreDriverSignature(platform, staging)) {
        if (staged != CopyResult::NotStarted) {
            DeleteRecorded(platform, staging);
        }
        return PortDriverUpdate::Failed;
    }
    // The staged driver starts with "MZ", so this copy takes it as it is.
    const CopyResult replaced = LzCopyFile(platform, staging, inUse);
    DeleteRecorded(platform, staging);
    if (replaced == CopyResult::Failed) {
        LzCopyFile(platform, saved, inUse);
    }
    if (replaced != CopyResult::Copied) {
        return PortDriverUpdate::Failed;
    }
    return StampWriteTime(platform, inUse) ? PortDriverUpdate::Replaced
                                           : PortDriverUpdate::ReplacedUnstamped;
}

PortDriverUpdate UpdatePortDriver(Installer& installer) {
    const std::string& directory = installer.paths.systemDir;
    return UpdatePortDriver(installer.platform, directory, [&installer, &directory] {
        return WriteRemovalRecord(installer, {removal_record::kPortDriver,
                                              InDirectory(directory, kPortDriverInUse),
                                              InDirectory(directory, kPortDriverSaved)});
    });
}

} // namespace tl
