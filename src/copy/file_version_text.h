// The version of a file as the version-check dialog shows it: string 145 and the file version in
// one of two formats that INSTALL.INF's VERSION_TYPE switch chooses between.
#pragma once

#include "platform/version_info.h"
#include "platform/win_types.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace tl {

// Stands in for the version text when the version resource cannot be given memory.
inline constexpr std::string_view kNoMemoryVersionText = "     Memory cannot get.";

// A version resource bigger than this is refused as the system refuses a global block it cannot
// have: a 16-bit resource is at most 64 KB and a 32-bit one rarely a few kilobytes, so a larger
// size is a damaged file rather than a version worth reading.
inline constexpr DWORD kMaxVersionBlockSize = 1024 * 1024;

// The longest text FormatFileVersion makes ("65535.6553565535") and its NUL fit 20 bytes.
inline constexpr std::size_t kFileVersionTextSize = 20;

// How a file version is written (the setup script's VERSION_TYPE switch chooses Build):
//   Build:      "<third>.<fourth>"          4.0.3.95 gives "3.95"
//   MajorMinor: "<major>.<minor><third>"    4.0.3.95 gives "4.03", 3.2.8.0 "3.28"
enum class VersionFormat { MajorMinor, Build };

// The file version of a version resource in `format`.
// The fixed file information is taken where a 16-bit resource holds it (byte 20, the version at
// bytes 28 and 32, little-endian); a 32-bit resource holds it at byte 40 and is read there. Empty
// when the block holds neither (too short, or no fixed-information signature).
std::string FormatFileVersion(std::span<const BYTE> block, VersionFormat format);

// String 145 followed by the file's formatted version; empty when the file has no version
// resource or it cannot be read; kNoMemoryVersionText when the resource cannot be given memory.
std::string FileVersionText(VersionInfo& versions, std::string_view path, VersionFormat format);

} // namespace tl
