// The string table and every text the installer shows are code-page-949 bytes. Shown through the
// wide (UTF-16) calls they read correctly on a Windows whose own ANSI code page is another one;
// files, INI files and the registry keep their ANSI bytes and never pass through here.
#pragma once

#include <string>
#include <string_view>

namespace tl::win32ui {

inline constexpr unsigned kKoreanCodePage = 949;

// Code page 949 -> UTF-16 (MultiByteToWideChar); a byte the code page lacks becomes U+FFFD.
std::wstring AnsiToWide(std::string_view ansi);
// UTF-16 -> code page 949 (WideCharToMultiByte); a character the code page lacks becomes "?".
std::string WideToAnsi(std::wstring_view wide);

} // namespace tl::win32ui
