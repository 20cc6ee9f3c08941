// The bytes of install disk files made by whole-run tests: executable images with a version
// resource and LZ-compressed (SZDD) copies. The disk itself is a TempFolder.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tl::test {

// The kind of executable image that carries a version resource.
enum class ImageKind { Ne, Le, Pe };

// An image with a version resource of the given file version.
std::string ImageBytes(ImageKind kind, std::array<std::uint16_t, 4> version);
// The SZDD-compressed form of bytes: the header records the missing last character of the
// expanded name ("TL600.DR_" for TL600.DRV: 'V').
std::string Compressed(std::string_view bytes, char missingChar);

} // namespace tl::test
