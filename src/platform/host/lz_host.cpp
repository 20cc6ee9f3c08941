#include "platform/host/lz_host.h"

#include "platform/compressed_name.h"
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

// The host's form of the read-only attribute: an existing file without write permission.
bool IsReadOnlyFile(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    return fs::is_regular_file(status) &&
           (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

// The size of a host file; none when it is not a regular file or cannot be asked.
std::optional<std::uint64_t> HostFileSize(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        return std::nullopt;
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(size);
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
    if (IsReadOnlyFile(resolved.path)) {
        return Fail(of, kErrorAccessDenied); // Windows empties no read-only file
    }
    if (HeldOpen(resolved.path)) {
        return Fail(of, kErrorSharingViolation);
    }
    if (const DWORD fault =
            faults_ != nullptr ? faults_->Call(FaultKind::Create, resolved.path) : 0) {
        return Fail(of, fault);
    }
    const std::optional<std::uint64_t> emptied = HostFileSize(resolved.path);
    const char* mode = (style & 0x3) == kOfReadWrite ? "w+b" : "wb";
    std::FILE* file = std::fopen(resolved.path.c_str(), mode);
    if (file == nullptr) {
        const DWORD missing = MissingFileError(resolved.path);
        return Fail(of, missing == kErrorPathNotFound ? missing : kErrorAccessDenied);
    }
    if (emptied) {
        CountRemoved(fileName, *emptied);
    }
    OpenLzFile open;
    open.file.reset(file);
    open.host = resolved.path;
    open.drive = space_ != nullptr ? space_->DriveOf(fileName) : '\0';
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
    std::string foundName;
    DWORD error = kErrorFileNotFound;
    for (std::size_t i = 0; i < names.size() && !found; ++i) {
        const ResolvedPath resolved = resolver_.Resolve(names[i], use);
        if (!resolved) {
            error = i == 0 ? resolved.error : error;
            continue;
        }
        if (IsRegularFile(resolved.path)) {
            found = resolved.path;
            foundName = names[i];
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
    if ((writable || (style & kOfDelete) != 0) && IsReadOnlyFile(*found)) {
        return Fail(of, kErrorAccessDenied);
    }
    if ((writable || (style & kOfDelete) != 0) && HeldOpen(*found)) {
        return Fail(of, kErrorSharingViolation);
    }
    if ((style & kOfDelete) != 0) {
        if (const DWORD fault = faults_ != nullptr ? faults_->Call(FaultKind::Delete, *found) : 0) {
            return Fail(of, fault);
        }
        const std::optional<std::uint64_t> size = HostFileSize(*found);
        std::error_code ec;
        if (!fs::remove(*found, ec)) {
            return Fail(of, kErrorAccessDenied);
        }
        CountRemoved(foundName, size.value_or(0));
        return 1;
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
    open.host = *found;
    open.drive = writable && space_ != nullptr ? space_->DriveOf(foundName) : '\0';
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
    if (faults_ != nullptr && faults_->Call(FaultKind::Read, file->host) != 0) {
        return kLzErrorRead;
    }
    if (!file->compressed) {
        const std::size_t n =
            std::fread(buffer, 1, static_cast<std::size_t>(count), file->file.get());
        if (n < static_cast<std::size_t>(count) && std::ferror(file->file.get()) != 0) {
            return kLzErrorRead;
        }
        return static_cast<INT>(n);
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

std::optional<std::uint64_t> HostLzExpand::SizeOf(OpenLzFile& file) {
    if (file.writable && std::fflush(file.file.get()) != 0) {
        return std::nullopt;
    }
    return HostFileSize(file.host);
}

// Whether writing count bytes at the file's position fits in what is left of its drive: only
// the part that makes the file longer takes space.
bool HostLzExpand::Fits(OpenLzFile& out, std::uint64_t count) {
    const std::optional<std::uint64_t> room =
        space_ != nullptr ? space_->Room(out.drive) : std::nullopt;
    if (!room) {
        return true;
    }
    const long position = std::ftell(out.file.get());
    const std::optional<std::uint64_t> size = SizeOf(out);
    if (position < 0 || !size) {
        return false;
    }
    const std::uint64_t end = static_cast<std::uint64_t>(position) + count;
    return end <= *size || end - *size <= *room;
}

// Counts what a write really did to the file's size, even a write that failed part-way, so the
// drive's figure stays true to its files.
void HostLzExpand::CountChange(const OpenLzFile& out, std::optional<std::uint64_t> before,
                               std::optional<std::uint64_t> after) {
    if (space_ == nullptr || !before || !after || *before == *after) {
        return;
    }
    const std::uint64_t difference = *after > *before ? *after - *before : *before - *after;
    const auto change = static_cast<std::int64_t>(
        std::min<std::uint64_t>(difference, std::numeric_limits<std::int64_t>::max()));
    space_->Count(out.drive, *after > *before ? change : -change);
}

void HostLzExpand::CountRemoved(std::string_view fileName, std::uint64_t size) {
    if (space_ == nullptr || size == 0) {
        return;
    }
    const auto change = static_cast<std::int64_t>(
        std::min<std::uint64_t>(size, std::numeric_limits<std::int64_t>::max()));
    space_->Count(space_->DriveOf(fileName), -change);
}

UINT HostLzExpand::LWrite(LzHandle handle, const void* buffer, UINT count) {
    OpenLzFile* file = Find(handle);
    if (file == nullptr || !file->writable || (count > 0 && buffer == nullptr)) {
        return kLwriteError;
    }
    if (!Fits(*file, count)) {
        return kLwriteError;
    }
    if (faults_ != nullptr && faults_->Call(FaultKind::Write, file->host) != 0) {
        return kLwriteError;
    }
    const std::optional<std::uint64_t> before = SizeOf(*file);
    const bool written = std::fwrite(buffer, 1, count, file->file.get()) == count;
    CountChange(*file, before, SizeOf(*file));
    if (written && faults_ != nullptr) {
        std::fflush(file->file.get()); // what a crash right after the write leaves is written
        faults_->Written();
    }
    return written ? count : kLwriteError;
}

// Writes the rest of `in`, expanded, to `out`: the number of bytes, or a negative LZERROR. The
// whole of it must fit on out's drive before a byte is written, so a copy that does not fit leaves
// the destination as it was.
LONG HostLzExpand::CopyRest(OpenLzFile& in, OpenLzFile& out) {
    std::FILE* to = out.file.get();
    if (in.compressed) {
        const LONG expanded = ExpandAll(in);
        if (expanded < 0) {
            return expanded;
        }
        const std::vector<BYTE>& bytes = *in.expanded;
        const std::size_t rest = bytes.size() - in.readPos;
        if (!Fits(out, rest)) {
            return kLzErrorWrite;
        }
        if (rest > 0 && std::fwrite(bytes.data() + in.readPos, 1, rest, to) != rest) {
            return kLzErrorWrite;
        }
        in.readPos = bytes.size();
        return static_cast<LONG>(std::min<std::uint64_t>(
            rest, static_cast<std::uint64_t>(std::numeric_limits<LONG>::max())));
    }
    const long position = std::ftell(in.file.get());
    const std::optional<std::uint64_t> size = SizeOf(in);
    if (position < 0 || !size) {
        return kLzErrorRead;
    }
    const std::uint64_t position64 = static_cast<std::uint64_t>(position);
    if (!Fits(out, *size > position64 ? *size - position64 : 0)) {
        return kLzErrorWrite;
    }
    std::uint64_t total = 0;
    std::vector<BYTE> chunk(kCopyChunk);
    for (;;) {
        const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), in.file.get());
        if (n > 0 && std::fwrite(chunk.data(), 1, n, to) != n) {
            return kLzErrorWrite;
        }
        total += n;
        if (n < chunk.size()) {
            if (std::ferror(in.file.get()) != 0) {
                return kLzErrorRead;
            }
            break;
        }
    }
    // The count is a LONG; a copy larger than it can say is reported as its largest value rather
    // than as a negative number that would read as a failure.
    return static_cast<LONG>(std::min<std::uint64_t>(
        total, static_cast<std::uint64_t>(std::numeric_limits<LONG>::max())));
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
    if (faults_ != nullptr && faults_->Call(FaultKind::Read, in->host) != 0) {
        return kLzErrorRead;
    }
    if (faults_ != nullptr && faults_->Call(FaultKind::Write, out->host) != 0) {
        return kLzErrorWrite;
    }
    const std::optional<std::uint64_t> before = SizeOf(*out);
    const LONG result = CopyRest(*in, *out);
    const bool flushed = std::fflush(out->file.get()) == 0;
    CountChange(*out, before, SizeOf(*out));
    if (result < 0) {
        return result;
    }
    if (!flushed) {
        return kLzErrorWrite;
    }
    if (faults_ != nullptr) {
        faults_->Written();
    }
    // As LZ32 does, the copy carries the last-write time of the file it came from (a compressed
    // file's own), so an installed file shows the date it has on the disk. A time that cannot be
    // carried over leaves the copy itself good.
    std::error_code ec;
    const fs::file_time_type written = fs::last_write_time(in->host, ec);
    if (!ec) {
        fs::last_write_time(out->host, written, ec);
    }
    return result;
}

void HostLzExpand::LZClose(LzHandle file) {
    files_.erase(file);
}

} // namespace tl::host
