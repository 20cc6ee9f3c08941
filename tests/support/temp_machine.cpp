#include "support/temp_machine.h"

#include "support/folder_files.h"

#include <random>
#include <stdexcept>

namespace tl::test {

namespace fs = std::filesystem;

TempFolder::TempFolder(std::string_view prefix) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        root_ = fs::temp_directory_path() / (std::string(prefix) + std::to_string(random()));
        if (fs::create_directory(root_))
            return;
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void TempFolder::WriteFile(const fs::path& relative, std::string_view bytes) const {
    WriteBytes(root_ / relative, bytes);
}

std::string TempFolder::ReadFile(const fs::path& relative) const {
    return ReadBytes(root_ / relative);
}

bool TempFolder::Exists(const fs::path& relative) const {
    return fs::exists(root_ / relative);
}

void TempFolder::MakeDirectory(const fs::path& relative) const {
    fs::create_directories(root_ / relative);
}

} // namespace tl::test
