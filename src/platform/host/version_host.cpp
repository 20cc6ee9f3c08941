#include "platform/host/version_host.h"

#include "platform/host/version_query.h"
#include "platform/host/version_resource_reader.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace tl::host {
namespace {

class FileByteSource final : public ByteSource {
public:
    explicit FileByteSource(const std::filesystem::path& path) : in_(path, std::ios::binary) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(path, ec);
        size_ = ec ? 0 : size;
    }
    bool IsOpen() const { return in_.is_open(); }
    std::uint64_t Size() const override { return size_; }
    bool ReadAt(std::uint64_t offset, std::span<BYTE> out) const override {
        if (offset > size_ || out.size() > size_ - offset) {
            return false;
        }
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(offset));
        in_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
        return in_.good() || static_cast<std::size_t>(in_.gcount()) == out.size();
    }

private:
    mutable std::ifstream in_;
    std::uint64_t size_ = 0;
};

// The version resource of a Windows path, or none with the reason in error.
std::optional<std::vector<BYTE>> LoadResource(const PathResolver& resolver, std::string_view path,
                                              DWORD& error) {
    const ResolvedPath resolved = resolver.Resolve(path, PathUse::Read);
    if (!resolved) {
        error = resolved.error;
        return std::nullopt;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(resolved.path, ec)) {
        const auto parent = resolved.path.parent_path();
        error = std::filesystem::is_directory(resolved.path, ec) ? kErrorAccessDenied
                : (parent.empty() || std::filesystem::is_directory(parent, ec))
                    ? kErrorFileNotFound
                    : kErrorPathNotFound;
        return std::nullopt;
    }
    const FileByteSource file(resolved.path);
    if (!file.IsOpen()) {
        error = kErrorAccessDenied;
        return std::nullopt;
    }
    return ReadVersionResource(file, &error);
}

} // namespace

DWORD HostVersionInfo::GetFileVersionInfoSize(std::string_view path, DWORD* handle) {
    if (handle != nullptr) {
        *handle = 0;
    }
    DWORD error = kErrorSuccess;
    const auto bytes = LoadResource(resolver_, path, error);
    if (!bytes) {
        lastError_ = error;
        return 0;
    }
    lastError_ = kErrorSuccess;
    return static_cast<DWORD>(bytes->size());
}

BOOL HostVersionInfo::GetFileVersionInfo(std::string_view path, DWORD, DWORD length, void* data) {
    DWORD error = kErrorSuccess;
    const auto bytes = LoadResource(resolver_, path, error);
    if (!bytes) {
        lastError_ = error;
        return 0;
    }
    if (data == nullptr || length < bytes->size()) {
        lastError_ = kErrorInsufficientBuffer;
        return 0;
    }
    std::memcpy(data, bytes->data(), bytes->size());
    lastError_ = kErrorSuccess;
    return 1;
}

BOOL HostVersionInfo::VerQueryValue(const void* block, std::string_view subBlock,
                                    const void** buffer, UINT* length) {
    if (block == nullptr || buffer == nullptr || length == nullptr) {
        return 0;
    }
    // The block is as long as its root node says (GetFileVersionInfo made sure it holds that).
    const auto* bytes = static_cast<const BYTE*>(block);
    const std::size_t size = static_cast<std::size_t>(bytes[0] | bytes[1] << 8);
    const auto value = QueryVersionValue(std::span(bytes, size), subBlock);
    if (!value) {
        return 0;
    }
    *buffer = value->data;
    *length = value->length;
    return 1;
}

} // namespace tl::host
