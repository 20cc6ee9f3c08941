#include "text/ansi_text.h"

namespace tl::text {
namespace {

constexpr char UpperLetter(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::size_t CharacterPrefixLength(std::string_view text, std::size_t limit) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t width = CharacterWidth(text, end);
        if (end + width > limit)
            break;
        end += width;
    }
    return end;
}

std::string TruncateAnsi(std::string_view text, std::size_t count) {
    return std::string(text.substr(0, CharacterPrefixLength(text, count)));
}

std::string UpperAnsi(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (IsLeadByte(out[i])) {
            ++i; // the trail byte may look like a letter
            continue;
        }
        out[i] = UpperLetter(out[i]);
    }
    return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (IsLeadByte(a[i]) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
            ++i;
            continue;
        }
        if (UpperLetter(a[i]) != UpperLetter(b[i]))
            return false;
    }
    return true;
}

} // namespace tl::text
