#include "truetype_check.h"

#include <map>
#include <string_view>

namespace tl::test {
namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 |
           std::uint32_t{b[at + 2]} << 8 | b[at + 3];
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] << 8 | b[at + 1]);
}

std::uint32_t Sum(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t length) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < length; i += 4) {
        std::uint32_t word = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            word = word << 8 | (i + k < length ? b[at + i + k] : 0u);
        }
        sum += word;
    }
    return sum;
}

struct Table {
    std::size_t offset;
    std::size_t length;
};

} // namespace

TrueTypeCheck CheckTrueType(const std::vector<std::uint8_t>& font) {
    TrueTypeCheck check;
    auto fail = [&](std::string why) {
        check.fault = std::move(why);
        return check;
    };
    if (font.size() < 12 || U32(font, 0) != 0x00010000) {
        return fail("not a TrueType file");
    }
    const std::size_t count = U16(font, 4);
    if (font.size() < 12 + 16 * count) {
        return fail("table directory cut short");
    }
    std::map<std::string, Table> tables;
    std::string previous;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 12 + 16 * i;
        const std::string tag(font.begin() + static_cast<std::ptrdiff_t>(at),
                              font.begin() + static_cast<std::ptrdiff_t>(at + 4));
        const Table table{U32(font, at + 8), U32(font, at + 12)};
        if (tag <= previous) {
            return fail("tables out of order at " + tag);
        }
        previous = tag;
        if (table.offset % 4 != 0 || table.offset + table.length > font.size()) {
            return fail(tag + " lies outside the file");
        }
        std::uint32_t sum = Sum(font, table.offset, table.length);
        if (tag == "head") {
            sum -= U32(font, table.offset + 8); // the adjustment is not part of its own sum
        }
        if (sum != U32(font, at + 4)) {
            return fail(tag + " checksum");
        }
        tables[tag] = table;
    }
    for (const char* tag :
         {"OS/2", "cmap", "glyf", "head", "hhea", "hmtx", "loca", "maxp", "name", "post"}) {
        if (!tables.count(tag)) {
            return fail(std::string("no ") + tag);
        }
    }
    if (Sum(font, 0, font.size()) != 0xB1B0AFBAu) {
        return fail("file checksum adjustment");
    }
    const Table head = tables["head"];
    if (head.length < 54 || U32(font, head.offset + 12) != 0x5F0F3CF5) {
        return fail("head");
    }
    const std::size_t glyphs = U16(font, tables["maxp"].offset + 4);
    const std::size_t locaEntry = U16(font, head.offset + 50) == 1 ? 4 : 2;
    if (tables["loca"].length != (glyphs + 1) * locaEntry ||
        tables["hmtx"].length < 4 * U16(font, tables["hhea"].offset + 34)) {
        return fail("glyph counts disagree");
    }
    const Table cmap = tables["cmap"];
    bool unicode = false;
    for (std::size_t i = 0; i < U16(font, cmap.offset + 2); ++i) {
        const std::size_t at = cmap.offset + 4 + 8 * i;
        unicode |= U16(font, at) == 3 && U16(font, at + 2) == 1;
    }
    if (!unicode) {
        return fail("no Windows Unicode cmap");
    }
    const Table name = tables["name"];
    const std::size_t strings = name.offset + U16(font, name.offset + 4);
    for (std::size_t i = 0; i < U16(font, name.offset + 2); ++i) {
        const std::size_t at = name.offset + 6 + 12 * i;
        if (U16(font, at) != 3 || U16(font, at + 2) != 1 || U16(font, at + 6) != 4) {
            continue;
        }
        const std::size_t start = strings + U16(font, at + 10);
        for (std::size_t k = 0; k + 1 < U16(font, at + 8); k += 2) {
            check.fullName += static_cast<char>(font.at(start + k + 1));
        }
    }
    if (check.fullName.empty()) {
        return fail("no full name");
    }
    return check;
}

} // namespace tl::test
