#include "platform/host/szdd_expander.h"

#include "platform/lz.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <mspack.h>

namespace tl::host {
namespace {

constexpr std::array<BYTE, 8> kSzddSignature = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};

// libmspack names its files by "file name"; ours are the two streams of one expansion, passed as
// the address of this record, so no name is ever looked up on the host.
struct Stream {
    ByteReader* reader = nullptr;
    ByteWriter* writer = nullptr;
    // The reader's bytes seen so far; they are replayed when libmspack rewinds.
    std::size_t position = 0;
    bool readFailed = false;
    bool writeFailed = false;
    // The output keeps exactly the header's expanded length: writes beyond it are dropped.
    std::size_t outputLimit = 0;
    std::size_t written = 0;
};

Stream* AsStream(mspack_file* file) {
    return reinterpret_cast<Stream*>(file);
}

mspack_file* OpenStream(mspack_system*, const char* name, int) {
    return reinterpret_cast<mspack_file*>(const_cast<char*>(name));
}

void CloseStream(mspack_file*) {}

int ReadStream(mspack_file* file, void* buffer, int bytes) {
    Stream& stream = *AsStream(file);
    if (stream.reader == nullptr || bytes < 0) {
        return -1;
    }
    auto* out = static_cast<BYTE*>(buffer);
    std::size_t total = 0;
    // libmspack takes a short read for the end of the data, so fill the request while we can.
    while (total < static_cast<std::size_t>(bytes)) {
        const auto got = stream.reader->Read(out + total, static_cast<std::size_t>(bytes) - total);
        if (!got) {
            stream.readFailed = true;
            return -1;
        }
        if (*got == 0) {
            break;
        }
        total += *got;
    }
    stream.position += total;
    return static_cast<int>(total);
}

int WriteStream(mspack_file* file, void* buffer, int bytes) {
    Stream& stream = *AsStream(file);
    if (stream.writer == nullptr || bytes < 0) {
        return -1;
    }
    const std::size_t room = stream.outputLimit - stream.written;
    const std::size_t keep = std::min(room, static_cast<std::size_t>(bytes));
    if (keep > 0 && !stream.writer->Write(buffer, keep)) {
        stream.writeFailed = true;
        return -1;
    }
    stream.written += keep;
    return bytes;
}

// The streams only go forward; libmspack asks where it is and may "seek" to where it already is.
int SeekStream(mspack_file* file, off_t offset, int mode) {
    const Stream& stream = *AsStream(file);
    if (mode == MSPACK_SYS_SEEK_START && offset >= 0 &&
        static_cast<std::size_t>(offset) == stream.position) {
        return 0;
    }
    if (mode == MSPACK_SYS_SEEK_CUR && offset == 0) {
        return 0;
    }
    return -1;
}

off_t TellStream(mspack_file* file) {
    return static_cast<off_t>(AsStream(file)->position);
}

void IgnoreMessage(mspack_file*, const char*, ...) {}

void* Allocate(mspack_system*, size_t bytes) {
    return std::malloc(bytes);
}
void Release(void* block) {
    std::free(block);
}
void CopyBytes(void* from, void* to, size_t bytes) {
    std::memmove(to, from, bytes);
}

mspack_system MakeSystem() {
    mspack_system system{};
    system.open = OpenStream;
    system.close = CloseStream;
    system.read = ReadStream;
    system.write = WriteStream;
    system.seek = SeekStream;
    system.tell = TellStream;
    system.message = IgnoreMessage;
    system.alloc = Allocate;
    system.free = Release;
    system.copy = CopyBytes;
    system.null_ptr = nullptr;
    return system;
}

// A reader that hands out the header bytes already taken before passing on to the real one.
class PrefixedReader final : public ByteReader {
public:
    PrefixedReader(std::span<const BYTE> prefix, ByteReader& rest) : prefix_(prefix), rest_(rest) {}
    std::optional<std::size_t> Read(void* buffer, std::size_t size) override {
        if (prefix_.empty()) {
            return rest_.Read(buffer, size);
        }
        const std::size_t n = std::min(size, prefix_.size());
        std::memcpy(buffer, prefix_.data(), n);
        prefix_ = prefix_.subspan(n);
        return n;
    }

private:
    std::span<const BYTE> prefix_;
    ByteReader& rest_;
};

DWORD ReadLe32(const BYTE* p) {
    return static_cast<DWORD>(p[0]) | static_cast<DWORD>(p[1]) << 8 |
           static_cast<DWORD>(p[2]) << 16 | static_cast<DWORD>(p[3]) << 24;
}

} // namespace

std::optional<SzddHeader> ParseSzddHeader(std::span<const BYTE> bytes) {
    if (bytes.size() < kSzddHeaderSize ||
        !std::equal(kSzddSignature.begin(), kSzddSignature.end(), bytes.begin())) {
        return std::nullopt;
    }
    return SzddHeader{bytes[8], bytes[9], ReadLe32(bytes.data() + 10)};
}

LONG ExpandSzdd(ByteReader& input, ByteWriter& output) {
    std::array<BYTE, kSzddHeaderSize> headerBytes{};
    std::size_t got = 0;
    while (got < headerBytes.size()) {
        const auto n = input.Read(headerBytes.data() + got, headerBytes.size() - got);
        if (!n) {
            return kLzErrorRead;
        }
        if (*n == 0) {
            break;
        }
        got += *n;
    }
    const auto header = ParseSzddHeader(std::span(headerBytes).first(got));
    if (!header || header->mode != kSzddModeLzss) {
        return kLzErrorUnknownAlg;
    }
    // LZCopy reports its count as a LONG: a length it cannot report is refused, not wrapped.
    if (header->expandedLength > static_cast<DWORD>(std::numeric_limits<LONG>::max())) {
        return kLzErrorBadValue;
    }

    int selfTest = 0;
    MSPACK_SYS_SELFTEST(selfTest);
    if (selfTest != MSPACK_ERR_OK) {
        return kLzErrorGlobalAlloc;
    }
    mspack_system system = MakeSystem();
    msszdd_decompressor* decompressor = mspack_create_szdd_decompressor(&system);
    if (decompressor == nullptr) {
        return kLzErrorGlobalAlloc;
    }
    PrefixedReader whole{std::span<const BYTE>(headerBytes).first(got), input};
    Stream in;
    in.reader = &whole;
    Stream out;
    out.writer = &output;
    out.outputLimit = header->expandedLength;
    const int error = decompressor->decompress(decompressor, reinterpret_cast<const char*>(&in),
                                               reinterpret_cast<const char*>(&out));
    mspack_destroy_szdd_decompressor(decompressor);

    if (in.readFailed) {
        return kLzErrorRead;
    }
    if (out.writeFailed) {
        return kLzErrorWrite;
    }
    if (error == MSPACK_ERR_NOMEMORY) {
        return kLzErrorGlobalAlloc;
    }
    if (error != MSPACK_ERR_OK || out.written != header->expandedLength) {
        return kLzErrorRead;
    }
    return static_cast<LONG>(out.written);
}

} // namespace tl::host
