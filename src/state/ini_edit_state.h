// What the INI editing keeps between the lines of [DeleteIni]: a member of the Installer.
#pragma once

#include <cstddef>
#include <string>

namespace tl {

// The mode text: a mode character, a separator, the product text; at most 127 bytes.
inline constexpr std::size_t kModeTextSize = 128;

struct IniEditState {
    std::string modeText = "0";
    // The user refused a removal in mode "5"; read and cleared at the end of [DeleteIni].
    bool declined = false;
};

} // namespace tl
