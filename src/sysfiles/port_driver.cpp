#include "sysfiles/port_driver.h"

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
// source arrives expanded.
CopyResult LzCopyFile(LzExpand& lz, std::string_view source, std::string_view target) {
    OfStruct sourceOf;
    const LzHandle in = lz.LZOpenFile(source, sourceOf, kOfRead);
    if (in <= 0) {
        return CopyResult::NotStarted;
    }
    OfStruct targetOf;
    const LzHandle out = lz.LZOpenFile(target, targetOf, kOfCreate);
    if (out <= 0) {
        lz.LZClose(in);
        return CopyResult::NotStarted;
    }
    const LONG copied = lz.LZCopy(in, out);
    lz.LZClose(in);
    lz.LZClose(out);
    return copied < 0 ? CopyResult::Failed : CopyResult::Copied;
}

void DeleteQuietly(LzExpand& lz, std::string_view path) {
    OfStruct of;
    lz.LZOpenFile(path, of, kOfDelete);
}

// An installed driver starts with the "MZ" signature, whatever the shipped file holds there.
bool RestoreDriverSignature(LzExpand& lz, std::string_view path) {
    OfStruct of;
    const LzHandle file = lz.LZOpenFile(path, of, kOfWrite);
    if (file <= 0) {
        return false;
    }
    static constexpr char kSignature[] = {'M', 'Z'};
    const UINT written = lz.LWrite(file, kSignature, sizeof kSignature);
    lz.LZClose(file);
    return written == sizeof kSignature;
}

void StampWriteTime(Platform& platform, std::string_view path) {
    const FileHandle file =
        platform.files.CreateFile(path, kGenericWrite, kFileShareWrite, kOpenAlways);
    if (!file) {
        return;
    }
    const FILETIME time = PortDriverWriteTime();
    platform.storage.SetFileTime(file, nullptr, nullptr, &time);
    platform.files.CloseHandle(file);
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

bool UpdatePortDriver(Platform& platform, std::string_view systemDirectory,
                      const std::function<bool()>& beforeReplace) {
    const std::string shipped = InDirectory(systemDirectory, kPortDriverShipped);
    const std::string inUse = InDirectory(systemDirectory, kPortDriverInUse);
    const std::string saved = InDirectory(systemDirectory, kPortDriverSaved);
    const std::string staging = InDirectory(systemDirectory, kPortDriverStaging);

    if (!IsFile(platform.files, shipped)) {
        return false;
    }
    if (FileVersionText(platform.versionInfo, inUse) != kReplacedVersion) {
        return false;
    }
    if (beforeReplace && !beforeReplace()) {
        return false;
    }
    // A backup that stopped part-way is no backup; "lpt.vxd" itself is untouched so far.
    if (const CopyResult backup = LzCopyFile(platform.lz, inUse, saved);
        backup != CopyResult::Copied) {
        if (backup == CopyResult::Failed) {
            DeleteQuietly(platform.lz, saved);
        }
        return false;
    }
    // The new driver is expanded and completed beside the old one, so that a damaged "lpt.bz" or
    // a full disk never costs the system its parallel-port driver.
    if (LzCopyFile(platform.lz, shipped, staging) != CopyResult::Copied ||
        !RestoreDriverSignature(platform.lz, staging)) {
        DeleteQuietly(platform.lz, staging);
        return false;
    }
    // The staged driver starts with "MZ", so this copy takes it as it is.
    const CopyResult replaced = LzCopyFile(platform.lz, staging, inUse);
    DeleteQuietly(platform.lz, staging);
    if (replaced == CopyResult::Failed) {
        LzCopyFile(platform.lz, saved, inUse);
    }
    if (replaced != CopyResult::Copied) {
        return false;
    }
    StampWriteTime(platform, inUse);
    return true;
}

bool UpdatePortDriver(Installer& installer) {
    const std::string& directory = installer.paths.systemDir;
    return UpdatePortDriver(installer.platform, directory, [&installer, &directory] {
        return WriteRemovalRecord(installer, {removal_record::kPortDriver,
                                              InDirectory(directory, kPortDriverInUse),
                                              InDirectory(directory, kPortDriverSaved)});
    });
}

} // namespace tl
