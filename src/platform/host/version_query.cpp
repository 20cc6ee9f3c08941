#include "platform/host/version_query.h"

#include "platform/version_info.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace tl::host {
namespace {

std::size_t Align4(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

std::uint16_t Le16(const BYTE* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

bool SameLetter(unsigned a, unsigned b) {
    const auto lower = [](unsigned c) {
        return c < 128 ? static_cast<unsigned>(std::tolower(static_cast<int>(c))) : c;
    };
    return lower(a) == lower(b);
}

// One node of the tree, as offsets into the block.
struct Node {
    std::size_t start = 0;
    std::size_t end = 0; // start + its length, never beyond the parent's end
    std::size_t keyStart = 0;
    std::size_t keyUnits = 0; // characters of the key, NUL excluded
    std::size_t valueStart = 0;
    std::size_t valueBytes = 0;
    UINT reportedLength = 0;
    std::size_t childrenStart = 0;
};

class Tree {
public:
    Tree(std::span<const BYTE> block, bool wide) : block_(block), wide_(wide) {}

    std::optional<Node> Parse(std::size_t start, std::size_t limit) const {
        const std::size_t headerSize = wide_ ? 6 : 4;
        if (start + headerSize > limit) {
            return std::nullopt;
        }
        Node node;
        node.start = start;
        const std::size_t length = Le16(&block_[start]);
        if (length < headerSize || length > limit - start) {
            return std::nullopt;
        }
        node.end = start + length;
        const std::size_t valueLength = Le16(&block_[start + 2]);
        const bool text = wide_ && Le16(&block_[start + 4]) == 1;
        node.keyStart = start + headerSize;
        const std::size_t unit = wide_ ? 2 : 1;
        std::size_t at = node.keyStart;
        while (at + unit <= node.end && !IsNul(at)) {
            at += unit;
        }
        if (at + unit > node.end) {
            return std::nullopt; // the key runs off the node
        }
        node.keyUnits = (at - node.keyStart) / unit;
        node.valueStart = std::min(Align4(at + unit), node.end);
        // Lengths that overrun the node are cut to it: a damaged string stays inside the block.
        node.valueBytes =
            std::min(text ? valueLength * 2 : valueLength, node.end - node.valueStart);
        node.reportedLength = static_cast<UINT>(text ? node.valueBytes / 2 : node.valueBytes);
        node.childrenStart = std::min(Align4(node.valueStart + node.valueBytes), node.end);
        return node;
    }

    bool KeyIs(const Node& node, std::string_view key) const {
        if (node.keyUnits != key.size()) {
            return false;
        }
        for (std::size_t i = 0; i < key.size(); ++i) {
            const unsigned c =
                wide_ ? Le16(&block_[node.keyStart + 2 * i]) : block_[node.keyStart + i];
            if (!SameLetter(c, static_cast<unsigned char>(key[i]))) {
                return false;
            }
        }
        return true;
    }

    std::optional<Node> Child(const Node& parent, std::string_view key) const {
        std::size_t at = parent.childrenStart;
        while (at < parent.end) {
            const auto child = Parse(at, parent.end);
            if (!child) {
                return std::nullopt;
            }
            if (KeyIs(*child, key)) {
                return child;
            }
            at = Align4(child->end);
        }
        return std::nullopt;
    }

private:
    bool IsNul(std::size_t at) const { return wide_ ? Le16(&block_[at]) == 0 : block_[at] == 0; }

    std::span<const BYTE> block_;
    bool wide_;
};

std::vector<std::string_view> SplitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const std::size_t slash = path.find('\\');
        const std::string_view part = path.substr(0, slash);
        if (!part.empty()) {
            parts.push_back(part);
        }
        if (slash == std::string_view::npos) {
            break;
        }
        path.remove_prefix(slash + 1);
    }
    return parts;
}

} // namespace

bool IsVersionBlock16(std::span<const BYTE> block) {
    return block.size() > 4 && block[4] >= ' ';
}

std::optional<VersionValue> QueryVersionValue(std::span<const BYTE> block,
                                              std::string_view subBlock) {
    if (block.size() < 6) {
        return std::nullopt;
    }
    const std::size_t limit = std::min<std::size_t>(block.size(), Le16(block.data()));
    const Tree tree(block, !IsVersionBlock16(block));
    auto node = tree.Parse(0, limit);
    const std::vector<std::string_view> parts = SplitPath(subBlock);
    for (std::size_t i = 0; node && i < parts.size(); ++i) {
        node = tree.Child(*node, parts[i]);
    }
    if (!node) {
        return std::nullopt;
    }
    if (parts.empty() && node->valueBytes < FixedFileInfo::kSize) {
        return std::nullopt;
    }
    return VersionValue{block.data() + node->valueStart, node->reportedLength};
}

} // namespace tl::host
