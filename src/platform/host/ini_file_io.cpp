#include "platform/host/ini_file_io.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tl::host {

namespace {

DWORD ToWin32Error(const std::error_code& error) {
    if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory) {
        return kErrorPathNotFound;
    }
    if (error == std::errc::no_space_on_device) {
        return kErrorDiskFull;
    }
    return kErrorAccessDenied;
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The temporary file beside `path`, made new: never through a link or a file left there (an
// earlier one is removed first, which removes a link, not what it points to).
int CreateTemporary(const std::filesystem::path& temporary, mode_t mode) {
    constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::open(temporary.c_str(), kFlags, mode);
    if (fd < 0 && errno == EEXIST && ::unlink(temporary.c_str()) == 0) {
        fd = ::open(temporary.c_str(), kFlags, mode);
    }
    return fd;
}

} // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, Links links) {
    // O_NONBLOCK: a FIFO in the file's place must not stop the run.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (links == Links::Refuse ? O_NOFOLLOW : 0);
    Descriptor file(::open(path.c_str(), flags));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return std::nullopt;
        }
        if (n == 0) {
            return bytes;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

DWORD ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    std::error_code error;
    const auto folder = path.parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
        return kErrorPathNotFound;
    }
    const auto existing = std::filesystem::status(path, error);
    if (std::filesystem::is_directory(existing)) {
        return kErrorAccessDenied;
    }
    // A file without write permission stands for one with the read-only attribute, which
    // Windows refuses to write. (The check is explicit because a rename would not be stopped.)
    const bool exists = std::filesystem::exists(existing);
    if (exists && (existing.permissions() & std::filesystem::perms::owner_write) ==
                      std::filesystem::perms::none) {
        return kErrorAccessDenied;
    }
    auto temporary = path;
    temporary += ".tl~";
    const auto mode =
        static_cast<mode_t>(exists ? existing.permissions() & std::filesystem::perms::mask
                                   : std::filesystem::perms(0666));
    {
        Descriptor out(CreateTemporary(temporary, mode));
        if (out.Get() < 0) {
            return kErrorAccessDenied;
        }
        if (!WriteAll(out.Get(), bytes)) {
            const DWORD code =
                errno == ENOSPC || errno == EDQUOT ? kErrorDiskFull : kErrorAccessDenied;
            ::unlink(temporary.c_str());
            return code;
        }
        if (exists) {
            ::fchmod(out.Get(), mode); // the umask may have taken bits the file had
        }
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        const DWORD code = ToWin32Error(error);
        ::unlink(temporary.c_str());
        return code;
    }
    return kErrorSuccess;
}

} // namespace tl::host
