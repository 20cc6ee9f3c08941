// Whole-file reads and atomic replacement for the host adapters that keep text files of the
// simulated PC (INI files, the registry file).
#pragma once

#include "platform/win_types.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tl::host {

// The file's bytes; none when it cannot be read (missing, a directory, no permission).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Replaces the file with the bytes: they are written to a temporary file beside it, which is
// then renamed over it, so that the file holds either the old bytes or the new ones, never a
// part; the file keeps its permissions. Returns 0, or a Win32 error code (3 no such folder, 5
// access denied, also for a file without write permission, the host's form of the read-only
// attribute; 112 disk full); the temporary file never stays behind.
DWORD ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

} // namespace tl::host
