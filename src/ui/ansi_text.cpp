#include "ui/ansi_text.h"

namespace tl::ui {

bool IsLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

std::string TruncateAnsi(std::string_view text, std::size_t count) {
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t width = IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + width > count || i + width > text.size())
            break;
        i += width;
    }
    return std::string(text.substr(0, i));
}

std::string UpperAnsi(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto byte = static_cast<unsigned char>(out[i]);
        if (IsLeadByte(byte)) {
            ++i; // the trail byte may look like a letter
            continue;
        }
        if (byte >= 'a' && byte <= 'z')
            out[i] = static_cast<char>(byte - 'a' + 'A');
    }
    return out;
}

} // namespace tl::ui
