#include "state/paths.h"
#include "text/ansi_text.h"

namespace tl {
namespace {} // namespace

std::string JoinPath(std::string_view dir, std::string_view name) {
    std::string path(dir);
    path += '\\';
    path += name;
    return path;
}

std::string DirectoryOf(std::string_view path) {
    // A "\" can be the second byte of a double-byte character, so walk the text forwards.
    std::string_view::size_type last = std::string_view::npos;
    for (std::string_view::size_type i = 0; i < path.size(); ++i) {
        auto byte = static_cast<unsigned char>(path[i]);
        if (text::IsLeadByte(byte) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (path[i] == '\\')
            last = i;
    }
    if (last == std::string_view::npos)
        return std::string(path);
    return std::string(path.substr(0, last));
}

std::string RemoveTrailingBackslashes(std::string path) {
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

std::string RemoveOneTrailingBackslash(std::string path) {
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

std::string UpperPath(std::string_view text) {
    return text::UpperAnsi(text);
}

} // namespace tl
