#include "platform/host/spooler_registry.h"

namespace tl::host {

SpoolerValue TextValue(std::string_view text) {
    return {kRegSz, std::string(text)};
}

SpoolerValue DwordValue(DWORD value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFFu);
    }
    return {kRegDword, std::move(bytes)};
}

SpoolerValue MultiTextValue(const std::vector<std::string>& names) {
    std::string bytes;
    for (const auto& name : names) {
        bytes += name;
        bytes += '\0';
    }
    bytes += '\0';
    return {kRegMultiSz, std::move(bytes)};
}

std::optional<std::string> ValueText(const std::optional<SpoolerValue>& value) {
    if (!value || value->type != kRegSz) {
        return std::nullopt;
    }
    // A value written by another program may carry its NUL; the text ends there.
    return value->data.substr(0, value->data.find('\0'));
}

std::optional<DWORD> ValueDword(const std::optional<SpoolerValue>& value) {
    if (!value || value->data.size() != 4 ||
        (value->type != kRegDword && value->type != kRegBinary)) {
        return std::nullopt;
    }
    DWORD result = 0;
    for (int i = 3; i >= 0; --i) {
        result = (result << 8) | static_cast<unsigned char>(value->data[i]);
    }
    return result;
}

std::vector<std::string> ValueNames(const std::optional<SpoolerValue>& value) {
    std::vector<std::string> names;
    if (!value) {
        return names;
    }
    const std::string& bytes = value->data;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\0', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        if (end == start) {
            break;
        }
        names.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

} // namespace tl::host
