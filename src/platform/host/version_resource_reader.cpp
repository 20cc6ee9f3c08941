#include "platform/host/version_resource_reader.h"

#include "platform/version_info.h"

#include <array>
#include <cstring>

namespace tl::host {
namespace {

constexpr WORD kNeVersionType = 0x8010; // RT_VERSION as an integer NE type
constexpr WORD kNeVersionId = 0x8001;   // VS_VERSION_INFO as an integer NE id
constexpr DWORD kRtVersion = 16;
constexpr DWORD kVsVersionInfoId = 1;
constexpr std::size_t kMaxNeResourceTable = 0xFFFF;
constexpr WORD kMaxNeAlignShift = 16;
constexpr std::size_t kMaxPeSections = 96;

std::uint16_t Le16(const BYTE* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t Le32(const BYTE* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Small fixed-size reads: every field the reader looks at goes through one of these.
class Reader {
public:
    explicit Reader(const ByteSource& file) : file_(file) {}
    std::optional<std::uint16_t> U16(std::uint64_t offset) const {
        std::array<BYTE, 2> b{};
        return file_.ReadAt(offset, b) ? std::optional(Le16(b.data())) : std::nullopt;
    }
    std::optional<std::uint32_t> U32(std::uint64_t offset) const {
        std::array<BYTE, 4> b{};
        return file_.ReadAt(offset, b) ? std::optional(Le32(b.data())) : std::nullopt;
    }
    std::optional<std::vector<BYTE>> Bytes(std::uint64_t offset, std::size_t size) const {
        if (offset > file_.Size() || size > file_.Size() - offset) {
            return std::nullopt;
        }
        std::vector<BYTE> out(size);
        return file_.ReadAt(offset, out) ? std::optional(std::move(out)) : std::nullopt;
    }
    bool Holds(std::uint64_t offset, std::uint64_t size) const {
        return offset <= file_.Size() && size <= file_.Size() - offset;
    }

private:
    const ByteSource& file_;
};

VersionResourceLookup Found(const Reader& reader, ImageKind kind, std::uint64_t offset,
                            std::uint64_t size) {
    if (size == 0 || size > kMaxVersionResourceSize || !reader.Holds(offset, size)) {
        return {std::nullopt, kErrorResourceTypeNotFound};
    }
    return {VersionResourceLocation{kind, offset, static_cast<DWORD>(size)}, 0};
}

VersionResourceLookup NotFound() {
    return {std::nullopt, kErrorResourceTypeNotFound};
}

// NE: the resource table lies between ne_rsrctab and ne_restab; an alignment shift, then type
// records (type id, count, 4 reserved bytes) each followed by 12-byte name records (offset and
// length in alignment units, flags, id, 4 reserved bytes), ended by a type id of 0.
VersionResourceLookup FindInNe(const Reader& reader, std::uint64_t header) {
    const auto rsrcTab = reader.U16(header + 0x24);
    const auto resTab = reader.U16(header + 0x26);
    if (!rsrcTab || !resTab) {
        return {std::nullopt, kErrorBadFormat};
    }
    if (*resTab <= *rsrcTab) {
        return NotFound();
    }
    const std::size_t tableSize = std::min<std::size_t>(*resTab - *rsrcTab, kMaxNeResourceTable);
    const auto table = reader.Bytes(header + *rsrcTab, tableSize);
    if (!table || table->size() < 2) {
        return NotFound();
    }
    const WORD shift = Le16(table->data());
    if (shift > kMaxNeAlignShift) {
        return NotFound();
    }
    std::size_t at = 2;
    while (at + 8 <= table->size()) {
        const WORD type = Le16(table->data() + at);
        const WORD count = Le16(table->data() + at + 2);
        at += 8;
        if (type == 0) {
            break;
        }
        for (WORD i = 0; i < count; ++i, at += 12) {
            if (at + 12 > table->size()) {
                return NotFound();
            }
            const BYTE* name = table->data() + at;
            if (type == kNeVersionType && Le16(name + 6) == kNeVersionId) {
                const std::uint64_t offset = static_cast<std::uint64_t>(Le16(name)) << shift;
                const std::uint64_t size = static_cast<std::uint64_t>(Le16(name + 2)) << shift;
                return Found(reader, ImageKind::Ne, offset, size);
            }
        }
    }
    return NotFound();
}

// LE: e32_winresoff (absolute file offset) and e32_winreslen; the resource starts with a 12-byte
// header in the 16-bit .RES layout (0xFF, type 16, 0xFF, ordinal, flags, data size).
VersionResourceLookup FindInLe(const Reader& reader, std::uint64_t header) {
    const auto resOff = reader.U32(header + 0xB8);
    const auto resLen = reader.U32(header + 0xBC);
    if (!resOff || !resLen) {
        return {std::nullopt, kErrorBadFormat};
    }
    if (*resLen < 12) {
        return NotFound();
    }
    const auto head = reader.Bytes(*resOff, 12);
    if (!head || (*head)[0] != 0xFF || Le16(head->data() + 1) != kRtVersion || (*head)[3] != 0xFF) {
        return NotFound();
    }
    return Found(reader, ImageKind::Le, std::uint64_t{*resOff} + 12, Le32(head->data() + 8));
}

struct Section {
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawPointer = 0;
};

// The file offset of size bytes at rva, when one section holds them all.
std::optional<std::uint64_t> RvaToOffset(const std::vector<Section>& sections, std::uint32_t rva,
                                         std::uint32_t size) {
    for (const Section& s : sections) {
        if (rva < s.virtualAddress) {
            continue;
        }
        const std::uint64_t into = rva - s.virtualAddress;
        if (into + size <= s.rawSize) {
            return std::uint64_t{s.rawPointer} + into;
        }
    }
    return std::nullopt;
}

// One level of a PE resource directory: the entry with the given id (or the first entry, when id
// is empty), its 32-bit target (high bit: a subdirectory).
std::optional<std::uint32_t> DirectoryEntry(const Reader& reader, std::uint64_t base,
                                            std::uint32_t dirOffset,
                                            std::optional<std::uint32_t> id) {
    const std::uint64_t dir = base + dirOffset;
    const auto named = reader.U16(dir + 12);
    const auto ids = reader.U16(dir + 14);
    if (!named || !ids) {
        return std::nullopt;
    }
    const std::uint32_t total = std::uint32_t{*named} + *ids;
    const auto entries = reader.Bytes(dir + 16, std::size_t{total} * 8);
    if (!entries) {
        return std::nullopt;
    }
    for (std::uint32_t i = 0; i < total; ++i) {
        const std::uint32_t name = Le32(entries->data() + 8 * i);
        const std::uint32_t target = Le32(entries->data() + 8 * i + 4);
        if (!id || ((name & 0x80000000u) == 0 && name == *id)) {
            return target;
        }
    }
    return std::nullopt;
}

VersionResourceLookup FindInPe(const Reader& reader, std::uint64_t header) {
    // header is the file header behind "PE\0\0"; the optional header follows its 20 bytes.
    const auto sectionCount = reader.U16(header + 2);
    const auto optionalSize = reader.U16(header + 16);
    const std::uint64_t optional = header + 20;
    const auto magic = reader.U16(optional);
    if (!sectionCount || !optionalSize || !magic) {
        return {std::nullopt, kErrorBadFormat};
    }
    std::uint64_t dirCountAt = 0;
    if (*magic == 0x10B) {
        dirCountAt = optional + 92;
    } else if (*magic == 0x20B) {
        dirCountAt = optional + 108;
    } else {
        return {std::nullopt, kErrorBadFormat};
    }
    const auto dirCount = reader.U32(dirCountAt);
    if (!dirCount || *dirCount < 3 || dirCountAt + 4 + 3 * 8 > optional + *optionalSize) {
        return NotFound();
    }
    const auto rsrcRva = reader.U32(dirCountAt + 4 + 2 * 8);
    const auto rsrcSize = reader.U32(dirCountAt + 4 + 2 * 8 + 4);
    if (!rsrcRva || !rsrcSize || *rsrcRva == 0) {
        return NotFound();
    }
    std::vector<Section> sections;
    for (std::uint64_t i = 0; i < std::min<std::size_t>(*sectionCount, kMaxPeSections); ++i) {
        const auto raw = reader.Bytes(optional + *optionalSize + 40 * i, 40);
        if (!raw) {
            return {std::nullopt, kErrorBadFormat};
        }
        sections.push_back({Le32(raw->data() + 12), Le32(raw->data() + 8), Le32(raw->data() + 16),
                            Le32(raw->data() + 20)});
    }
    // The directory must start inside a section; every offset below is relative to it.
    const auto base = RvaToOffset(sections, *rsrcRva, 16);
    if (!base) {
        return NotFound();
    }
    const auto types = DirectoryEntry(reader, *base, 0, kRtVersion);
    if (!types || (*types & 0x80000000u) == 0) {
        return NotFound();
    }
    const auto names = DirectoryEntry(reader, *base, *types & 0x7FFFFFFFu, kVsVersionInfoId);
    if (!names || (*names & 0x80000000u) == 0) {
        return NotFound();
    }
    const auto language = DirectoryEntry(reader, *base, *names & 0x7FFFFFFFu, std::nullopt);
    if (!language || (*language & 0x80000000u) != 0) {
        return NotFound();
    }
    const auto dataRva = reader.U32(*base + *language);
    const auto dataSize = reader.U32(*base + *language + 4);
    if (!dataRva || !dataSize || *dataSize == 0) {
        return NotFound();
    }
    const auto dataOffset = RvaToOffset(sections, *dataRva, *dataSize);
    if (!dataOffset) {
        return NotFound();
    }
    return Found(reader, ImageKind::Pe, *dataOffset, *dataSize);
}

} // namespace

bool MemoryByteSource::ReadAt(std::uint64_t offset, std::span<BYTE> out) const {
    if (offset > bytes_.size() || out.size() > bytes_.size() - offset) {
        return false;
    }
    if (!out.empty()) {
        std::memcpy(out.data(), bytes_.data() + offset, out.size());
    }
    return true;
}

VersionResourceLookup FindVersionResource(const ByteSource& file) {
    const Reader reader(file);
    const auto mz = reader.U16(0);
    const auto newHeader = reader.U32(0x3C);
    if (!mz || *mz != 0x5A4D || !newHeader) {
        return {std::nullopt, kErrorBadFormat};
    }
    const auto signature = reader.U32(*newHeader);
    if (!signature) {
        return {std::nullopt, kErrorBadFormat};
    }
    if (*signature == 0x00004550u) {
        return FindInPe(reader, *newHeader + 4);
    }
    switch (*signature & 0xFFFFu) {
    case 0x454E:
        return FindInNe(reader, *newHeader);
    case 0x454C:
        return FindInLe(reader, *newHeader);
    default:
        return {std::nullopt, kErrorBadFormat};
    }
}

std::optional<std::vector<BYTE>> ReadVersionResource(const ByteSource& file, DWORD* error) {
    const VersionResourceLookup lookup = FindVersionResource(file);
    if (!lookup.location) {
        if (error != nullptr) {
            *error = lookup.error;
        }
        return std::nullopt;
    }
    std::vector<BYTE> bytes(lookup.location->size);
    // VerQueryValue trusts the root's own length: a root longer than the resource is damage, and
    // such a resource is not handed out.
    if (!file.ReadAt(lookup.location->offset, bytes) || bytes.size() < 6 ||
        static_cast<std::size_t>(bytes[0] | bytes[1] << 8) > bytes.size() ||
        static_cast<std::size_t>(bytes[0] | bytes[1] << 8) < 6) {
        if (error != nullptr) {
            *error = kErrorResourceTypeNotFound;
        }
        return std::nullopt;
    }
    return bytes;
}

} // namespace tl::host
