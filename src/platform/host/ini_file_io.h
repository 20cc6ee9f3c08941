// Whole-file reads and atomic replacement for the host adapters that keep text files of the
// simulated PC (INI files, the registry file).
#pragma once

#include "platform/win_types.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tl::host {

// Whether a symbolic link as the last name is followed: the files of the machine folder's root
// are read only as what they are, never through a link to somewhere else.
enum class Links { Follow, Refuse };

// The file's bytes; none when it cannot be read (missing, a directory, no permission, a link
// that is refused).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path,
                                         Links links = Links::Follow);

// Replaces the file with the bytes: they are written to a temporary file beside it, which is
// then renamed over it, so that the file holds either the old bytes or the new ones, never a
// part; the file keeps its permissions. Returns 0, or a Win32 error code (3 no such folder, 5
// access denied, also for a file without write permission, the host's form of the read-only
// attribute; 112 disk full); the temporary file never stays behind, and is always made new, never
// written through a link or a file left in its place.
DWORD ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

} // namespace tl::host
