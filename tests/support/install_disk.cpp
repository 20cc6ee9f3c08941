#include "support/install_disk.h"

#include "platform/host/szdd_compressor.h"
#include "platform/host/version_image_writer.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace tl::test {

namespace fs = std::filesystem;

InstallDisk::InstallDisk() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() / ("tldisk-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            root_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary install disk");
}

InstallDisk::~InstallDisk() {
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void InstallDisk::Write(const fs::path& relative, std::string_view bytes) const {
    fs::path path = root_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void InstallDisk::WriteCompressed(const fs::path& relative, std::string_view bytes,
                                  char missingChar) const {
    std::span<const BYTE> data(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size());
    std::vector<BYTE> packed = host::CompressSzdd(data, static_cast<BYTE>(missingChar));
    Write(relative, std::string_view(reinterpret_cast<const char*>(packed.data()), packed.size()));
}

std::string InstallDisk::ImageBytes(ImageKind kind, std::array<std::uint16_t, 4> version) {
    host::VersionRecord record;
    record.fileVersion = version;
    record.productVersion = version;
    std::vector<BYTE> image;
    switch (kind) {
    case ImageKind::Ne:
        image = host::WriteNeImage(record);
        break;
    case ImageKind::Le:
        record.fileType = kVftVxd;
        image = host::WriteLeImage(record);
        break;
    case ImageKind::Pe:
        record.fileOS = kVosNtWindows32;
        record.fileType = kVftDll;
        image = host::WritePeImage(record);
        break;
    }
    return std::string(reinterpret_cast<const char*>(image.data()), image.size());
}

void InstallDisk::WriteImage(const fs::path& relative, ImageKind kind,
                             std::array<std::uint16_t, 4> version) const {
    Write(relative, ImageBytes(kind, version));
}

void InstallDisk::Remove(const fs::path& relative) const {
    std::error_code ec;
    fs::remove(root_ / relative, ec);
}

std::string InstallDisk::Read(const fs::path& relative) const {
    std::ifstream in(root_ / relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace tl::test
