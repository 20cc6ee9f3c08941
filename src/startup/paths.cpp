#include "startup/paths.h"

namespace tl {
namespace {

bool IsLeadByte949(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

} // namespace

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
        if (IsLeadByte949(byte) && i + 1 < path.size()) {
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
    std::string upper(text);
    for (std::string::size_type i = 0; i < upper.size(); ++i) {
        auto byte = static_cast<unsigned char>(upper[i]);
        if (IsLeadByte949(byte)) {
            ++i;
            continue;
        }
        if (byte >= 'a' && byte <= 'z')
            upper[i] = static_cast<char>(byte - 'a' + 'A');
    }
    return upper;
}

} // namespace tl
