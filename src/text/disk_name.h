// Names that come from an install disk (copy sections, font lines, settings file names, INI file
// names) become paths only through this check: a name is exactly one path component of an
// ordinary file, so it can never lead out of the directory it is put in nor reach a device.
#pragma once

#include <cstddef>
#include <string_view>

namespace tl {

// Longest name a directory entry holds.
inline constexpr std::size_t kDiskNameMax = 255;

enum class DiskNameFault {
    None,
    Empty,
    Separator,        // "\", "/" or ":": more than one component, or a drive
    DotName,          // "." or ".."
    ControlCharacter, // a byte below 0x20 or 0x7F
    TrailingDot,      // a trailing "." or blank, which Windows drops: another file's name
    DeviceName,       // CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, with or without extension
    TooLong,          // more than 255 bytes
};

// Checks `name` (code page 949 bytes). A byte-wise scan is sound: no trail byte of a code page
// 949 character is below 0x41, so none is a separator, a control character, a dot or a blank.
DiskNameFault CheckDiskName(std::string_view name);

// Whether one path component names a device: its part before the first "." (trailing blanks
// dropped) is one of the reserved names, in any case.
bool IsDeviceName(std::string_view component);

// Whether a directory the user typed (after the installer completed it) is one it may use: a
// drive letter and ":", then nothing or a path from that drive's root ("D:\FONTS"); never a
// UNC path ("\\SERVER\SHARE", also as "C:\\SERVER"), a path relative to a drive's current
// directory ("C:FONTS"), a control character or a component that names a device ("C:\NUL",
// "C:\LPT1.TXT\FONTS").
bool IsUsableDirectoryPath(std::string_view path);

// A short English description of the fault, for messages.
std::string_view DiskNameFaultText(DiskNameFault fault);

} // namespace tl
