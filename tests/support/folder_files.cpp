#include "support/folder_files.h"

#include <fstream>
#include <sstream>

namespace tl::test {

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::map<std::string, std::string> FolderFiles(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            files[entry.path().lexically_relative(folder).generic_string()] = ReadBytes(entry);
    }
    return files;
}

std::string FolderDifferences(const std::map<std::string, std::string>& before,
                              const std::map<std::string, std::string>& after) {
    std::string differences;
    for (const auto& [path, bytes] : before) {
        const auto other = after.find(path);
        if (other == after.end())
            differences += "only before: " + path + "\n";
        else if (other->second != bytes)
            differences += "differs: " + path + "\n";
    }
    for (const auto& [path, bytes] : after) {
        if (!before.count(path))
            differences += "only after: " + path + "\n";
    }
    return differences;
}

} // namespace tl::test
