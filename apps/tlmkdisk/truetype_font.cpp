#include "truetype_font.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
#include <string_view>

namespace tl::tools {
namespace {

constexpr int kUnitsPerEm = 1000;
constexpr int kAscender = 800;
constexpr int kDescender = -200;
constexpr char32_t kFirstChar = 0x20;
constexpr char32_t kLastChar = 0x7E;

// Big-endian bytes, as every sfnt table stores its numbers.
class Bytes {
public:
    void U8(unsigned v) { data_.push_back(static_cast<std::uint8_t>(v)); }
    void U16(unsigned v) {
        U8(v >> 8 & 0xFF);
        U8(v & 0xFF);
    }
    void S16(int v) { U16(static_cast<unsigned>(static_cast<std::uint16_t>(v))); }
    void U32(std::uint32_t v) {
        U16(v >> 16);
        U16(v & 0xFFFF);
    }
    void Tag(std::string_view tag) {
        for (char c : tag) {
            U8(static_cast<unsigned char>(c));
        }
    }
    void Append(const std::vector<std::uint8_t>& more) {
        data_.insert(data_.end(), more.begin(), more.end());
    }
    void PadTo4() {
        while (data_.size() % 4 != 0) {
            U8(0);
        }
    }
    void PutU32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            data_[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
        }
    }
    std::size_t Size() const { return data_.size(); }
    const std::vector<std::uint8_t>& Data() const { return data_; }
    std::vector<std::uint8_t> Take() { return std::move(data_); }

private:
    std::vector<std::uint8_t> data_;
};

// The sum of the data as big-endian 32-bit words, the last one padded with zeros.
std::uint32_t CheckSum(const std::vector<std::uint8_t>& data) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < data.size(); i += 4) {
        std::uint32_t word = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            word = word << 8 | (i + k < data.size() ? data[i + k] : 0u);
        }
        sum += word;
    }
    return sum;
}

struct Point {
    int x;
    int y;
};
using Contour = std::vector<Point>;

struct Glyph {
    int advance = 0;
    std::vector<Contour> contours;

    int XMin() const { return Extreme(&Point::x, true); }
    int XMax() const { return Extreme(&Point::x, false); }
    int YMin() const { return Extreme(&Point::y, true); }
    int YMax() const { return Extreme(&Point::y, false); }
    std::size_t PointCount() const {
        std::size_t n = 0;
        for (const Contour& c : contours) {
            n += c.size();
        }
        return n;
    }

private:
    int Extreme(int Point::*axis, bool lowest) const {
        int best = lowest ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min();
        for (const Contour& c : contours) {
            for (const Point& p : c) {
                best = lowest ? std::min(best, p.*axis) : std::max(best, p.*axis);
            }
        }
        return contours.empty() ? 0 : best;
    }
};

// A filled rectangle: a clockwise contour, as TrueType fills the area on its right.
Contour Box(int x0, int y0, int x1, int y1) {
    return {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}};
}

// The counter-clockwise hole inside a box.
Contour Hole(int x0, int y0, int x1, int y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

// Glyph order: 0 .notdef, 1 space, 2 T, 3 L, 4 block.
std::vector<Glyph> MakeGlyphs(bool bold) {
    const int stem = bold ? 120 : 64;
    std::vector<Glyph> glyphs(5);
    glyphs[0] = {500, {Box(50, 0, 450, 700), Hole(50 + stem, stem, 450 - stem, 700 - stem)}};
    glyphs[1] = {250, {}};
    glyphs[2] = {
        600, {Box(40, 700 - stem, 560, 700), Box(300 - stem / 2, 0, 300 + stem / 2, 700 - stem)}};
    glyphs[3] = {550, {Box(80, stem, 80 + stem, 700), Box(80, 0, 500, stem)}};
    glyphs[4] = {bold ? 560 : 520, {Box(60, 0, bold ? 500 : 460, 500)}};
    return glyphs;
}

std::uint16_t GlyphFor(char32_t c) {
    if (c == U' ') {
        return 1;
    }
    if (c == U'T') {
        return 2;
    }
    if (c == U'L') {
        return 3;
    }
    return 4;
}

// A simple glyph: every point on the curve, coordinates as 16-bit deltas.
std::vector<std::uint8_t> GlyphData(const Glyph& glyph) {
    Bytes out;
    if (glyph.contours.empty()) {
        return {};
    }
    out.S16(static_cast<int>(glyph.contours.size()));
    out.S16(glyph.XMin());
    out.S16(glyph.YMin());
    out.S16(glyph.XMax());
    out.S16(glyph.YMax());
    unsigned last = 0;
    for (const Contour& c : glyph.contours) {
        last += static_cast<unsigned>(c.size());
        out.U16(last - 1);
    }
    out.U16(0); // no instructions
    for (std::size_t i = 0; i < glyph.PointCount(); ++i) {
        out.U8(0x01); // on curve
    }
    for (int Point::*axis : {&Point::x, &Point::y}) {
        int previous = 0;
        for (const Contour& c : glyph.contours) {
            for (const Point& p : c) {
                out.S16(p.*axis - previous);
                previous = p.*axis;
            }
        }
    }
    while (out.Size() % 4 != 0) {
        out.U8(0);
    }
    return out.Take();
}

std::vector<std::uint8_t> Head(const TrueTypeFontRecipe& spec, const std::vector<Glyph>& glyphs) {
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    for (const Glyph& g : glyphs) {
        if (g.contours.empty()) {
            continue;
        }
        xMin = std::min(xMin, g.XMin());
        yMin = std::min(yMin, g.YMin());
        xMax = std::max(xMax, g.XMax());
        yMax = std::max(yMax, g.YMax());
    }
    Bytes t;
    t.U32(0x00010000);
    t.U32(0x00010000); // font revision 1.0
    t.U32(0);          // checkSumAdjustment, set once the whole file is known
    t.U32(0x5F0F3CF5);
    t.U16(0x0009); // baseline at y=0, integer scaling
    t.U16(kUnitsPerEm);
    t.U32(0);
    t.U32(spec.created);
    t.U32(0);
    t.U32(spec.created);
    t.S16(xMin);
    t.S16(yMin);
    t.S16(xMax);
    t.S16(yMax);
    t.U16(spec.bold ? 1 : 0); // macStyle
    t.U16(8);                 // lowestRecPPEM
    t.S16(2);                 // fontDirectionHint
    t.S16(1);                 // long loca
    t.S16(0);
    return t.Take();
}

std::vector<std::uint8_t> Hhea(const std::vector<Glyph>& glyphs) {
    int advanceMax = 0;
    int minLsb = std::numeric_limits<int>::max();
    int minRsb = std::numeric_limits<int>::max();
    int maxExtent = 0;
    for (const Glyph& g : glyphs) {
        advanceMax = std::max(advanceMax, g.advance);
        if (g.contours.empty()) {
            continue;
        }
        minLsb = std::min(minLsb, g.XMin());
        minRsb = std::min(minRsb, g.advance - g.XMax());
        maxExtent = std::max(maxExtent, g.XMax());
    }
    Bytes t;
    t.U32(0x00010000);
    t.S16(kAscender);
    t.S16(kDescender);
    t.S16(0); // line gap
    t.U16(static_cast<unsigned>(advanceMax));
    t.S16(minLsb);
    t.S16(minRsb);
    t.S16(maxExtent);
    t.S16(1); // caret slope: upright
    t.S16(0);
    t.S16(0);
    for (int i = 0; i < 4; ++i) {
        t.S16(0);
    }
    t.S16(0); // metric data format
    t.U16(static_cast<unsigned>(glyphs.size()));
    return t.Take();
}

std::vector<std::uint8_t> Maxp(const std::vector<Glyph>& glyphs) {
    std::size_t points = 0;
    std::size_t contours = 0;
    for (const Glyph& g : glyphs) {
        points = std::max(points, g.PointCount());
        contours = std::max(contours, g.contours.size());
    }
    Bytes t;
    t.U32(0x00010000);
    t.U16(static_cast<unsigned>(glyphs.size()));
    t.U16(static_cast<unsigned>(points));
    t.U16(static_cast<unsigned>(contours));
    t.U16(0); // composite points
    t.U16(0); // composite contours
    t.U16(2); // zones
    for (int i = 0; i < 8; ++i) {
        t.U16(0); // twilight points ... component depth: no instructions, no composites
    }
    return t.Take();
}

std::vector<std::uint8_t> Os2(const TrueTypeFontRecipe& spec, const std::vector<Glyph>& glyphs) {
    int widthSum = 0;
    int widthCount = 0;
    for (const Glyph& g : glyphs) {
        if (g.advance > 0) {
            widthSum += g.advance;
            ++widthCount;
        }
    }
    Bytes t;
    t.U16(3);
    t.S16(widthCount > 0 ? widthSum / widthCount : 0);
    t.U16(spec.bold ? 700 : 400);
    t.U16(5);                                                    // medium width
    t.U16(0);                                                    // installable embedding
    for (int v : {650, 600, 0, 75, 650, 600, 0, 350, 50, 250}) { // sub/superscript, strikeout
        t.S16(v);
    }
    t.S16(0); // family class
    for (int i = 0; i < 10; ++i) {
        t.U8(0); // PANOSE: any
    }
    t.U32(1); // Unicode range: Basic Latin
    t.U32(0);
    t.U32(0);
    t.U32(0);
    std::string vendor = spec.vendor;
    vendor.resize(4, ' ');
    t.Tag(vendor);
    t.U16(spec.bold ? 0x20 : 0x40); // BOLD or REGULAR
    t.U16(kFirstChar);
    t.U16(kLastChar);
    t.S16(kAscender);
    t.S16(kDescender);
    t.S16(0);
    t.U16(kAscender);
    t.U16(-kDescender);
    t.U32(1); // code page 1252
    t.U32(0);
    t.S16(500); // x height
    t.S16(700); // cap height
    t.U16(0);   // default character: .notdef
    t.U16(' '); // break character
    t.U16(1);   // max context
    return t.Take();
}

std::vector<std::uint8_t> Hmtx(const std::vector<Glyph>& glyphs) {
    Bytes t;
    for (const Glyph& g : glyphs) {
        t.U16(static_cast<unsigned>(g.advance));
        t.S16(g.XMin());
    }
    return t.Take();
}

// Format 4 with two segments: 0x20-0x7E through the glyph array, and the closing 0xFFFF.
std::vector<std::uint8_t> Cmap() {
    constexpr unsigned kSegments = 2;
    constexpr unsigned kCount = kLastChar - kFirstChar + 1;
    Bytes sub;
    sub.U16(4);
    sub.U16(16 + 8 * kSegments + 2 * kCount); // length
    sub.U16(0);                               // language
    sub.U16(2 * kSegments);
    sub.U16(4); // searchRange = 2 * 2^floor(log2(segments))
    sub.U16(1); // entrySelector
    sub.U16(0); // rangeShift
    sub.U16(kLastChar);
    sub.U16(0xFFFF);
    sub.U16(0); // reserved pad
    sub.U16(kFirstChar);
    sub.U16(0xFFFF);
    sub.S16(0);             // idDelta: the glyph array holds the glyph ids themselves
    sub.S16(1);             // 0xFFFF + 1 = glyph 0
    sub.U16(2 * kSegments); // idRangeOffset of segment 0: the array follows the offsets
    sub.U16(0);
    for (char32_t c = kFirstChar; c <= kLastChar; ++c) {
        sub.U16(GlyphFor(c));
    }
    Bytes t;
    t.U16(0);
    t.U16(1);
    t.U16(3); // Windows
    t.U16(1); // Unicode BMP
    t.U32(12);
    t.Append(sub.Data());
    return t.Take();
}

std::vector<std::uint8_t> Name(const TrueTypeFontRecipe& spec) {
    const std::string style = spec.bold ? "Bold" : "Regular";
    const std::string full = spec.bold ? spec.family + " Bold" : spec.family;
    std::string postScript;
    for (char c : full) {
        if (c != ' ') {
            postScript += c;
        }
    }
    std::vector<std::pair<unsigned, std::string>> names;
    if (!spec.copyright.empty()) {
        names.emplace_back(0, spec.copyright);
    }
    names.emplace_back(1, spec.family);
    names.emplace_back(2, style);
    names.emplace_back(3, spec.vendor + ": " + full + ": " + spec.version);
    names.emplace_back(4, full);
    names.emplace_back(5, "Version " + spec.version);
    names.emplace_back(6, postScript);

    Bytes strings;
    Bytes t;
    t.U16(0);
    t.U16(static_cast<unsigned>(names.size()));
    t.U16(static_cast<unsigned>(6 + 12 * names.size()));
    for (const auto& [id, text] : names) {
        const std::size_t offset = strings.Size();
        for (char c : text) {
            strings.U16(static_cast<unsigned char>(c)); // ASCII as UTF-16BE
        }
        t.U16(3);
        t.U16(1);
        t.U16(0x0409);
        t.U16(id);
        t.U16(static_cast<unsigned>(2 * text.size()));
        t.U16(static_cast<unsigned>(offset));
    }
    t.Append(strings.Data());
    return t.Take();
}

std::vector<std::uint8_t> Post() {
    Bytes t;
    t.U32(0x00030000); // no glyph names
    t.U32(0);          // italic angle
    t.S16(-100);       // underline position
    t.S16(50);         // underline thickness
    for (int i = 0; i < 5; ++i) {
        t.U32(0);
    }
    return t.Take();
}

} // namespace

std::vector<std::uint8_t> WriteTrueTypeFont(const TrueTypeFontRecipe& spec) {
    const std::vector<Glyph> glyphs = MakeGlyphs(spec.bold);
    std::vector<std::uint8_t> glyf;
    Bytes loca;
    for (const Glyph& g : glyphs) {
        loca.U32(static_cast<std::uint32_t>(glyf.size()));
        const std::vector<std::uint8_t> data = GlyphData(g);
        glyf.insert(glyf.end(), data.begin(), data.end());
    }
    loca.U32(static_cast<std::uint32_t>(glyf.size()));

    // In tag order, as the table directory must list them.
    const std::array<std::pair<std::string_view, std::vector<std::uint8_t>>, 10> tables{{
        {"OS/2", Os2(spec, glyphs)},
        {"cmap", Cmap()},
        {"glyf", glyf},
        {"head", Head(spec, glyphs)},
        {"hhea", Hhea(glyphs)},
        {"hmtx", Hmtx(glyphs)},
        {"loca", loca.Take()},
        {"maxp", Maxp(glyphs)},
        {"name", Name(spec)},
        {"post", Post()},
    }};

    Bytes file;
    file.U32(0x00010000);
    file.U16(static_cast<unsigned>(tables.size()));
    file.U16(128); // searchRange: 8 tables * 16
    file.U16(3);   // entrySelector
    file.U16(static_cast<unsigned>(tables.size() * 16 - 128));
    std::size_t offset = 12 + 16 * tables.size();
    std::size_t headOffset = 0;
    for (const auto& [tag, data] : tables) {
        file.Tag(tag);
        file.U32(CheckSum(data));
        file.U32(static_cast<std::uint32_t>(offset));
        file.U32(static_cast<std::uint32_t>(data.size()));
        if (tag == "head") {
            headOffset = offset;
        }
        offset += (data.size() + 3) / 4 * 4;
    }
    for (const auto& table : tables) {
        file.Append(table.second);
        file.PadTo4();
    }
    file.PutU32(headOffset + 8, 0xB1B0AFBAu - CheckSum(file.Data()));
    return file.Take();
}

} // namespace tl::tools
