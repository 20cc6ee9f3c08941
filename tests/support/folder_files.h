// Files read and written whole, and every file below a folder with its bytes, by its path
// relative to the folder: two folders compared whole, byte for byte.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace tl::test {

// A file's bytes ("" when it cannot be read); a file written whole, its folders made.
std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);

std::map<std::string, std::string> FolderFiles(const std::filesystem::path& folder);

// The paths whose bytes differ or that only one of the two holds, one a line ("" when none).
std::string FolderDifferences(const std::map<std::string, std::string>& before,
                              const std::map<std::string, std::string>& after);

} // namespace tl::test
