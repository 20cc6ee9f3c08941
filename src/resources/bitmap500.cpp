#include "resources/bitmap500.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tl {

namespace {

// The 16 colours of the standard VGA palette; the artwork uses index 0 (black) and 15 (white).
constexpr std::array<COLORREF, 16> kVgaPalette = {
    Rgb(0, 0, 0),       Rgb(128, 0, 0),   Rgb(0, 128, 0),   Rgb(128, 128, 0),
    Rgb(0, 0, 128),     Rgb(128, 0, 128), Rgb(0, 128, 128), Rgb(192, 192, 192),
    Rgb(128, 128, 128), Rgb(255, 0, 0),   Rgb(0, 255, 0),   Rgb(255, 255, 0),
    Rgb(0, 0, 255),     Rgb(255, 0, 255), Rgb(0, 255, 255), Rgb(255, 255, 255)};
constexpr BYTE kInk = 0;
constexpr BYTE kPaper = 15;

// A 5 x 7 pixel font for the letters of the title.
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
struct Glyph {
    char letter;
    std::array<std::string_view, kGlyphHeight> rows;
};
constexpr std::array<Glyph, 7> kGlyphs = {{
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    {'l', {".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'m', {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"}},
    {'o', {".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."}},
    {'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
}};

constexpr std::string_view kTitle = "Telmora";
constexpr LONG kScale = 10; // one font pixel becomes 10 x 10 picture pixels
constexpr LONG kAdvance = (kGlyphWidth + 1) * kScale;

const Glyph* FindGlyph(char letter) {
    for (const Glyph& glyph : kGlyphs) {
        if (glyph.letter == letter) {
            return &glyph;
        }
    }
    return nullptr;
}

Bitmap DrawTitle() {
    Bitmap picture;
    picture.width = kTitleBitmapWidth;
    picture.height = kTitleBitmapHeight;
    picture.palette.assign(kVgaPalette.begin(), kVgaPalette.end());
    picture.pixels.assign(static_cast<std::size_t>(picture.width * picture.height), kPaper);

    const LONG textWidth = static_cast<LONG>(kTitle.size()) * kAdvance - kScale;
    const LONG left = (picture.width - textWidth) / 2;
    const LONG top = (picture.height - kGlyphHeight * kScale) / 2;
    for (std::size_t index = 0; index < kTitle.size(); ++index) {
        const Glyph* glyph = FindGlyph(kTitle[index]);
        if (glyph == nullptr) {
            continue;
        }
        const LONG glyphLeft = left + static_cast<LONG>(index) * kAdvance;
        for (LONG y = 0; y < kGlyphHeight * kScale; ++y) {
            const std::string_view row = glyph->rows[static_cast<std::size_t>(y / kScale)];
            for (LONG x = 0; x < kGlyphWidth * kScale; ++x) {
                if (row[static_cast<std::size_t>(x / kScale)] != '#') {
                    continue;
                }
                picture
                    .pixels[static_cast<std::size_t>((top + y) * picture.width + glyphLeft + x)] =
                    kInk;
            }
        }
    }
    return picture;
}

BYTE IndexAt(const Bitmap& picture, std::size_t at) {
    return at < picture.pixels.size() ? static_cast<BYTE>(picture.pixels[at] & 0x0F) : kPaper;
}

void PutWord(std::vector<BYTE>& out, std::uint32_t value) {
    out.push_back(static_cast<BYTE>(value & 0xFF));
    out.push_back(static_cast<BYTE>((value >> 8) & 0xFF));
}

void PutDword(std::vector<BYTE>& out, std::uint32_t value) {
    PutWord(out, value & 0xFFFF);
    PutWord(out, value >> 16);
}

} // namespace

const Bitmap& TitleBitmap() {
    static const Bitmap picture = DrawTitle();
    return picture;
}

std::vector<BYTE> EncodeBmp16(const Bitmap& picture) {
    constexpr std::uint32_t kFileHeaderSize = 14;
    constexpr std::uint32_t kInfoHeaderSize = 40;
    constexpr std::uint32_t kPaletteSize = 16 * 4;
    const auto width = static_cast<std::uint32_t>(picture.width);
    const auto height = static_cast<std::uint32_t>(picture.height);
    const std::uint32_t rowBytes = ((width * 4 + 31) / 32) * 4;
    const std::uint32_t imageSize = rowBytes * height;
    const std::uint32_t bitsOffset = kFileHeaderSize + kInfoHeaderSize + kPaletteSize;

    std::vector<BYTE> out;
    out.reserve(bitsOffset + imageSize);
    out.push_back('B');
    out.push_back('M');
    PutDword(out, bitsOffset + imageSize);
    PutDword(out, 0);
    PutDword(out, bitsOffset);

    PutDword(out, kInfoHeaderSize);
    PutDword(out, width);
    PutDword(out, height);
    PutWord(out, 1);  // planes
    PutWord(out, 4);  // bits per pixel
    PutDword(out, 0); // BI_RGB
    PutDword(out, imageSize);
    PutDword(out, 0); // resolution: none given
    PutDword(out, 0);
    PutDword(out, 16); // colours used
    PutDword(out, 0);

    for (std::size_t index = 0; index < 16; ++index) {
        const COLORREF colour = index < picture.palette.size() ? picture.palette[index] : kBlack;
        out.push_back(BlueOf(colour));
        out.push_back(GreenOf(colour));
        out.push_back(RedOf(colour));
        out.push_back(0);
    }

    for (std::uint32_t row = height; row-- > 0;) {
        const std::size_t rowStart = out.size();
        for (std::uint32_t x = 0; x < width; x += 2) {
            const std::size_t at = static_cast<std::size_t>(row) * width + x;
            const BYTE high = IndexAt(picture, at);
            const BYTE low = x + 1 < width ? IndexAt(picture, at + 1) : BYTE{0};
            out.push_back(static_cast<BYTE>((high << 4) | low));
        }
        out.resize(rowStart + rowBytes, 0);
    }
    return out;
}

} // namespace tl
