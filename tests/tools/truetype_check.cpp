#include "truetype_check.h"

#include <map>

namespace tl::test {

TrueTypeCheck CheckTrueType(const std::vector<std::uint8_t>& b) {
    const auto u32 = [&](std::size_t at) {
        return std::uint32_t{b.at(at)} << 24 | std::uint32_t{b.at(at + 1)} << 16 |
               std::uint32_t{b.at(at + 2)} << 8 | b.at(at + 3);
    };
    const auto u16 = [&](std::size_t at) { return std::size_t{b.at(at)} << 8 | b.at(at + 1); };
    const auto sum = [&](std::size_t at, std::size_t length) {
        std::uint32_t total = 0;
        for (std::size_t i = 0; i < length; i += 4)
            for (std::size_t k = 0; k < 4; ++k)
                total += std::uint32_t{i + k < length ? b[at + i + k] : 0u} << (24 - 8 * k);
        return total;
    };
    TrueTypeCheck check;
    const auto fail = [&](std::string why) {
        check.fault = std::move(why);
        return check;
    };
    if (b.size() < 12 || u32(0) != 0x00010000)
        return fail("not a TrueType file");
    const std::size_t count = u16(4);
    if (b.size() < 12 + 16 * count)
        return fail("table directory cut short");
    std::map<std::string, std::pair<std::size_t, std::size_t>> tables; // offset, length
    std::string previous;
    for (std::size_t at = 12; at < 12 + 16 * count; at += 16) {
        const std::string tag(b.begin() + static_cast<std::ptrdiff_t>(at),
                              b.begin() + static_cast<std::ptrdiff_t>(at + 4));
        const std::size_t offset = u32(at + 8), length = u32(at + 12);
        if (tag <= previous)
            return fail("tables out of order at " + tag);
        previous = tag;
        if (offset % 4 != 0 || offset + length > b.size())
            return fail(tag + " lies outside the file");
        // The head table's checksum adjustment is not part of its own sum.
        if (sum(offset, length) - (tag == "head" ? u32(offset + 8) : 0) != u32(at + 4))
            return fail(tag + " checksum");
        tables[tag] = {offset, length};
    }
    for (const char* tag :
         {"OS/2", "cmap", "glyf", "head", "hhea", "hmtx", "loca", "maxp", "name", "post"})
        if (!tables.count(tag))
            return fail(std::string("no ") + tag);
    if (sum(0, b.size()) != 0xB1B0AFBAu)
        return fail("file checksum adjustment");
    const std::size_t head = tables["head"].first;
    if (tables["head"].second < 54 || u32(head + 12) != 0x5F0F3CF5)
        return fail("head");
    const std::size_t glyphs = u16(tables["maxp"].first + 4);
    if (tables["loca"].second != (glyphs + 1) * (u16(head + 50) == 1 ? 4 : 2) ||
        tables["hmtx"].second < 4 * u16(tables["hhea"].first + 34))
        return fail("glyph counts disagree");
    const std::size_t cmap = tables["cmap"].first;
    bool unicode = false;
    for (std::size_t i = 0; i < u16(cmap + 2); ++i)
        unicode |= u16(cmap + 4 + 8 * i) == 3 && u16(cmap + 6 + 8 * i) == 1;
    if (!unicode)
        return fail("no Windows Unicode cmap");
    // Name 4 (full name) of the Windows Unicode names, UTF-16BE of ASCII.
    const std::size_t name = tables["name"].first, strings = name + u16(name + 4);
    for (std::size_t at = name + 6; at < name + 6 + 12 * u16(name + 2); at += 12) {
        if (u16(at) == 3 && u16(at + 2) == 1 && u16(at + 6) == 4)
            for (std::size_t k = 0; k + 1 < u16(at + 8); k += 2)
                check.fullName += static_cast<char>(b.at(strings + u16(at + 10) + k + 1));
    }
    return check.fullName.empty() ? fail("no full name") : check;
}

} // namespace tl::test
