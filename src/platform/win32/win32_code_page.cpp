#include "platform/win32/win32_code_page.h"

#include "platform/win32/win32_api.h"

#include <cstdint>
#include <optional>
#include <utility>

namespace tl::win32 {
namespace {

constexpr UINT kKorean = 949;
constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    auto put = [&](unsigned value) { out.push_back(static_cast<char>(value)); };
    if (c < 0x80) {
        put(static_cast<unsigned>(c));
    } else if (c < 0x800) {
        put(0xC0 | static_cast<unsigned>(c >> 6));
        put(0x80 | static_cast<unsigned>(c & 0x3F));
    } else if (c < 0x10000) {
        put(0xE0 | static_cast<unsigned>(c >> 12));
        put(0x80 | static_cast<unsigned>((c >> 6) & 0x3F));
        put(0x80 | static_cast<unsigned>(c & 0x3F));
    } else {
        put(0xF0 | static_cast<unsigned>(c >> 18));
        put(0x80 | static_cast<unsigned>((c >> 12) & 0x3F));
        put(0x80 | static_cast<unsigned>((c >> 6) & 0x3F));
        put(0x80 | static_cast<unsigned>(c & 0x3F));
    }
}

// The character of one code-page-949 unit (one or two bytes), or none when the code page has
// no character there.
std::optional<char32_t> DecodeUnit(const char* bytes, int count) {
    WCHAR wide[2] = {};
    int n = ::MultiByteToWideChar(kKorean, MB_ERR_INVALID_CHARS, bytes, count, wide, 2);
    if (n != 1) {
        return std::nullopt;
    }
    return static_cast<char32_t>(wide[0]);
}

// The bytes of one character in code page 949, or none when the code page lacks it. Without
// WC_NO_BEST_FIT_CHARS the system writes a look-alike ("U" for "Ü"), and a typed path would name
// another folder than the one asked for. Windows 95 knows no such flag (ERROR_INVALID_FLAGS): the
// bytes are therefore also read back, and must give the same character.
std::optional<std::string> EncodeUnit(WCHAR wide) {
    char bytes[4] = {};
    BOOL usedDefault = FALSE;
    int n = ::WideCharToMultiByte(kKorean, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, sizeof bytes,
                                  nullptr, &usedDefault);
    if (n <= 0 && ::GetLastError() == ERROR_INVALID_FLAGS) {
        usedDefault = FALSE;
        n = ::WideCharToMultiByte(kKorean, 0, &wide, 1, bytes, sizeof bytes, nullptr, &usedDefault);
    }
    if (n <= 0 || usedDefault) {
        return std::nullopt;
    }
    WCHAR back[2] = {};
    if (::MultiByteToWideChar(kKorean, 0, bytes, n, back, 2) != 1 || back[0] != wide) {
        return std::nullopt;
    }
    return std::string(bytes, static_cast<std::size_t>(n));
}

// Decodes the UTF-8 character at `text[at]`: the character and the bytes it takes, a broken or
// truncated sequence giving none and the bytes to skip as one character.
std::pair<std::optional<char32_t>, std::size_t> DecodeUtf8(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = lead < 0x80   ? 1
                         : lead < 0xC2 ? 0
                         : lead < 0xE0 ? 2
                         : lead < 0xF0 ? 3
                         : lead < 0xF5 ? 4
                                       : 0;
    if (length == 1) {
        return {lead, 1};
    }
    if (length == 0) {
        return {std::nullopt, 1};
    }
    char32_t c = lead & (0x7F >> length);
    std::size_t taken = 1;
    while (taken < length && at + taken < text.size() &&
           (static_cast<unsigned char>(text[at + taken]) & 0xC0) == 0x80) {
        c = (c << 6) | (static_cast<unsigned char>(text[at + taken]) & 0x3F);
        ++taken;
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (taken < length || c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
        return {std::nullopt, taken};
    }
    return {c, taken};
}

} // namespace

std::string Win32CodePage::ToUtf8(std::string_view ansi) const {
    std::string out;
    out.reserve(ansi.size() * 3 / 2);
    for (std::size_t i = 0; i < ansi.size();) {
        const auto byte = static_cast<unsigned char>(ansi[i]);
        if (byte < 0x80) {
            out.push_back(static_cast<char>(byte));
            ++i;
            continue;
        }
        // A lead byte with a trail that makes no character counts alone: the trail may start the
        // next character.
        if (::IsDBCSLeadByteEx(kKorean, byte) && i + 1 < ansi.size()) {
            if (auto c = DecodeUnit(ansi.data() + i, 2)) {
                AppendUtf8(out, *c);
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, kReplacement);
        ++i;
    }
    return out;
}

std::string Win32CodePage::FromUtf8(std::string_view utf8) const {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        auto [c, taken] = DecodeUtf8(utf8, i);
        i += taken;
        if (c && *c < 0x80) {
            out.push_back(static_cast<char>(*c));
            continue;
        }
        if (!c || *c > 0xFFFF) {
            out.push_back('?');
            continue;
        }
        const std::optional<std::string> bytes = EncodeUnit(static_cast<WCHAR>(*c));
        out.append(bytes ? *bytes : std::string("?"));
    }
    return out;
}

} // namespace tl::win32
