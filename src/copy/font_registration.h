// The system's list of installed TrueType-compatible fonts: whether a font is in it, and adding
// an installed font file to it.
#pragma once

#include "platform/win_types.h"

#include <string>
#include <string_view>

namespace tl {

struct Installer;

// The registry key (under HKEY_LOCAL_MACHINE) whose values name the installed fonts.
inline constexpr const char* kInstalledFontsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";

// A font's value name in that key: its registry name followed by " (TrueType)".
std::string FontValueName(std::string_view registryName);

// Asks whether `valueName` exists in the key of installed fonts without reading it: 0 when it
// does, 2 when it does not, or the error that opening the key or asking gave.
LONG QueryFontRegistration(Installer& installer, std::string_view valueName);

// Registers the font copied to `destinationPath` under `valueName`: the font file path is the
// font directory as the user typed it + "\" + the destination's file name. The font resource is
// added and the registry value written. False when either failed (recorded as an error event):
// the font is then not installed as Windows knows fonts, and the installation has failed.
[[nodiscard]] bool RegisterFont(Installer& installer, std::string_view destinationPath,
                                std::string_view valueName);

} // namespace tl
