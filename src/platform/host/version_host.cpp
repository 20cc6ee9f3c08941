#include "platform/host/version_host.h"

#include "platform/host/szdd_expander.h"
#include "platform/host/version_query.h"
#include "platform/host/version_resource_reader.h"

#include <array>
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

// A compressed driver is expanded whole before it is read; drivers are small, and a promise of
// more than this is not believed.
constexpr DWORD kMaxExpandedImage = 64u << 20;

class StreamReader final : public ByteReader {
public:
    explicit StreamReader(std::ifstream& in) : in_(in) {}
    std::optional<std::size_t> Read(void* buffer, std::size_t size) override {
        in_.read(static_cast<char*>(buffer), static_cast<std::streamsize>(size));
        if (in_.bad()) {
            return std::nullopt;
        }
        return static_cast<std::size_t>(in_.gcount());
    }

private:
    std::ifstream& in_;
};

class VectorWriter final : public ByteWriter {
public:
    explicit VectorWriter(std::vector<BYTE>& out) : out_(out) {}
    bool Write(const void* buffer, std::size_t size) override {
        const auto* bytes = static_cast<const BYTE*>(buffer);
        out_.insert(out_.end(), bytes, bytes + size);
        return true;
    }

private:
    std::vector<BYTE>& out_;
};

// The expanded bytes of an SZDD file; none when the file is not compressed. A compressed file
// that does not expand gives an empty image (and so no version).
std::optional<std::vector<BYTE>> ExpandIfCompressed(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::array<BYTE, kSzddHeaderSize> head{};
    in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    const auto header =
        ParseSzddHeader(std::span(head).first(static_cast<std::size_t>(in.gcount())));
    if (!header) {
        return std::nullopt;
    }
    std::vector<BYTE> image;
    if (header->expandedLength > kMaxExpandedImage) {
        return image;
    }
    in.clear();
    in.seekg(0);
    StreamReader reader(in);
    VectorWriter writer(image);
    if (ExpandSzdd(reader, writer) < 0) {
        image.clear();
    }
    return image;
}

// The version resource of a Windows path, or none with the reason in error. Like the system's
// own version functions, which open files through the LZ expansion, a compressed file is read as
// the file it expands to: an install disk's "UNIDRV.DR_" shows the version of UNIDRV.DRV.
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
    if (const auto expanded = ExpandIfCompressed(resolved.path)) {
        return ReadVersionResource(MemoryByteSource(*expanded), &error);
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
