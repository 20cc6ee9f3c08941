#include "platform/host/iconv_code_page.h"

#include <cerrno>
#include <iconv.h>

namespace tl::host {
namespace {

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// Length of the UTF-8 sequence that starts with `lead` (1 for a stray byte), so that an invalid
// character is skipped as a whole.
std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) {
        return 4;
    }
    if (lead >= 0xE0) {
        return lead < 0xF0 ? 3 : 1;
    }
    if (lead >= 0xC2) {
        return 2;
    }
    return 1;
}

// Converts with iconv, replacing every unconvertible input unit by `replacement`. `skip` says how
// many input bytes one bad unit occupies.
template <typename Skip>
std::string Convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement, Skip skip) {
    if (IsAscii(input)) {
        return std::string(input);
    }
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::string(input);
    }
    std::string out;
    out.reserve(input.size() * 2);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            continue;
        }
        // EILSEQ or EINVAL (a truncated sequence at the end): replace one unit and go on.
        std::size_t bad = skip(in, inLeft);
        if (bad == 0 || bad > inLeft) {
            bad = inLeft < 1 ? 0 : 1;
        }
        out.append(replacement);
        in += bad;
        inLeft -= bad;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::string IconvCodePage::ToUtf8(std::string_view ansi) const {
    return Convert("UTF-8", "CP949", ansi, "\xEF\xBF\xBD", [](const char* p, std::size_t left) {
        // A lead byte with a bad trail: drop the lead byte only, the trail may start a character.
        (void)p;
        return left > 0 ? std::size_t{1} : std::size_t{0};
    });
}

std::string IconvCodePage::FromUtf8(std::string_view utf8) const {
    return Convert("CP949", "UTF-8", utf8, "?", [](const char* p, std::size_t left) {
        std::size_t n = Utf8SequenceLength(static_cast<unsigned char>(*p));
        std::size_t taken = 1;
        while (taken < n && taken < left && (static_cast<unsigned char>(p[taken]) & 0xC0) == 0x80) {
            ++taken;
        }
        return taken;
    });
}

} // namespace tl::host
