// Expansion of MS-DOS COMPRESS (SZDD) data, the format that LZOpenFile/LZCopy expand.
// The header is 14 bytes: "SZDD" 88 F0 27 33, the mode 'A', the missing last character of the
// file's name, the expanded length (32-bit, little-endian); LZSS data follows.
#pragma once

#include "platform/lz.h"
#include "platform/win_types.h"

#include <cstddef>
#include <optional>
#include <span>

namespace tl::host {

inline constexpr std::size_t kSzddHeaderSize = 14;
inline constexpr BYTE kSzddModeLzss = 'A';

struct SzddHeader {
    BYTE mode = 0;        // kSzddModeLzss is the only method there is
    BYTE missingChar = 0; // last character of the expanded file's name, or 0
    DWORD expandedLength = 0;
};

// The header of bytes that begin with the SZDD signature; none when they do not (too short or
// another signature): such a file is not compressed.
std::optional<SzddHeader> ParseSzddHeader(std::span<const BYTE> bytes);

// Where the expander reads from and writes to.
class ByteReader {
public:
    virtual ~ByteReader() = default;
    // Up to size bytes; 0 at the end; none after a read error.
    virtual std::optional<std::size_t> Read(void* buffer, std::size_t size) = 0;
};

class ByteWriter {
public:
    virtual ~ByteWriter() = default;
    virtual bool Write(const void* buffer, std::size_t size) = 0;
};

// Expands the SZDD stream that input is positioned at (header included) into output. The result
// is the number of bytes written, which is always the header's expanded length, or a negative
// LZERROR code: kLzErrorUnknownAlg for another mode (or no SZDD signature at all), kLzErrorRead
// for a read failure or data that ends before the expanded length is reached, kLzErrorWrite when
// output refuses bytes, kLzErrorGlobalAlloc when no memory can be had. Data beyond the expanded
// length is ignored.
LONG ExpandSzdd(ByteReader& input, ByteWriter& output);

} // namespace tl::host
