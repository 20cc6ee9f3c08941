// Builds VS_VERSION_INFO resources: the 16-bit layout (ANSI keys) that 16-bit drivers and virtual
// device drivers carry, and the 32-bit layout (UTF-16 keys) of 32-bit images.
#pragma once

#include "platform/version_info.h"
#include "platform/win_types.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace tl::host {

struct VersionRecord {
    std::array<WORD, 4> fileVersion{}; // most significant part first: 4.0.0.950
    std::array<WORD, 4> productVersion{};
    DWORD fileFlagsMask = 0x3F;
    DWORD fileFlags = 0;
    DWORD fileOS = kVosDosWindows16;
    DWORD fileType = kVftDrv;
    DWORD fileSubtype = 0;
    // The StringFileInfo table's key (language and code page, hex) and its values; ASCII text.
    std::string stringTable = "040904E4";
    std::vector<std::pair<std::string, std::string>> strings;
};

// "major.minor.build.revision", four decimal numbers of 0 to 65535; none for anything else.
std::optional<std::array<WORD, 4>> ParseFourPartVersion(std::string_view text);

std::vector<BYTE> BuildVersionBlock16(const VersionRecord& record);
std::vector<BYTE> BuildVersionBlock32(const VersionRecord& record);

} // namespace tl::host
