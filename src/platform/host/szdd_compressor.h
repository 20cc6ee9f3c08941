// An SZDD (MS-DOS COMPRESS) writer, for building install disks and test files whose compressed
// copies LZOpenFile/LZCopy expand.
#pragma once

#include "platform/win_types.h"

#include <span>
#include <vector>

namespace tl::host {

// The SZDD file of data: header (mode 'A', missingChar, the length) and LZSS with a 4,096-byte
// window pre-filled with blanks. Data longer than 4 GiB - 1 cannot be described by the header and
// gives an empty result.
std::vector<BYTE> CompressSzdd(std::span<const BYTE> data, BYTE missingChar = 0);

} // namespace tl::host
