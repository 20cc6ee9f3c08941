// The code-page port on the system's own tables for code page 949 (MultiByteToWideChar and
// WideCharToMultiByte), whatever the system's ANSI code page is. UTF-8 is encoded and decoded
// here, because Windows 95 has no CP_UTF8.
#pragma once

#include "platform/code_page.h"

namespace tl::win32 {

class Win32CodePage final : public CodePage {
public:
    std::string ToUtf8(std::string_view ansi) const override;
    std::string FromUtf8(std::string_view utf8) const override;
};

} // namespace tl::win32
