#include "text/disk_name.h"

#include <array>

namespace tl {
namespace {

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsUpper(std::string_view text, std::string_view upper) {
    if (text.size() != upper.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (UpperAscii(text[i]) != upper[i])
            return false;
    }
    return true;
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

bool IsDeviceName(std::string_view component) {
    std::string_view stem = component.substr(0, component.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.remove_suffix(1);
    constexpr std::array<std::string_view, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
    for (std::string_view device : kPlain) {
        if (EqualsUpper(stem, device))
            return true;
    }
    if (stem.size() != 4 || stem[3] < '1' || stem[3] > '9')
        return false;
    const std::string_view prefix = stem.substr(0, 3);
    return EqualsUpper(prefix, "COM") || EqualsUpper(prefix, "LPT");
}

DiskNameFault CheckDiskName(std::string_view name) {
    if (name.empty())
        return DiskNameFault::Empty;
    if (name.size() > kDiskNameMax)
        return DiskNameFault::TooLong;
    for (const char c : name) {
        if (IsControl(c))
            return DiskNameFault::ControlCharacter;
        if (c == '\\' || c == '/' || c == ':')
            return DiskNameFault::Separator;
    }
    if (name == "." || name == "..")
        return DiskNameFault::DotName;
    if (name.back() == '.' || name.back() == ' ')
        return DiskNameFault::TrailingDot;
    if (IsDeviceName(name))
        return DiskNameFault::DeviceName;
    return DiskNameFault::None;
}

bool IsUsableDirectoryPath(std::string_view path) {
    if (path.size() < 2 || !IsDriveLetter(path[0]) || path[1] != ':')
        return false;
    std::string_view rest = path.substr(2);
    if (rest.empty())
        return true;
    if (!IsSeparator(rest[0]) || (rest.size() > 1 && IsSeparator(rest[1])))
        return false;
    for (const char c : rest) {
        if (IsControl(c) || c == ':')
            return false;
    }
    while (!rest.empty()) {
        const std::size_t end = rest.find_first_of("\\/");
        if (IsDeviceName(rest.substr(0, end)))
            return false;
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    return true;
}

std::string_view DiskNameFaultText(DiskNameFault fault) {
    switch (fault) {
    case DiskNameFault::None:
        return {};
    case DiskNameFault::Empty:
        return "the name is empty";
    case DiskNameFault::Separator:
        return "the name holds a \\, / or :";
    case DiskNameFault::DotName:
        return "the name is . or ..";
    case DiskNameFault::ControlCharacter:
        return "the name holds a control character";
    case DiskNameFault::TrailingDot:
        return "the name ends in a dot or a blank";
    case DiskNameFault::DeviceName:
        return "the name is a device name";
    case DiskNameFault::TooLong:
        return "the name is longer than 255 characters";
    }
    return {};
}

} // namespace tl
