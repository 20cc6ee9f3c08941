#include "copy/file_version_text.h"

#include "dialogs/dialog_utils.h"

#include <cstdio>
#include <memory>
#include <new>
#include <optional>

namespace tl {

namespace {

// Where the fixed file information starts in each kind of VS_VERSION_INFO.
constexpr std::size_t kFixedInfo16 = 20;
constexpr std::size_t kFixedInfo32 = 40;
// The file version's two halves, behind the signature and the structure version.
constexpr std::size_t kFileVersionMsOffset = 8;
constexpr std::size_t kFileVersionLsOffset = 12;

DWORD ReadDword(std::span<const BYTE> bytes, std::size_t at) {
    return static_cast<DWORD>(bytes[at]) | static_cast<DWORD>(bytes[at + 1]) << 8 |
           static_cast<DWORD>(bytes[at + 2]) << 16 | static_cast<DWORD>(bytes[at + 3]) << 24;
}

bool HoldsFixedInfoAt(std::span<const BYTE> block, std::size_t at) {
    return block.size() >= at + kFileVersionLsOffset + 4 && ReadDword(block, at) == kVsFfiSignature;
}

std::optional<std::size_t> FixedInfoOffset(std::span<const BYTE> block) {
    if (HoldsFixedInfoAt(block, kFixedInfo16)) {
        return kFixedInfo16;
    }
    if (HoldsFixedInfoAt(block, kFixedInfo32)) {
        return kFixedInfo32;
    }
    return std::nullopt;
}

unsigned High(DWORD value) {
    return value >> 16;
}
unsigned Low(DWORD value) {
    return value & 0xFFFFu;
}

} // namespace

std::string FormatFileVersion(std::span<const BYTE> block, VersionFormat format) {
    const std::optional<std::size_t> fixed = FixedInfoOffset(block);
    if (!fixed) {
        return {};
    }
    const DWORD ms = ReadDword(block, *fixed + kFileVersionMsOffset);
    const DWORD ls = ReadDword(block, *fixed + kFileVersionLsOffset);
    char text[kFileVersionTextSize] = {};
    if (format == VersionFormat::Build) {
        std::snprintf(text, sizeof text, "%u.%u", High(ls), Low(ls));
    } else {
        std::snprintf(text, sizeof text, "%u.%u%u", High(ms), Low(ms), High(ls));
    }
    return text;
}

std::string FileVersionText(VersionInfo& versions, std::string_view path, VersionFormat format) {
    DWORD handle = 0;
    const DWORD size = versions.GetFileVersionInfoSize(path, &handle);
    if (size == 0) {
        return {};
    }
    if (size > kMaxVersionBlockSize) {
        return std::string(kNoMemoryVersionText);
    }
    const std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[size]);
    if (!block) {
        return std::string(kNoMemoryVersionText);
    }
    if (!versions.GetFileVersionInfo(path, handle, size, block.get())) {
        return {};
    }
    const std::string version = FormatFileVersion(std::span<const BYTE>(block.get(), size), format);
    if (version.empty()) {
        // A resource without a file version says nothing worth a label.
        return {};
    }
    return LoadTextCopy(TextId::VersionLabel) + version;
}

} // namespace tl
