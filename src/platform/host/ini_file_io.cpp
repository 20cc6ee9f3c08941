#include "platform/host/ini_file_io.h"

#include <fstream>
#include <system_error>

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

} // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
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
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            return kErrorAccessDenied;
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::filesystem::remove(temporary, error);
            return kErrorDiskFull;
        }
    }
    if (exists) {
        std::filesystem::permissions(temporary, existing.permissions(), error);
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        const DWORD code = ToWin32Error(error);
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return code;
    }
    return kErrorSuccess;
}

} // namespace tl::host
