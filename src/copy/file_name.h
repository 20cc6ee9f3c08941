// The file-name part of a path, as the copy engine, the INI editing and the final report take it.
#pragma once

#include <string_view>

namespace tl {

// The text behind the last "\", "/" or ":" of `path`, or the whole path when it has none
// ("C:\FONTS\ARIAL.TTF" and "A:ARIAL.TTF" both give "ARIAL.TTF"). The result views `path`.
// A byte-wise scan is safe: no trail byte of a code page 949 character is "\", "/" or ":".
std::string_view FileNamePart(std::string_view path);

} // namespace tl
