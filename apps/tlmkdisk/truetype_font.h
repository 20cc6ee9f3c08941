// A writer of tiny, complete TrueType fonts for sample install disks: the ten tables a Windows
// font loader needs (OS/2, cmap, glyf, head, hhea, hmtx, loca, maxp, name, post), a handful of
// glyphs and correct checksums, so that AddFontResource and FreeType accept the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tl::tools {

struct TrueTypeFontRecipe {
    std::string family = "Telmora Sample"; // ASCII
    bool bold = false;
    std::string version = "1.00"; // the text of name 5 ("Version 1.00")
    std::string copyright;        // name 0; empty: none
    std::string vendor = "TLMR";  // OS/2 achVendID, four characters
    std::uint32_t created = 0;    // seconds since 1904-01-01 (head created and modified)
};

// The font file's bytes. Glyphs: .notdef, space, "T", "L", and a block that every other
// printable ASCII character (0x21-0x7E) maps to; Unicode cmap (3,1) in format 4; long loca.
std::vector<std::uint8_t> WriteTrueTypeFont(const TrueTypeFontRecipe& spec);

} // namespace tl::tools
