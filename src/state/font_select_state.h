// What the font selection keeps: the fonts chosen and the space figures the FONT dialog shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tl {

// The selected-font list holds at most this many characters (a 256-byte text with its NUL).
inline constexpr std::size_t kMaxSelectedFontsLength = 255;

struct FontSelectionState {
    // The selected fonts in list order, separated by commas, every blank written as "_"; empty
    // when none is selected. Never longer than kMaxSelectedFontsLength.
    std::string selectedFonts;
    // Kilobytes (of 1,000 bytes) the selection needs on the font directory's drive and on the
    // Windows directory's drive.
    std::int64_t fontTotalKb = 0;
    std::int64_t windowsTotalKb = 0;
    // Free bytes last read on each drive: 64-bit, so large drives report what they hold.
    std::uint64_t fontDriveFreeBytes = 0;
    std::uint64_t windowsDriveFreeBytes = 0;
};

} // namespace tl
