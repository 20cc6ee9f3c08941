#include "platform/compressed_name.h"

namespace tl {

std::string CompressedName(std::string_view fileName) {
    std::string name(fileName);
    const std::size_t slash = name.find_last_of("\\/:");
    const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = name.find('.', base);
    if (dot == std::string::npos) {
        return name + "._";
    }
    if (name.size() - dot - 1 < 3) {
        return name + "_";
    }
    name.back() = '_';
    return name;
}

} // namespace tl
