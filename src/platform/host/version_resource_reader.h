// Finds the version resource of an executable image (NE 16-bit drivers, LE virtual device
// drivers, PE 32-bit images) with bounds-checked reads of its headers and resource tables.
#pragma once

#include "platform/win_types.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tl::host {

// Random access to the bytes of a file.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Fills out from offset; false when that range is not wholly inside the file or cannot be read.
    virtual bool ReadAt(std::uint64_t offset, std::span<BYTE> out) const = 0;
};

class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const BYTE> bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    bool ReadAt(std::uint64_t offset, std::span<BYTE> out) const override;

private:
    std::span<const BYTE> bytes_;
};

enum class ImageKind { Unknown, Ne, Le, Pe };

struct VersionResourceLocation {
    ImageKind kind = ImageKind::Unknown;
    std::uint64_t offset = 0; // of the VS_VERSION_INFO bytes in the file
    DWORD size = 0;
};

// A version resource larger than this is taken for damage (real ones are a few hundred bytes).
inline constexpr DWORD kMaxVersionResourceSize = 1u << 20;

struct VersionResourceLookup {
    std::optional<VersionResourceLocation> location;
    DWORD error = 0; // kErrorBadFormat or kErrorResourceTypeNotFound when location is empty
};

// The version resource (NE: type 0x8010, id 1; LE: the resource behind e32_winresoff, type 16;
// PE: RT_VERSION, id 1, the first language). It lies wholly inside the file and is at most
// kMaxVersionResourceSize bytes.
VersionResourceLookup FindVersionResource(const ByteSource& file);

// The resource's bytes, or none (with the reason) when it cannot be found or read, or when its
// root node claims more bytes than the resource has.
std::optional<std::vector<BYTE>> ReadVersionResource(const ByteSource& file, DWORD* error);

} // namespace tl::host
