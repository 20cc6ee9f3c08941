// Reading a small file whole, with the C runtime's stdio (no iostreams in the Windows program).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tl::app {

// Answers files are a few kilobytes; anything larger than this is not one.
inline constexpr std::size_t kMaxWholeFileSize = 16u * 1024u * 1024u;

// The bytes of the file at `path`; none when it cannot be opened or read, or holds more than
// `limit` bytes.
std::optional<std::string> ReadWholeFile(const std::wstring& path,
                                         std::size_t limit = kMaxWholeFileSize);

} // namespace tl::app
