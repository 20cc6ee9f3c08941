#include "platform/host/version_block_writer.h"

#include <charconv>
#include <cstdint>
#include <string_view>

namespace tl::host {
namespace {

void Put16(std::vector<BYTE>& out, std::size_t at, std::size_t value) {
    out[at] = static_cast<BYTE>(value);
    out[at + 1] = static_cast<BYTE>(value >> 8);
}

void Append32(std::vector<BYTE>& out, DWORD value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<BYTE>(value >> (8 * i)));
    }
}

void Pad4(std::vector<BYTE>& out) {
    while (out.size() % 4 != 0) {
        out.push_back(0);
    }
}

std::vector<BYTE> FixedInfoBytes(const VersionRecord& r) {
    std::vector<BYTE> out;
    const auto ms = [](const std::array<WORD, 4>& v) { return DWORD{v[0]} << 16 | v[1]; };
    const auto ls = [](const std::array<WORD, 4>& v) { return DWORD{v[2]} << 16 | v[3]; };
    for (DWORD word : {kVsFfiSignature, kVsFfiStrucVersion, ms(r.fileVersion), ls(r.fileVersion),
                       ms(r.productVersion), ls(r.productVersion), r.fileFlagsMask, r.fileFlags,
                       r.fileOS, r.fileType, r.fileSubtype, DWORD{0}, DWORD{0}}) {
        Append32(out, word);
    }
    return out;
}

// A node of either layout: header, key, value, children; each piece starts on a 4-byte boundary
// of the whole block, which every node itself starts on.
struct Node {
    std::string key;
    std::vector<BYTE> value;
    bool text = false; // 32-bit layout: value length in characters, type 1
    std::vector<Node> children;
};

void Emit(std::vector<BYTE>& out, const Node& node, bool wide) {
    const std::size_t start = out.size();
    out.resize(start + (wide ? 6 : 4), 0);
    for (char c : node.key) {
        out.push_back(static_cast<BYTE>(c));
        if (wide) {
            out.push_back(0);
        }
    }
    out.insert(out.end(), wide ? 2 : 1, BYTE{0});
    Pad4(out);
    out.insert(out.end(), node.value.begin(), node.value.end());
    for (const Node& child : node.children) {
        Pad4(out);
        Emit(out, child, wide);
    }
    Put16(out, start, out.size() - start);
    Put16(out, start + 2, node.text ? node.value.size() / 2 : node.value.size());
    if (wide) {
        Put16(out, start + 4, node.text ? 1 : 0);
    }
}

std::vector<BYTE> TextValue(const std::string& text, bool wide) {
    std::vector<BYTE> out;
    for (char c : text) {
        out.push_back(static_cast<BYTE>(c));
        if (wide) {
            out.push_back(0);
        }
    }
    out.insert(out.end(), wide ? 2 : 1, BYTE{0});
    return out;
}

std::vector<BYTE> Build(const VersionRecord& record, bool wide) {
    Node root{"VS_VERSION_INFO", FixedInfoBytes(record), false, {}};
    if (!record.strings.empty()) {
        Node table{record.stringTable, {}, wide, {}};
        for (const auto& [name, text] : record.strings) {
            table.children.push_back({name, TextValue(text, wide), wide, {}});
        }
        root.children.push_back({"StringFileInfo", {}, wide, {table}});
        // The translation names the string table's language and code page.
        DWORD language = 0;
        DWORD codePage = 0;
        const std::string& key = record.stringTable;
        if (key.size() == 8) {
            std::from_chars(key.data(), key.data() + 4, language, 16);
            std::from_chars(key.data() + 4, key.data() + 8, codePage, 16);
        }
        Node translation{"Translation", {}, false, {}};
        translation.value = {static_cast<BYTE>(language), static_cast<BYTE>(language >> 8),
                             static_cast<BYTE>(codePage), static_cast<BYTE>(codePage >> 8)};
        root.children.push_back({"VarFileInfo", {}, wide, {translation}});
    }
    std::vector<BYTE> out;
    Emit(out, root, wide);
    return out;
}

} // namespace

std::optional<std::array<WORD, 4>> ParseFourPartVersion(std::string_view text) {
    std::array<WORD, 4> parts{};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t dot = text.find('.');
        const std::string_view part = i < 3 ? text.substr(0, dot) : text;
        if ((i < 3 && dot == std::string_view::npos) || part.empty() || part.size() > 5) {
            return std::nullopt;
        }
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (ec != std::errc{} || end != part.data() + part.size() || value > 0xFFFF) {
            return std::nullopt;
        }
        parts[i] = static_cast<WORD>(value);
        if (i < 3) {
            text.remove_prefix(dot + 1);
        }
    }
    return parts;
}

std::vector<BYTE> BuildVersionBlock16(const VersionRecord& record) {
    return Build(record, false);
}
std::vector<BYTE> BuildVersionBlock32(const VersionRecord& record) {
    return Build(record, true);
}

} // namespace tl::host
