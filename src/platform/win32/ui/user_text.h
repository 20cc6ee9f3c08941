// The USER32 calls that carry texts, or whose A and W forms differ, in the form the system
// takes: the wide (UTF-16) forms on the Windows NT family, where code-page-949 texts are
// converted and so read correctly whatever the system's own code page; the ANSI forms on
// Windows 95, 98 and Me, where most wide window calls are stubs that fail, and where the texts'
// own bytes are what a Korean system shows.
#pragma once

#include "platform/win32/ui/win32_api.h"

#include <string>
#include <string_view>

namespace tl::win32ui {

enum class TextCalls { Wide, Ansi };

// Wide on the Windows NT family, ANSI on Windows 95, 98 and Me.
TextCalls SystemTextCalls();

class UserText {
public:
    explicit UserText(TextCalls calls) : wide_(calls == TextCalls::Wide) {}
    bool Wide() const { return wide_; }

    BOOL SetText(HWND window, std::string_view ansi) const;
    std::string Text(HWND window) const;
    // The window's class name, upper-cased ("BUTTON", "#32770").
    std::string ClassName(HWND window) const;
    // A message whose lParam is a text (LB_ADDSTRING, EM_REPLACESEL, ...).
    ::LRESULT SendText(HWND window, UINT message, ::WPARAM wParam, std::string_view ansi) const;
    // A list box's item, "" when it has none at `index`.
    std::string ListItem(HWND list, int index) const;

    ::LRESULT Send(HWND window, UINT message, ::WPARAM wParam, ::LPARAM lParam) const;
    BOOL Post(HWND window, UINT message, ::WPARAM wParam, ::LPARAM lParam) const;
    ::LRESULT DefProc(HWND window, UINT message, ::WPARAM wParam, ::LPARAM lParam) const;
    LONG GetLong(HWND window, int index) const;
    LONG SetLong(HWND window, int index, LONG value) const;
    int Box(HWND owner, std::string_view text, std::string_view caption, UINT type) const;

private:
    bool wide_;
};

} // namespace tl::win32ui
