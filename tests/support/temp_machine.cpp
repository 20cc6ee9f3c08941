#include "temp_machine.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace tl::test {

namespace fs = std::filesystem;

TempMachine::TempMachine() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() / ("tlmachine-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            root_ = candidate;
            fs::create_directory(root_ / "drive_c");
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary machine folder");
}

TempMachine::~TempMachine() {
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void TempMachine::WriteMachineIni(std::string_view text) const {
    WriteFile("machine.ini", text);
}

void TempMachine::WriteFile(const fs::path& relative, std::string_view bytes) const {
    fs::path path = root_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempMachine::ReadFile(const fs::path& relative) const {
    std::ifstream in(root_ / relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool TempMachine::Exists(const fs::path& relative) const {
    return fs::exists(root_ / relative);
}

void TempMachine::MakeDirectory(const fs::path& relative) const {
    fs::create_directories(root_ / relative);
}

} // namespace tl::test
