// Every file below a folder with its bytes, by its path relative to the folder: two folders
// compared whole, byte for byte.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace tl::test {

std::map<std::string, std::string> FolderFiles(const std::filesystem::path& folder);

// The paths whose bytes differ or that only one of the two holds, one a line ("" when none).
std::string FolderDifferences(const std::map<std::string, std::string>& before,
                              const std::map<std::string, std::string>& after);

} // namespace tl::test
