// Port: file version records, shaped like the VERSION calls (GetFileVersionInfoSizeA,
// GetFileVersionInfoA, VerQueryValueA). The bytes are the version resource as the file carries it:
// 16-bit drivers and virtual device drivers hold the 16-bit VS_VERSION_INFO (ANSI keys, the fixed
// file information at byte 20), 32-bit images the 32-bit one (UTF-16 keys, fixed information at
// byte 40). A file in the MS-DOS COMPRESS (SZDD) format is read as the file it expands to, as the
// system's version functions do. Paths are ANSI (code page 949) Windows paths.
#pragma once

#include "platform/win_types.h"

#include <cstring>
#include <optional>
#include <string_view>

namespace tl {

// GetLastError codes of the version calls beyond those of win_types.h.
inline constexpr DWORD kErrorBadFormat = 11;              // not an NE, LE or PE image
inline constexpr DWORD kErrorResourceTypeNotFound = 1813; // an image without a version resource

inline constexpr DWORD kVsFfiSignature = 0xFEEF04BDu;
inline constexpr DWORD kVsFfiStrucVersion = 0x00010000u;
// dwFileOS
inline constexpr DWORD kVosDosWindows16 = 0x00010001u;
inline constexpr DWORD kVosDosWindows32 = 0x00010004u;
inline constexpr DWORD kVosNtWindows32 = 0x00040004u;
// dwFileType
inline constexpr DWORD kVftApp = 1;
inline constexpr DWORD kVftDll = 2;
inline constexpr DWORD kVftDrv = 3;
inline constexpr DWORD kVftVxd = 5;
// dwFileSubtype of a driver
inline constexpr DWORD kVft2DrvPrinter = 1;

// VS_FIXEDFILEINFO, as the root block "\" holds it (52 bytes, little-endian).
struct FixedFileInfo {
    static constexpr UINT kSize = 52;
    DWORD dwSignature = 0;
    DWORD dwStrucVersion = 0;
    DWORD dwFileVersionMS = 0;
    DWORD dwFileVersionLS = 0;
    DWORD dwProductVersionMS = 0;
    DWORD dwProductVersionLS = 0;
    DWORD dwFileFlagsMask = 0;
    DWORD dwFileFlags = 0;
    DWORD dwFileOS = 0;
    DWORD dwFileType = 0;
    DWORD dwFileSubtype = 0;
    DWORD dwFileDateMS = 0;
    DWORD dwFileDateLS = 0;
};

// The fixed information behind a pointer that VerQueryValue gave for "\"; none when it is shorter
// than VS_FIXEDFILEINFO.
inline std::optional<FixedFileInfo> ReadFixedFileInfo(const void* value, UINT length) {
    if (value == nullptr || length < FixedFileInfo::kSize) {
        return std::nullopt;
    }
    DWORD words[13];
    const auto* bytes = static_cast<const BYTE*>(value);
    for (int i = 0; i < 13; ++i) {
        const BYTE* p = bytes + 4 * i;
        words[i] = static_cast<DWORD>(p[0]) | static_cast<DWORD>(p[1]) << 8 |
                   static_cast<DWORD>(p[2]) << 16 | static_cast<DWORD>(p[3]) << 24;
    }
    return FixedFileInfo{words[0], words[1], words[2], words[3],  words[4],  words[5], words[6],
                         words[7], words[8], words[9], words[10], words[11], words[12]};
}

class VersionInfo {
public:
    virtual ~VersionInfo() = default;

    // GetFileVersionInfoSizeA: the size of the file's version resource, 0 when the file has none
    // or cannot be read (GetLastError: 2 or 3 missing, 11 not an executable image, 1813 no version
    // resource). *handle, when given, is set to 0.
    virtual DWORD GetFileVersionInfoSize(std::string_view path, DWORD* handle) = 0;

    // GetFileVersionInfoA: copies the resource's bytes into data. A buffer smaller than the
    // resource fails (122) rather than holding a block whose own lengths point past its end.
    virtual BOOL GetFileVersionInfo(std::string_view path, DWORD handle, DWORD length,
                                    void* data) = 0;

    // VerQueryValueA on a block that GetFileVersionInfo filled: "\" gives the VS_FIXEDFILEINFO,
    // "\StringFileInfo\<lang><codepage>\<name>" a string value (ANSI in a 16-bit block; in a 32-bit
    // block the UTF-16 value and its length in characters), "\VarFileInfo\Translation" the
    // language and code-page pairs. Keys compare without regard to case. FALSE when the block
    // does not hold the value.
    virtual BOOL VerQueryValue(const void* block, std::string_view subBlock, const void** buffer,
                               UINT* length) = 0;

    virtual DWORD GetLastError() const = 0;
};

} // namespace tl
