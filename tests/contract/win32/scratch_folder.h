// A fresh folder below the system's temporary folder for one Windows test, removed with it.
#pragma once

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tl::test {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix)
        : folder_(
              std::filesystem::temp_directory_path() /
              (prefix + std::to_string(std::random_device{}()) + "_" + std::to_string(++count_))) {
        std::filesystem::create_directory(folder_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Root() const { return folder_.string(); }
    std::string Path(const char* name) const { return (folder_ / name).string(); }
    void Write(const char* name, const std::string& text) const {
        std::ofstream(folder_ / name, std::ios::binary) << text;
    }
    std::string Read(const char* name) const {
        std::ifstream file(folder_ / name, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    // The names in the folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    static inline std::atomic<unsigned> count_{0};
    std::filesystem::path folder_;
};

} // namespace tl::test
