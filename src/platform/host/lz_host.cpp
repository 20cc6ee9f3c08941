#include "platform/host/lz_host.h"

#include "platform/host/szdd_expander.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>
#include <utility>

namespace tl::host {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCopyChunk = 64 * 1024;
constexpr UINT kLwriteError = 0xFFFFFFFFu;

class FileReader final : public ByteReader {
public:
    explicit FileReader(std::FILE* file) : file_(file) {}
    std::optional<std::size_t> Read(void* buffer, std::size_t size) override {
        const std::size_t n = std::fread(buffer, 1, size, file_);
        if (n < size && std::ferror(file_) != 0) {
            return std::nullopt;
        }
        return n;
    }

private:
    std::FILE* file_;
};

class FileWriter final : public ByteWriter {
public:
    explicit FileWriter(std::FILE* file) : file_(file) {}
    bool Write(const void* buffer, std::size_t size) override {
        return std::fwrite(buffer, 1, size, file_) == size;
    }

private:
    std::FILE* file_;
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

bool IsRegularFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// Why a file cannot be found: its folder is missing (3) or only the file is (2).
DWORD MissingFileError(const fs::path& path) {
    std::error_code ec;
    const fs::path parent = path.parent_path();
    if (!parent.empty() && !fs::is_directory(parent, ec)) {
        return kErrorPathNotFound;
    }
    return kErrorFileNotFound;
}

bool IsReadingStyle(WORD style) {
    return (style & (kOfCreate | kOfDelete)) == 0 && (style & 0x3) == kOfRead;
}

} // namespace

std::string CompressedName(std::string_view fileName) {
    std::string name(fileName);
    const std::size_t slash = name.find_last_of("\\/:");
    const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = name.find('.', base);
    if (dot == std::string::npos) {
        return name + "._";
    }
    if (name.size() - dot - 1 < 3) {
        return name + "_";
    }
    name.back() = '_';
    return name;
}

HostLzExpand::HostLzExpand(const PathResolver& resolver, EventSink& events,
                           std::function<std::string(std::string_view)> toUtf8)
    : resolver_(resolver), events_(events), toUtf8_(std::move(toUtf8)) {}

HostLzExpand::~HostLzExpand() = default;

LzHandle HostLzExpand::Fail(OfStruct& of, DWORD error) {
    of.nErrCode = static_cast<WORD>(error);
    return kHfileError;
}

bool HostLzExpand::HeldOpen(const fs::path& path) const {
    return heldOpen_ && IsRegularFile(path) && heldOpen_(path);
}

LzHandle HostLzExpand::Add(OpenLzFile file) {
    // As in LZ32, plain files get small numbers and expanding handles numbers from 0x400 on; the
    // lowest free number is taken, so a long run never runs out of them.
    const LzHandle first = file.compressed ? kFirstCompressedHandle : 1;
    const LzHandle last =
        file.compressed ? std::numeric_limits<LzHandle>::max() : kFirstCompressedHandle - 1;
    LzHandle handle = first;
    for (auto it = files_.lower_bound(first); it != files_.end() && it->first == handle; ++it) {
        ++handle;
    }
    if (handle > last || handle < first) {
        return kHfileError;
    }
    files_.emplace(handle, std::move(file));
    return handle;
}

HostLzExpand::OpenLzFile* HostLzExpand::Find(LzHandle file) {
    const auto it = files_.find(file);
    return it == files_.end() ? nullptr : &it->second;
}

LzHandle HostLzExpand::OpenForCreate(std::string_view fileName, OfStruct& of, WORD style) {
    const ResolvedPath resolved = resolver_.Resolve(fileName, PathUse::Write);
    if (!resolved) {
        return Fail(of, resolved.error);
    }
    std::error_code ec;
    if (fs::is_directory(resolved.path, ec)) {
        return Fail(of, kErrorAccessDenied);
    }
    if (HeldOpen(resolved.path)) {
        return Fail(of, kErrorSharingViolation);
    }
    const char* mode = (style & 0x3) == kOfReadWrite ? "w+b" : "wb";
    std::FILE* file = std::fopen(resolved.path.c_str(), mode);
    if (file == nullptr) {
        const DWORD missing = MissingFileError(resolved.path);
        return Fail(of, missing == kErrorPathNotFound ? missing : kErrorAccessDenied);
    }
    OpenLzFile open;
    open.file.reset(file);
    open.writable = true;
    if ((style & kOfExist) != 0) {
        return 1;
    }
    const LzHandle handle = Add(std::move(open));
    return handle == kHfileError ? Fail(of, kErrorNotEnoughMemory) : handle;
}

LzHandle HostLzExpand::LZOpenFile(std::string_view fileName, OfStruct& of, WORD style) {
    of = OfStruct{};
    of.cBytes = OfStruct::kSize;
    of.fFixedDisk = 1;
    of.szPathName = std::string(fileName.substr(0, OfStruct::kMaxPathName - 1));
    if ((style & kOfParse) != 0) {
        return 0;
    }
    if ((style & kOfCreate) != 0) {
        return OpenForCreate(fileName, of, style);
    }

    // Only a file that is looked for to be read is also looked for under its compressed name:
    // writing or deleting never touches a file the caller did not name.
    const PathUse use = IsReadingStyle(style) ? PathUse::Read : PathUse::Write;
    std::vector<std::string> names{std::string(fileName)};
    if (IsReadingStyle(style)) {
        names.push_back(CompressedName(fileName));
    }
    std::optional<fs::path> found;
    DWORD error = kErrorFileNotFound;
    for (std::size_t i = 0; i < names.size() && !found; ++i) {
        const ResolvedPath resolved = resolver_.Resolve(names[i], use);
        if (!resolved) {
            error = i == 0 ? resolved.error : error;
            continue;
        }
        if (IsRegularFile(resolved.path)) {
            found = resolved.path;
            of.szPathName = names[i].substr(0, OfStruct::kMaxPathName - 1);
        } else if (i == 0) {
            std::error_code ec;
            error = fs::is_directory(resolved.path, ec) ? kErrorAccessDenied
                                                        : MissingFileError(resolved.path);
        }
    }
    if (!found) {
        if ((style & kOfPrompt) != 0 && error != kErrorAccessDenied) {
            PlatformEvent prompt{"prompt", {}};
            prompt.fields.emplace_back("file", toUtf8_ ? toUtf8_(fileName) : std::string(fileName));
            events_.Record(std::move(prompt));
        }
        return Fail(of, error);
    }

    const bool writable = (style & 0x3) != kOfRead;
    if ((writable || (style & kOfDelete) != 0) && HeldOpen(*found)) {
        return Fail(of, kErrorSharingViolation);
    }
    if ((style & kOfDelete) != 0) {
        std::error_code ec;
        return fs::remove(*found, ec) ? 1 : Fail(of, kErrorAccessDenied);
    }
    if ((style & kOfExist) != 0) {
        return 1;
    }
    std::FILE* file = std::fopen(found->c_str(), writable ? "r+b" : "rb");
    if (file == nullptr) {
        return Fail(of, kErrorAccessDenied);
    }
    OpenLzFile open;
    open.file.reset(file);
    open.writable = writable;
    if (!writable) {
        std::array<BYTE, kSzddHeaderSize> head{};
        const std::size_t n = std::fread(head.data(), 1, head.size(), file);
        open.compressed = ParseSzddHeader(std::span(head).first(n)).has_value();
        std::rewind(file);
    }
    const LzHandle handle = Add(std::move(open));
    return handle == kHfileError ? Fail(of, kErrorNotEnoughMemory) : handle;
}

LONG HostLzExpand::ExpandAll(OpenLzFile& file) {
    if (file.expanded) {
        return static_cast<LONG>(file.expanded->size());
    }
    std::rewind(file.file.get());
    FileReader reader(file.file.get());
    std::vector<BYTE> bytes;
    VectorWriter writer(bytes);
    const LONG result = ExpandSzdd(reader, writer);
    if (result < 0) {
        return result;
    }
    file.expanded = std::move(bytes);
    return result;
}

INT HostLzExpand::LZRead(LzHandle handle, void* buffer, INT count) {
    OpenLzFile* file = Find(handle);
    if (file == nullptr || file->writable) {
        return kLzErrorBadInHandle;
    }
    if (count < 0 || (count > 0 && buffer == nullptr)) {
        return kLzErrorBadValue;
    }
    if (!file->compressed) {
        const std::size_t n =
            std::fread(buffer, 1, static_cast<std::size_t>(count), file->file.get());
        if (n < static_cast<std::size_t>(count) && std::ferror(file->file.get()) != 0) {
            return kLzErrorRead;
        }
        return static_cast<INT>(n);
    }
    if (file->exhausted) {
        return 0;
    }
    const LONG expanded = ExpandAll(*file);
    if (expanded < 0) {
        return expanded;
    }
    const std::vector<BYTE>& bytes = *file->expanded;
    const std::size_t n = std::min(static_cast<std::size_t>(count), bytes.size() - file->readPos);
    if (n > 0) {
        std::memcpy(buffer, bytes.data() + file->readPos, n);
    }
    file->readPos += n;
    return static_cast<INT>(n);
}

UINT HostLzExpand::LWrite(LzHandle handle, const void* buffer, UINT count) {
    OpenLzFile* file = Find(handle);
    if (file == nullptr || !file->writable || (count > 0 && buffer == nullptr)) {
        return kLwriteError;
    }
    if (std::fwrite(buffer, 1, count, file->file.get()) != count) {
        return kLwriteError;
    }
    return count;
}

LONG HostLzExpand::LZCopy(LzHandle source, LzHandle dest) {
    OpenLzFile* in = Find(source);
    if (in == nullptr || in->writable) {
        return kLzErrorBadInHandle;
    }
    OpenLzFile* out = Find(dest);
    if (out == nullptr || !out->writable) {
        return kLzErrorBadOutHandle;
    }
    std::FILE* to = out->file.get();
    std::uint64_t total = 0;
    if (in->compressed && !in->expanded) {
        if (in->exhausted) {
            return 0;
        }
        std::rewind(in->file.get());
        FileReader reader(in->file.get());
        FileWriter writer(to);
        const LONG result = ExpandSzdd(reader, writer);
        if (result < 0) {
            return result;
        }
        in->exhausted = true;
        total = static_cast<std::uint64_t>(result);
    } else if (in->compressed) {
        const std::vector<BYTE>& bytes = *in->expanded;
        const std::size_t rest = bytes.size() - in->readPos;
        if (std::fwrite(bytes.data() + in->readPos, 1, rest, to) != rest) {
            return kLzErrorWrite;
        }
        in->readPos = bytes.size();
        total = rest;
    } else {
        std::vector<BYTE> chunk(kCopyChunk);
        for (;;) {
            const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), in->file.get());
            if (n > 0 && std::fwrite(chunk.data(), 1, n, to) != n) {
                return kLzErrorWrite;
            }
            total += n;
            if (n < chunk.size()) {
                if (std::ferror(in->file.get()) != 0) {
                    return kLzErrorRead;
                }
                break;
            }
        }
    }
    if (std::fflush(to) != 0) {
        return kLzErrorWrite;
    }
    // The count is a LONG; a copy larger than it can say is reported as its largest value rather
    // than as a negative number that would read as a failure.
    return static_cast<LONG>(std::min<std::uint64_t>(
        total, static_cast<std::uint64_t>(std::numeric_limits<LONG>::max())));
}

void HostLzExpand::LZClose(LzHandle file) {
    files_.erase(file);
}

} // namespace tl::host
