// Code page 949 <-> UTF-8 on the host through glibc's iconv ("CP949", the Unified Hangul Code
// that Korean Windows uses).
#pragma once

#include "platform/code_page.h"

namespace tl::host {

class IconvCodePage final : public CodePage {
public:
    std::string ToUtf8(std::string_view ansi) const override;
    std::string FromUtf8(std::string_view utf8) const override;
};

} // namespace tl::host
