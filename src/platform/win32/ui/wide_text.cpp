#include "platform/win32/ui/wide_text.h"

#include "platform/win32/ui/win32_api.h"

#include <climits>

namespace tl::win32ui {

std::wstring AnsiToWide(std::string_view ansi) {
    if (ansi.empty() || ansi.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(ansi.size());
    int needed = MultiByteToWideChar(kKoreanCodePage, 0, ansi.data(), length, nullptr, 0);
    if (needed <= 0)
        return std::wstring(ansi.begin(), ansi.end()); // no code page 949 here: bytes as they are
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(kKoreanCodePage, 0, ansi.data(), length, wide.data(), needed);
    return wide;
}

std::string WideToAnsi(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(wide.size());
    // No best fit: a character the code page lacks is "?", not a look-alike letter.
    int needed = WideCharToMultiByte(kKoreanCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                     nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string ansi(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(kKoreanCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, ansi.data(),
                        needed, nullptr, nullptr);
    return ansi;
}

} // namespace tl::win32ui
