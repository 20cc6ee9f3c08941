#include "copy/file_name.h"

namespace tl {

std::string_view FileNamePart(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/:");
    if (separator == std::string_view::npos) {
        return path;
    }
    return path.substr(separator + 1);
}

} // namespace tl
