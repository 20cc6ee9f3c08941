#include "platform/win32/ui/user_text.h"

#include "platform/win32/ui/wide_text.h"
#include "text/ansi_text.h"

#include <algorithm>
#include <cctype>

namespace tl::win32ui {

TextCalls SystemTextCalls() {
    // GetVersion sets its top bit on Windows 95, 98 and Me.
    return (GetVersion() & 0x80000000u) ? TextCalls::Ansi : TextCalls::Wide;
}

BOOL UserText::SetText(HWND window, std::string_view ansi) const {
    if (wide_)
        return SetWindowTextW(window, AnsiToWide(ansi).c_str());
    return SetWindowTextA(window, std::string(ansi).c_str());
}

std::string UserText::Text(HWND window) const {
    if (wide_) {
        int length = GetWindowTextLengthW(window);
        if (length <= 0)
            return {};
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        int got = GetWindowTextW(window, text.data(), length + 1);
        text.resize(static_cast<std::size_t>(std::max(got, 0)));
        return WideToAnsi(text);
    }
    int length = GetWindowTextLengthA(window);
    if (length <= 0)
        return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    int got = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

std::string UserText::ClassName(HWND window) const {
    char name[64] = {};
    int length = 0;
    if (wide_) {
        wchar_t wide[64] = {};
        length = GetClassNameW(window, wide, 64);
        for (int i = 0; i < length; ++i) // class names of interest are ASCII
            name[i] = wide[i] < 0x80 ? static_cast<char>(wide[i]) : '?';
    } else {
        length = GetClassNameA(window, name, 64);
    }
    return text::UpperAnsi(std::string_view(name, static_cast<std::size_t>(std::max(length, 0))));
}

::LRESULT UserText::SendText(HWND window, UINT message, ::WPARAM wParam,
                             std::string_view ansi) const {
    if (wide_) {
        std::wstring text = AnsiToWide(ansi);
        return SendMessageW(window, message, wParam, reinterpret_cast<::LPARAM>(text.c_str()));
    }
    std::string text(ansi);
    return SendMessageA(window, message, wParam, reinterpret_cast<::LPARAM>(text.c_str()));
}

std::string UserText::ListItem(HWND list, int index) const {
    const auto item = static_cast<::WPARAM>(index);
    ::LRESULT length = Send(list, LB_GETTEXTLEN, item, 0);
    if (length < 0)
        return {};
    if (wide_) {
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        ::LRESULT got =
            SendMessageW(list, LB_GETTEXT, item, reinterpret_cast<::LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(std::max<::LRESULT>(got, 0)));
        return WideToAnsi(text);
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    ::LRESULT got = SendMessageA(list, LB_GETTEXT, item, reinterpret_cast<::LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<::LRESULT>(got, 0)));
    return text;
}

::LRESULT UserText::Send(HWND window, UINT message, ::WPARAM wParam, ::LPARAM lParam) const {
    return wide_ ? SendMessageW(window, message, wParam, lParam)
                 : SendMessageA(window, message, wParam, lParam);
}

BOOL UserText::Post(HWND window, UINT message, ::WPARAM wParam, ::LPARAM lParam) const {
    return wide_ ? PostMessageW(window, message, wParam, lParam)
                 : PostMessageA(window, message, wParam, lParam);
}

::LRESULT UserText::DefProc(HWND window, UINT message, ::WPARAM wParam, ::LPARAM lParam) const {
    return wide_ ? DefWindowProcW(window, message, wParam, lParam)
                 : DefWindowProcA(window, message, wParam, lParam);
}

LONG UserText::GetLong(HWND window, int index) const {
    return static_cast<LONG>(wide_ ? GetWindowLongW(window, index) : GetWindowLongA(window, index));
}

LONG UserText::SetLong(HWND window, int index, LONG value) const {
    return static_cast<LONG>(wide_ ? SetWindowLongW(window, index, value)
                                   : SetWindowLongA(window, index, value));
}

int UserText::Box(HWND owner, std::string_view text, std::string_view caption, UINT type) const {
    if (wide_)
        return MessageBoxW(owner, AnsiToWide(text).c_str(), AnsiToWide(caption).c_str(), type);
    return MessageBoxA(owner, std::string(text).c_str(), std::string(caption).c_str(), type);
}

} // namespace tl::win32ui
