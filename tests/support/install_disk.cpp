#include "support/install_disk.h"

#include "platform/host/szdd_compressor.h"
#include "platform/host/version_image_writer.h"

namespace tl::test {

std::string Compressed(std::string_view bytes, char missingChar) {
    std::span<const BYTE> data(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size());
    std::vector<BYTE> packed = host::CompressSzdd(data, static_cast<BYTE>(missingChar));
    return std::string(reinterpret_cast<const char*>(packed.data()), packed.size());
}

std::string ImageBytes(ImageKind kind, std::array<std::uint16_t, 4> version) {
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

} // namespace tl::test
