#include "platform/host/direct_file_system.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tl::host {
namespace {

constexpr DWORD kErrorNegativeSeek = 131;
constexpr DWORD kErrorDiskFull = 112;
constexpr DWORD kFileAttributeReadOnly = 0x01;
constexpr DWORD kFileAttributeArchive = 0x20;

std::string ParentOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return path.substr(0, slash);
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

DWORD WinErrorFromErrno(int error, const std::string& path) {
    switch (error) {
    case ENOENT:
        return IsDirectory(ParentOf(path)) ? kErrorFileNotFound : kErrorPathNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return kErrorPathNotFound;
    case EEXIST:
        return kErrorFileExists;
    case ENOSPC:
        return kErrorDiskFull;
    case ENOMEM:
        return kErrorNotEnoughMemory;
    case EINVAL:
        return kErrorInvalidParameter;
    default: // EACCES, EPERM, EISDIR, EROFS, ETXTBSY, ...
        return kErrorAccessDenied;
    }
}

DirectFileSystem::~DirectFileSystem() {
    for (auto& [handle, file] : open_) {
        ::close(file.fd);
    }
}

BOOL DirectFileSystem::Fail(DWORD error) {
    lastError_ = error;
    return 0;
}

std::optional<std::string> DirectFileSystem::HostPath(std::string_view path, PathUse use) {
    if (path.empty()) {
        Fail(kErrorPathNotFound);
        return std::nullopt;
    }
    if (!resolver_) {
        return std::string{path};
    }
    const ResolvedPath resolved = resolver_->Resolve(path, use);
    if (!resolved) {
        Fail(resolved.error);
        return std::nullopt;
    }
    return resolved.path.string();
}

DirectFileSystem::OpenFile* DirectFileSystem::Find(FileHandle file) {
    const auto found = open_.find(file.value);
    return found == open_.end() ? nullptr : &found->second;
}

// Win32's rule: an open is refused when an existing handle of the same file does not share
// what the new one wants, or the new one does not share what an existing handle has.
bool DirectFileSystem::SharingAllows(std::uint64_t device, std::uint64_t inode, DWORD access,
                                     DWORD shareMode) const {
    for (const auto& [handle, other] : open_) {
        if (other.device != device || other.inode != inode) {
            continue;
        }
        if ((access & kGenericRead) && !(other.shareMode & kFileShareRead)) {
            return false;
        }
        if ((access & kGenericWrite) && !(other.shareMode & kFileShareWrite)) {
            return false;
        }
        if ((other.access & kGenericRead) && !(shareMode & kFileShareRead)) {
            return false;
        }
        if ((other.access & kGenericWrite) && !(shareMode & kFileShareWrite)) {
            return false;
        }
    }
    return true;
}

FileHandle DirectFileSystem::CreateFile(std::string_view windowsPath, DWORD access, DWORD shareMode,
                                        DWORD disposition) {
    int flags = O_CLOEXEC;
    const bool reads = access & kGenericRead;
    const bool writes = access & kGenericWrite;
    flags |= reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY;
    switch (disposition) {
    case kCreateNew:
        flags |= O_CREAT | O_EXCL;
        break;
    case kCreateAlways:
        flags |= O_CREAT;
        break;
    case kOpenExisting:
        break;
    case kOpenAlways:
        flags |= O_CREAT;
        break;
    default:
        Fail(kErrorInvalidParameter);
        return {};
    }
    const bool mayChange = writes || disposition != kOpenExisting;
    const auto hostPath = HostPath(windowsPath, mayChange ? PathUse::Write : PathUse::Read);
    if (!hostPath) {
        return {};
    }
    const std::string& path = *hostPath;

    struct stat before {};
    const bool existed = ::stat(path.c_str(), &before) == 0;
    if (existed && S_ISDIR(before.st_mode)) {
        // Opening a folder as a file is refused, as it is without backup semantics.
        Fail(kErrorAccessDenied);
        return {};
    }
    if (existed && !SharingAllows(before.st_dev, before.st_ino, access, shareMode)) {
        Fail(kErrorSharingViolation);
        return {};
    }

    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        Fail(WinErrorFromErrno(errno, path));
        return {};
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        Fail(kErrorAccessDenied);
        return {};
    }
    // Truncate only after the sharing check passed and the file is known to be a file.
    if (disposition == kCreateAlways && ::ftruncate(fd, 0) != 0) {
        const int error = errno;
        ::close(fd);
        Fail(WinErrorFromErrno(error, path));
        return {};
    }

    const FileHandle handle{++lastHandle_};
    open_[handle.value] = OpenFile{fd, access, shareMode, static_cast<std::uint64_t>(info.st_dev),
                                   static_cast<std::uint64_t>(info.st_ino)};
    const bool reportsExisting =
        existed && (disposition == kCreateAlways || disposition == kOpenAlways);
    lastError_ = reportsExisting ? kErrorAlreadyExists : kErrorSuccess;
    return handle;
}

BOOL DirectFileSystem::ReadFile(FileHandle file, void* buffer, DWORD count, DWORD* read) {
    if (read) {
        *read = 0;
    }
    OpenFile* open = Find(file);
    if (!open) {
        return Fail(kErrorInvalidHandle);
    }
    if (!(open->access & kGenericRead)) {
        return Fail(kErrorAccessDenied);
    }
    DWORD total = 0;
    while (total < count) {
        const ssize_t got = ::read(open->fd, static_cast<char*>(buffer) + total, count - total);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail(WinErrorFromErrno(errno, {}));
        }
        if (got == 0) {
            break;
        }
        total += static_cast<DWORD>(got);
    }
    if (read) {
        *read = total;
    }
    return 1;
}

BOOL DirectFileSystem::WriteFile(FileHandle file, const void* buffer, DWORD count, DWORD* written) {
    if (written) {
        *written = 0;
    }
    OpenFile* open = Find(file);
    if (!open) {
        return Fail(kErrorInvalidHandle);
    }
    if (!(open->access & kGenericWrite)) {
        return Fail(kErrorAccessDenied);
    }
    DWORD total = 0;
    while (total < count) {
        const ssize_t put =
            ::write(open->fd, static_cast<const char*>(buffer) + total, count - total);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            if (written) {
                *written = total;
            }
            return Fail(WinErrorFromErrno(error, {}));
        }
        total += static_cast<DWORD>(put);
    }
    if (written) {
        *written = total;
    }
    return 1;
}

DWORD DirectFileSystem::SetFilePointer(FileHandle file, LONG distance, DWORD method) {
    OpenFile* open = Find(file);
    if (!open) {
        Fail(kErrorInvalidHandle);
        return kInvalidFileSize;
    }
    off_t origin = 0;
    struct stat info {};
    switch (method) {
    case kFileBegin:
        break;
    case kFileCurrent:
        origin = ::lseek(open->fd, 0, SEEK_CUR);
        break;
    case kFileEnd:
        origin = ::fstat(open->fd, &info) == 0 ? info.st_size : -1;
        break;
    default:
        Fail(kErrorInvalidParameter);
        return kInvalidFileSize;
    }
    if (origin < 0) {
        Fail(kErrorInvalidHandle);
        return kInvalidFileSize;
    }
    const off_t target = origin + distance;
    if (target < 0) {
        // Win32 refuses to move before the start and leaves the position where it was.
        Fail(kErrorNegativeSeek);
        return kInvalidFileSize;
    }
    const off_t now = ::lseek(open->fd, target, SEEK_SET);
    if (now < 0) {
        Fail(kErrorInvalidParameter);
        return kInvalidFileSize;
    }
    return static_cast<DWORD>(now);
}

DWORD DirectFileSystem::GetFileSize(FileHandle file) {
    OpenFile* open = Find(file);
    if (!open) {
        Fail(kErrorInvalidHandle);
        return kInvalidFileSize;
    }
    struct stat info {};
    if (::fstat(open->fd, &info) != 0) {
        Fail(WinErrorFromErrno(errno, {}));
        return kInvalidFileSize;
    }
    return static_cast<DWORD>(static_cast<std::uint64_t>(info.st_size) & 0xFFFFFFFFu);
}

BOOL DirectFileSystem::CloseHandle(FileHandle file) {
    OpenFile* open = Find(file);
    if (!open) {
        return Fail(kErrorInvalidHandle);
    }
    ::close(open->fd);
    open_.erase(file.value);
    return 1;
}

BOOL DirectFileSystem::DeleteFile(std::string_view windowsPath) {
    const auto hostPath = HostPath(windowsPath, PathUse::Write);
    if (!hostPath) {
        return 0;
    }
    const std::string& path = *hostPath;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            return Fail(kErrorAccessDenied);
        }
        // Win32 refuses to delete a file that is open without delete sharing; the port has
        // no delete sharing, so any open handle keeps the file.
        for (const auto& [handle, other] : open_) {
            if (other.device == static_cast<std::uint64_t>(info.st_dev) &&
                other.inode == static_cast<std::uint64_t>(info.st_ino)) {
                return Fail(kErrorSharingViolation);
            }
        }
    }
    if (::unlink(path.c_str()) != 0) {
        return Fail(WinErrorFromErrno(errno, path));
    }
    return 1;
}

BOOL DirectFileSystem::MoveFileEx(std::string_view existing, std::string_view newName,
                                  DWORD flags) {
    const auto from = HostPath(existing, PathUse::Write);
    const auto to = from ? HostPath(newName, PathUse::Write) : std::nullopt;
    if (!to) {
        return 0;
    }
    struct stat source {};
    if (::stat(from->c_str(), &source) != 0) {
        return Fail(WinErrorFromErrno(errno, *from));
    }
    struct stat target {};
    const bool targetExists = ::stat(to->c_str(), &target) == 0;
    if (S_ISDIR(source.st_mode) || (targetExists && S_ISDIR(target.st_mode))) {
        return Fail(kErrorAccessDenied);
    }
    if (targetExists && !(flags & kMoveFileReplaceExisting)) {
        return Fail(kErrorAlreadyExists);
    }
    if (targetExists && source.st_dev != target.st_dev) {
        return Fail(kErrorNotSameDevice);
    }
    // Like DeleteFile: an open handle keeps either file where it is.
    for (const auto& [handle, other] : open_) {
        const bool isSource = other.device == static_cast<std::uint64_t>(source.st_dev) &&
                              other.inode == static_cast<std::uint64_t>(source.st_ino);
        const bool isTarget = targetExists &&
                              other.device == static_cast<std::uint64_t>(target.st_dev) &&
                              other.inode == static_cast<std::uint64_t>(target.st_ino);
        if (isSource || isTarget) {
            return Fail(kErrorSharingViolation);
        }
    }
    if (::rename(from->c_str(), to->c_str()) != 0) {
        return Fail(errno == EXDEV ? kErrorNotSameDevice : WinErrorFromErrno(errno, *to));
    }
    return 1;
}

DWORD DirectFileSystem::GetFileAttributes(std::string_view windowsPath) {
    const auto hostPath = HostPath(windowsPath, PathUse::Read);
    if (!hostPath) {
        return kInvalidFileAttributes;
    }
    struct stat info {};
    if (::stat(hostPath->c_str(), &info) != 0) {
        Fail(WinErrorFromErrno(errno, *hostPath));
        return kInvalidFileAttributes;
    }
    if (S_ISDIR(info.st_mode)) {
        return kFileAttributeDirectory;
    }
    DWORD attributes = kFileAttributeArchive;
    if (!(info.st_mode & S_IWUSR)) {
        attributes |= kFileAttributeReadOnly;
    }
    return attributes;
}

} // namespace tl::host
