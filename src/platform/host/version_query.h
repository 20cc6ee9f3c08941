// VerQueryValue over the bytes of a version resource, in either layout: 16-bit (each node: length,
// value length, ANSI key) or 32-bit (length, value length, type, UTF-16 key); values and children
// start on 4-byte boundaries counted from the block's start.
#pragma once

#include "platform/win_types.h"

#include <optional>
#include <span>
#include <string_view>

namespace tl::host {

struct VersionValue {
    const BYTE* data = nullptr;
    UINT length = 0; // as VerQueryValue reports it: bytes, or characters for a 32-bit text value
};

// True for the 16-bit layout (the root's key starts at byte 4), false for the 32-bit one.
bool IsVersionBlock16(std::span<const BYTE> block);

// The value that subBlock names ("\" the fixed file information, which must be a whole
// VS_FIXEDFILEINFO; "\StringFileInfo\040904E4\FileVersion", "\VarFileInfo\Translation", ...).
// Nothing outside block, nor outside the root's own length, is ever read.
std::optional<VersionValue> QueryVersionValue(std::span<const BYTE> block,
                                              std::string_view subBlock);

} // namespace tl::host
