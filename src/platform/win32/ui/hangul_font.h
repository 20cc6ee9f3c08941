// Choosing a typeface that can show Hangul. The templates name "MS Sans Serif" or the string
// table's face, which on a Windows without Korean support (or under Wine) draw Korean text as
// empty boxes; the dialogs and the progress controls then take a Korean face instead. Face
// names are ASCII.
#pragma once

#include <string>
#include <string_view>

namespace tl::win32ui {

inline constexpr unsigned char kHangulCharset = 129; // HANGUL_CHARSET

// True when the system has face `face` with the Hangul character set.
bool FaceHasHangul(std::string_view face);

// `face` when it has Hangul; else the first Korean face the system has (Gulim, Dotum, Batang,
// Malgun Gothic, NanumGothic, ...); else `face` unchanged.
std::string HangulFace(std::string_view face);

} // namespace tl::win32ui
