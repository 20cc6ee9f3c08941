#include "platform/host/machine_file_system.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <system_error>
#include <unistd.h>

namespace tl::host {
namespace {

namespace fs = std::filesystem;

// Seconds between 1 January 1601 and 1 January 1970, in file-time units.
constexpr std::int64_t kUnixEpochAsFileTime = 116444736000000000LL;

FILETIME ToFileTime(const timespec& time) {
    std::int64_t value = static_cast<std::int64_t>(time.tv_sec) * 10000000 + time.tv_nsec / 100 +
                         kUnixEpochAsFileTime;
    return MakeFileTime(static_cast<std::uint64_t>(std::max<std::int64_t>(value, 0)));
}

timespec ToTimespec(const FILETIME& time) {
    std::int64_t value = static_cast<std::int64_t>(FileTimeValue(time)) - kUnixEpochAsFileTime;
    std::int64_t seconds = value / 10000000;
    std::int64_t rest = value % 10000000;
    if (rest < 0) {
        rest += 10000000;
        --seconds;
    }
    timespec result{};
    result.tv_sec = static_cast<time_t>(seconds);
    result.tv_nsec = static_cast<long>(rest * 100);
    return result;
}

// 2 when the folder that should hold the name exists, 3 when it does not: Windows tells a
// missing file from a missing path.
DWORD MissingError(const fs::path& host) {
    std::error_code ec;
    return fs::is_directory(host.parent_path(), ec) ? kErrorFileNotFound : kErrorPathNotFound;
}

DWORD ErrorFromErrno(int error, const fs::path& host) {
    switch (error) {
    case ENOENT:
        return MissingError(host);
    case ENOTDIR:
    case ENAMETOOLONG:
        return kErrorPathNotFound;
    case EEXIST:
        return kErrorFileExists;
    case ENOSPC:
    case EDQUOT:
        return kErrorDiskFull;
    case ENOTEMPTY:
        return kErrorDirNotEmpty;
    default:
        return kErrorAccessDenied;
    }
}

std::optional<struct stat> Stat(const fs::path& host) {
    struct stat info {};
    if (::stat(host.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return info;
}

// The host's form of the read-only attribute: no write permission for the owner.
bool IsReadOnlyFile(const struct stat& info) {
    return (info.st_mode & S_IWUSR) == 0;
}

// Whether an open with `access` may join a handle that allows `share`, and the other way round.
bool Compatible(DWORD heldAccess, DWORD heldShare, DWORD access, DWORD share) {
    auto conflicts = [](DWORD wanted, DWORD allowed) {
        return ((wanted & kGenericRead) && !(allowed & kFileShareRead)) ||
               ((wanted & kGenericWrite) && !(allowed & kFileShareWrite));
    };
    return !conflicts(access, heldShare) && !conflicts(heldAccess, share);
}

// Another program holds an [InUse] file the way a loaded driver is held: reading, and letting
// others read but not write.
constexpr DWORD kInUseAccess = kGenericRead;
constexpr DWORD kInUseShare = kFileShareRead;

// Windows 95 reports at most 2 GB through GetDiskFreeSpace; the largest whole count of
// 512-byte sectors that stays below 2^31 keeps the product positive in a signed 32-bit count.
constexpr std::uint64_t kClassicLimit = 0x7FFFFE00;

} // namespace

MachineFileSystem::MachineFileSystem(const MachineConfig& config, MachinePathResolver& resolver)
    : config_(config), resolver_(resolver) {
    for (std::size_t i = 0; i < budget_.size(); ++i) {
        budget_[i] = config.drives[i].freeBytes;
    }
}

MachineFileSystem::~MachineFileSystem() {
    for (auto& [value, file] : files_) {
        ::close(file.fd);
    }
}

BOOL MachineFileSystem::Fail(DWORD error) {
    lastError_ = error;
    return 0;
}

MachineFileSystem::OpenFile* MachineFileSystem::Find(FileHandle file) {
    auto it = files_.find(file.value);
    if (it == files_.end()) {
        lastError_ = kErrorInvalidHandle;
        return nullptr;
    }
    return &it->second;
}

DWORD MachineFileSystem::WriteRefusal(char letter) const {
    return config_.Drive(letter).WriteRefusal();
}

bool MachineFileSystem::IsInUse(const fs::path& host) const {
    return std::any_of(config_.inUse.begin(), config_.inUse.end(), [&](const std::string& path) {
        ResolvedPath resolved = resolver_.Resolve(path, PathUse::Read);
        return resolved && resolved.path == host;
    });
}

bool MachineFileSystem::HasOpenHandle(const fs::path& host) const {
    return std::any_of(files_.begin(), files_.end(),
                       [&](const auto& entry) { return entry.second.host == host; });
}

bool MachineFileSystem::SharingConflict(const fs::path& host, DWORD access, DWORD share) const {
    if (IsInUse(host) && !Compatible(kInUseAccess, kInUseShare, access, share)) {
        return true;
    }
    return std::any_of(files_.begin(), files_.end(), [&](const auto& entry) {
        const OpenFile& held = entry.second;
        return held.host == host && !Compatible(held.access, held.share, access, share);
    });
}

FileHandle MachineFileSystem::CreateFile(std::string_view path, DWORD access, DWORD shareMode,
                                         DWORD disposition) {
    if (disposition < kCreateNew || disposition > kTruncateExisting ||
        (disposition == kTruncateExisting && !(access & kGenericWrite))) {
        Fail(kErrorInvalidParameter);
        return {};
    }
    FullPath full = resolver_.GetFullPathName(path);
    ResolvedPath resolved = resolver_.Resolve(path, PathUse::Read);
    if (!full || !resolved) {
        Fail(full ? resolved.error : full.error);
        return {};
    }
    const fs::path& host = resolved.path;
    std::optional<struct stat> info = Stat(host);
    if (info && S_ISDIR(info->st_mode)) {
        Fail(kErrorAccessDenied);
        return {};
    }
    bool exists = info.has_value();
    if (disposition == kCreateNew && exists) {
        Fail(kErrorFileExists);
        return {};
    }
    if (!exists && (disposition == kOpenExisting || disposition == kTruncateExisting)) {
        Fail(MissingError(host));
        return {};
    }
    bool creating = !exists;
    bool truncating = exists && (disposition == kCreateAlways || disposition == kTruncateExisting);
    char drive = full.path[0];
    if (DWORD refusal = WriteRefusal(drive);
        refusal && ((access & kGenericWrite) || creating || truncating)) {
        Fail(refusal);
        return {};
    }
    // Windows opens a read-only file for reading only: writing, emptying and replacing it are
    // refused.
    if (exists && IsReadOnlyFile(*info) && ((access & kGenericWrite) || truncating)) {
        Fail(kErrorAccessDenied);
        return {};
    }
    if (creating && MissingError(host) == kErrorPathNotFound) {
        Fail(kErrorPathNotFound);
        return {};
    }
    if (exists && SharingConflict(host, access, shareMode)) {
        Fail(kErrorSharingViolation);
        return {};
    }

    if (DWORD fault = (creating || truncating || (access & kGenericWrite))
                          ? Fault(FaultKind::Create, host)
                          : 0) {
        Fail(fault);
        return {};
    }
    int flags = O_CLOEXEC;
    if ((access & kGenericRead) && (access & kGenericWrite)) {
        flags |= O_RDWR;
    } else if (access & kGenericWrite) {
        flags |= O_WRONLY;
    } else {
        flags |= O_RDONLY;
    }
    if (creating) {
        flags |= O_CREAT | O_EXCL;
    }
    if (truncating) {
        flags |= O_TRUNC;
    }
    int fd = ::open(host.c_str(), flags, 0666);
    if (fd < 0) {
        Fail(ErrorFromErrno(errno, host));
        return {};
    }
    if (truncating) {
        Release(drive, static_cast<std::uint64_t>(info->st_size));
    }
    FileHandle handle{nextHandle_++};
    files_[handle.value] = OpenFile{fd, host, drive, access, shareMode};
    bool reportExisting = exists && (disposition == kCreateAlways || disposition == kOpenAlways);
    lastError_ = reportExisting ? kErrorAlreadyExists : kErrorSuccess;
    return handle;
}

BOOL MachineFileSystem::ReadFile(FileHandle file, void* buffer, DWORD count, DWORD* read) {
    if (read) {
        *read = 0;
    }
    OpenFile* open = Find(file);
    if (!open) {
        return 0;
    }
    if (!(open->access & kGenericRead)) {
        return Fail(kErrorAccessDenied);
    }
    if (DWORD fault = Fault(FaultKind::Read, open->host)) {
        return Fail(fault);
    }
    DWORD done = 0;
    auto* bytes = static_cast<char*>(buffer);
    while (done < count) {
        ssize_t n = ::read(open->fd, bytes + done, count - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return Fail(ErrorFromErrno(errno, open->host));
        }
        if (n == 0) {
            break;
        }
        done += static_cast<DWORD>(n);
    }
    if (read) {
        *read = done;
    }
    return 1;
}

BOOL MachineFileSystem::WriteFile(FileHandle file, const void* buffer, DWORD count,
                                  DWORD* written) {
    if (written) {
        *written = 0;
    }
    OpenFile* open = Find(file);
    if (!open) {
        return 0;
    }
    if (!(open->access & kGenericWrite)) {
        return Fail(kErrorAccessDenied);
    }
    struct stat info {};
    off_t position = ::lseek(open->fd, 0, SEEK_CUR);
    if (position < 0 || ::fstat(open->fd, &info) != 0) {
        return Fail(ErrorFromErrno(errno, open->host));
    }
    auto end = static_cast<std::uint64_t>(position) + count;
    auto size = static_cast<std::uint64_t>(info.st_size);
    std::uint64_t growth = end > size ? end - size : 0;
    std::optional<std::uint64_t>& budget = budget_[static_cast<std::size_t>(open->drive - 'A')];
    if (budget && growth > *budget) {
        return Fail(kErrorDiskFull); // nothing written: the file stays as it was
    }
    if (DWORD fault = Fault(FaultKind::Write, open->host)) {
        return Fail(fault);
    }
    DWORD done = 0;
    const auto* bytes = static_cast<const char*>(buffer);
    while (done < count) {
        ssize_t n = ::write(open->fd, bytes + done, count - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (written) {
                *written = done;
            }
            return Fail(ErrorFromErrno(n < 0 ? errno : ENOSPC, open->host));
        }
        done += static_cast<DWORD>(n);
    }
    if (budget) {
        *budget -= growth;
    }
    if (written) {
        *written = done;
    }
    if (faults_ != nullptr) {
        faults_->Written();
    }
    return 1;
}

DWORD MachineFileSystem::SetFilePointer(FileHandle file, LONG distance, DWORD method) {
    OpenFile* open = Find(file);
    if (!open) {
        return kInvalidFileSize;
    }
    struct stat info {};
    off_t base = 0;
    switch (method) {
    case kFileBegin:
        break;
    case kFileCurrent:
        base = ::lseek(open->fd, 0, SEEK_CUR);
        break;
    case kFileEnd:
        base = ::fstat(open->fd, &info) == 0 ? info.st_size : -1;
        break;
    default:
        Fail(kErrorInvalidParameter);
        return kInvalidFileSize;
    }
    std::int64_t target = static_cast<std::int64_t>(base) + distance;
    if (base < 0 || target < 0 || target >= std::int64_t{kInvalidFileSize}) {
        Fail(kErrorNegativeSeek);
        return kInvalidFileSize;
    }
    if (::lseek(open->fd, static_cast<off_t>(target), SEEK_SET) < 0) {
        Fail(ErrorFromErrno(errno, open->host));
        return kInvalidFileSize;
    }
    lastError_ = kErrorSuccess;
    return static_cast<DWORD>(target);
}

DWORD MachineFileSystem::GetFileSize(FileHandle file) {
    OpenFile* open = Find(file);
    struct stat info {};
    if (!open || ::fstat(open->fd, &info) != 0) {
        return kInvalidFileSize;
    }
    return static_cast<DWORD>(
        std::min<std::uint64_t>(static_cast<std::uint64_t>(info.st_size), kInvalidFileSize - 1));
}

BOOL MachineFileSystem::CloseHandle(FileHandle file) {
    OpenFile* open = Find(file);
    if (!open) {
        return 0;
    }
    ::close(open->fd);
    files_.erase(file.value);
    return 1;
}

BOOL MachineFileSystem::DeleteFile(std::string_view path) {
    FullPath full = resolver_.GetFullPathName(path);
    ResolvedPath resolved = resolver_.Resolve(path, PathUse::Read);
    if (!full || !resolved) {
        return Fail(full ? resolved.error : full.error);
    }
    std::optional<struct stat> info = Stat(resolved.path);
    if (!info) {
        return Fail(MissingError(resolved.path));
    }
    if (S_ISDIR(info->st_mode)) {
        return Fail(kErrorAccessDenied);
    }
    if (DWORD refusal = WriteRefusal(full.path[0])) {
        return Fail(refusal);
    }
    if (IsReadOnlyFile(*info)) {
        return Fail(kErrorAccessDenied);
    }
    if (HasOpenHandle(resolved.path) || IsInUse(resolved.path)) {
        return Fail(kErrorSharingViolation);
    }
    if (DWORD fault = Fault(FaultKind::Delete, resolved.path)) {
        return Fail(fault);
    }
    if (::unlink(resolved.path.c_str()) != 0) {
        return Fail(ErrorFromErrno(errno, resolved.path));
    }
    Release(full.path[0], static_cast<std::uint64_t>(info->st_size));
    return 1;
}

BOOL MachineFileSystem::MoveFileEx(std::string_view existing, std::string_view newName,
                                   DWORD flags) {
    const FullPath fromFull = resolver_.GetFullPathName(existing);
    const FullPath toFull = resolver_.GetFullPathName(newName);
    if (!fromFull || !toFull) {
        return Fail(fromFull ? toFull.error : fromFull.error);
    }
    const ResolvedPath from = resolver_.Resolve(existing, PathUse::Write);
    const ResolvedPath to = resolver_.Resolve(newName, PathUse::Write);
    if (!from || !to) {
        return Fail(from ? to.error : from.error);
    }
    const std::optional<struct stat> source = Stat(from.path);
    if (!source) {
        return Fail(MissingError(from.path));
    }
    const std::optional<struct stat> target = Stat(to.path);
    if (S_ISDIR(source->st_mode) || (target && S_ISDIR(target->st_mode))) {
        return Fail(kErrorAccessDenied);
    }
    if (target && !(flags & kMoveFileReplaceExisting)) {
        return Fail(kErrorAlreadyExists);
    }
    const char drive = DriveLetterOf(fromFull.path);
    if (drive != DriveLetterOf(toFull.path)) {
        return Fail(kErrorNotSameDevice);
    }
    if (DWORD refusal = WriteRefusal(drive)) {
        return Fail(refusal);
    }
    if (target && IsReadOnlyFile(*target)) {
        return Fail(kErrorAccessDenied); // a read-only file is not replaced
    }
    if (HasOpenHandle(from.path) || IsInUse(from.path) ||
        (target && (HasOpenHandle(to.path) || IsInUse(to.path)))) {
        return Fail(kErrorSharingViolation);
    }
    if (DWORD fault = Fault(FaultKind::Move, to.path)) {
        return Fail(fault);
    }
    if (::rename(from.path.c_str(), to.path.c_str()) != 0) {
        return Fail(ErrorFromErrno(errno, to.path));
    }
    if (target) {
        Release(drive, static_cast<std::uint64_t>(target->st_size));
    }
    return 1;
}

DWORD MachineFileSystem::GetFileAttributes(std::string_view path) {
    ResolvedPath resolved = resolver_.Resolve(path, PathUse::Read);
    if (!resolved) {
        Fail(resolved.error);
        return kInvalidFileAttributes;
    }
    std::optional<struct stat> info = Stat(resolved.path);
    if (!info) {
        Fail(MissingError(resolved.path));
        return kInvalidFileAttributes;
    }
    if (S_ISDIR(info->st_mode)) {
        return kFileAttributeDirectory;
    }
    return kFileAttributeArchive | ((info->st_mode & S_IWUSR) ? 0 : kFileAttributeReadOnly);
}

BOOL MachineFileSystem::GetFileTime(FileHandle file, FILETIME* creation, FILETIME* lastAccess,
                                    FILETIME* lastWrite) {
    OpenFile* open = Find(file);
    if (!open) {
        return 0;
    }
    struct stat info {};
    if (::fstat(open->fd, &info) != 0) {
        return Fail(ErrorFromErrno(errno, open->host));
    }
    // The host keeps no settable creation time; the last-write time stands in for it.
    if (creation) {
        *creation = ToFileTime(info.st_mtim);
    }
    if (lastAccess) {
        *lastAccess = ToFileTime(info.st_atim);
    }
    if (lastWrite) {
        *lastWrite = ToFileTime(info.st_mtim);
    }
    return 1;
}

BOOL MachineFileSystem::SetFileTime(FileHandle file, const FILETIME* creation,
                                    const FILETIME* lastAccess, const FILETIME* lastWrite) {
    (void)creation; // not kept by the host; accepted as Windows accepts it
    OpenFile* open = Find(file);
    if (!open) {
        return 0;
    }
    if (!(open->access & kGenericWrite)) {
        return Fail(kErrorAccessDenied);
    }
    timespec times[2];
    times[0] = lastAccess ? ToTimespec(*lastAccess) : timespec{0, UTIME_OMIT};
    times[1] = lastWrite ? ToTimespec(*lastWrite) : timespec{0, UTIME_OMIT};
    if (::futimens(open->fd, times) != 0) {
        return Fail(ErrorFromErrno(errno, open->host));
    }
    return 1;
}

BOOL MachineFileSystem::CreateDirectory(std::string_view path) {
    FullPath full = resolver_.GetFullPathName(path);
    ResolvedPath resolved = resolver_.Resolve(path, PathUse::Read);
    if (!full || !resolved) {
        return Fail(full ? resolved.error : full.error);
    }
    if (Stat(resolved.path)) {
        return Fail(kErrorAlreadyExists);
    }
    if (DWORD refusal = WriteRefusal(full.path[0])) {
        return Fail(refusal);
    }
    if (MissingError(resolved.path) == kErrorPathNotFound) {
        return Fail(kErrorPathNotFound);
    }
    if (DWORD fault = Fault(FaultKind::Create, resolved.path)) {
        return Fail(fault);
    }
    if (::mkdir(resolved.path.c_str(), 0777) != 0) {
        return Fail(ErrorFromErrno(errno, resolved.path));
    }
    return 1;
}

BOOL MachineFileSystem::RemoveDirectory(std::string_view path) {
    FullPath full = resolver_.GetFullPathName(path);
    ResolvedPath resolved = resolver_.Resolve(path, PathUse::Read);
    if (!full || !resolved) {
        return Fail(full ? resolved.error : full.error);
    }
    std::optional<struct stat> info = Stat(resolved.path);
    if (!info) {
        return Fail(MissingError(resolved.path));
    }
    if (!S_ISDIR(info->st_mode)) {
        return Fail(kErrorDirectory);
    }
    if (DWORD refusal = WriteRefusal(full.path[0])) {
        return Fail(refusal);
    }
    if (full.path.size() <= 3) {
        return Fail(kErrorAccessDenied);
    }
    if (::rmdir(resolved.path.c_str()) != 0) {
        return Fail(ErrorFromErrno(errno, resolved.path));
    }
    return 1;
}

BOOL MachineFileSystem::SetCurrentDirectory(std::string_view path) {
    DWORD error = resolver_.SetCurrentDirectory(path);
    return error == kErrorSuccess ? 1 : Fail(error);
}

std::string MachineFileSystem::GetCurrentDirectory() const {
    return resolver_.GetCurrentDirectory();
}

std::optional<std::uint64_t> MachineFileSystem::FreeBytes(char letter, std::uint64_t* total) const {
    ResolvedPath root = resolver_.DriveRoot(letter);
    if (!root) {
        return std::nullopt;
    }
    struct statvfs host {};
    std::uint64_t hostFree = 0;
    std::uint64_t hostTotal = 0;
    if (::statvfs(root.path.c_str(), &host) == 0) {
        hostFree = std::uint64_t{host.f_bavail} * host.f_frsize;
        hostTotal = std::uint64_t{host.f_blocks} * host.f_frsize;
    }
    const std::optional<std::uint64_t>& budget = budget_[static_cast<std::size_t>(letter - 'A')];
    std::uint64_t free = budget ? *budget : hostFree;
    *total = std::max(hostTotal, free);
    return free;
}

char MachineFileSystem::DriveOf(std::string_view windowsPath) const {
    const FullPath full = resolver_.GetFullPathName(windowsPath);
    return full ? DriveLetterOf(full.path) : '\0';
}

std::optional<std::uint64_t> MachineFileSystem::Room(char drive) const {
    if (drive < 'A' || drive > 'Z') {
        return std::nullopt;
    }
    return budget_[static_cast<std::size_t>(drive - 'A')];
}

void MachineFileSystem::Count(char drive, std::int64_t change) {
    if (drive < 'A' || drive > 'Z') {
        return;
    }
    std::optional<std::uint64_t>& budget = budget_[static_cast<std::size_t>(drive - 'A')];
    if (!budget) {
        return;
    }
    const std::uint64_t amount = change < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(change)
                                            : static_cast<std::uint64_t>(change);
    if (change < 0) {
        *budget += amount;
    } else {
        *budget -= std::min(*budget, amount);
    }
}

void MachineFileSystem::Release(char letter, std::uint64_t bytes) {
    std::optional<std::uint64_t>& budget = budget_[static_cast<std::size_t>(letter - 'A')];
    if (budget) {
        *budget += bytes;
    }
}

BOOL MachineFileSystem::GetDiskFreeSpace(std::string_view rootPath, DiskFreeSpace* space) {
    char letter = rootPath.empty() ? resolver_.GetCurrentDirectory()[0] : DriveLetterOf(rootPath);
    if (letter == 0 || (rootPath.size() > 3) || (rootPath.size() == 3 && rootPath[2] != '\\')) {
        return Fail(kErrorInvalidName); // a root ("C:\") is needed, as on Windows 95
    }
    if (ResolvedPath root = resolver_.DriveRoot(letter); !root) {
        return Fail(root.error);
    }
    std::uint64_t total = 0;
    std::uint64_t free = FreeBytes(letter, &total).value_or(0);
    space->bytesPerSector = 512;
    space->sectorsPerCluster = 1;
    space->freeClusters = static_cast<DWORD>(std::min(free, kClassicLimit) / 512);
    space->totalClusters = static_cast<DWORD>(std::min(total, kClassicLimit) / 512);
    return 1;
}

BOOL MachineFileSystem::GetDiskFreeSpaceEx(std::string_view path, DiskFreeSpaceEx* space) {
    FullPath full = resolver_.GetFullPathName(path.empty() ? std::string_view(".") : path);
    if (!full) {
        return Fail(full.error);
    }
    if (ResolvedPath root = resolver_.DriveRoot(full.path[0]); !root) {
        return Fail(root.error);
    }
    std::uint64_t total = 0;
    std::uint64_t free = FreeBytes(full.path[0], &total).value_or(0);
    space->freeBytesAvailable = free;
    space->totalFreeBytes = free;
    space->totalBytes = total;
    return 1;
}

DWORD MachineFileSystem::GetLogicalDrives() const {
    DWORD mask = 0;
    for (std::size_t i = 0; i < config_.drives.size(); ++i) {
        if (config_.drives[i].state != DriveConfig::State::Missing) {
            mask |= DWORD{1} << i;
        }
    }
    return mask;
}

UINT MachineFileSystem::GetDriveType(std::string_view rootPath) const {
    char letter = rootPath.empty() ? resolver_.GetCurrentDirectory()[0] : DriveLetterOf(rootPath);
    if (letter == 0 || config_.Drive(letter).state == DriveConfig::State::Missing) {
        return kDriveNoRootDir;
    }
    return letter == 'A' || letter == 'B' ? kDriveRemovable : kDriveFixed;
}

} // namespace tl::host
