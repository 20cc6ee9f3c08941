// Port: conversion between the system's ANSI code page (949, Korean) and UTF-8, shaped after
// MultiByteToWideChar/WideCharToMultiByte. Text inside the installer is code-page-949 bytes;
// UTF-8 appears only where the installer meets the world (terminal, transcript, host files).
#pragma once

#include <string>
#include <string_view>

namespace tl {

class CodePage {
public:
    virtual ~CodePage() = default;
    // Code page 949 -> UTF-8. A byte sequence that is not valid code page 949 becomes U+FFFD,
    // so a damaged name still prints and never stops the conversion.
    virtual std::string ToUtf8(std::string_view ansi) const = 0;
    // UTF-8 -> code page 949. A character that the code page lacks, or invalid UTF-8, becomes
    // "?" (the default character of WideCharToMultiByte).
    virtual std::string FromUtf8(std::string_view utf8) const = 0;
};

} // namespace tl
