// Text helpers on code page 949 bytes, shared by the host and the Win32 window systems.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tl::ui {

bool IsLeadByte(unsigned char byte);
// At most `count` bytes of `text`, never ending inside a double-byte character.
std::string TruncateAnsi(std::string_view text, std::size_t count);
// Upper-cases the single-byte letters a..z, leaving double-byte characters alone.
std::string UpperAnsi(std::string_view text);

} // namespace tl::ui
