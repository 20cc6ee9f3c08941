#include "inf_line_index.h"

namespace tl::tools {
namespace {

// Names agree when their bytes do with bit 0x20 set in both, as the reader compares them.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size() || a.empty())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if ((a[i] | 0x20) != (b[i] | 0x20))
            return false;
    }
    return true;
}

// One physical line as the reader keeps it, and as written up to its comment.
void Compact(std::string_view line, std::string& text, std::string& written) {
    bool inQuotes = false;
    for (const char c : line) {
        if (c == ';' || c == '\x1a' || c == '\0')
            break;
        if (c == '\r')
            continue;
        written.push_back(c);
        if ((c == ' ' || c == '\t') && !inQuotes)
            continue;
        if (c == '"')
            inQuotes = !inQuotes;
        text.push_back(c);
    }
}

} // namespace

InfLineIndex::InfLineIndex(std::string_view file) {
    int number = 0;
    while (!file.empty()) {
        ++number;
        const std::size_t end = file.find('\n');
        const std::string_view line = file.substr(0, end);
        file.remove_prefix(end == std::string_view::npos ? file.size() : end + 1);
        IndexedLine indexed{number, {}, {}};
        Compact(line, indexed.text, indexed.written);
        if (indexed.text.empty())
            continue;
        if (indexed.text.front() == '[') {
            const std::size_t close = indexed.text.find(']');
            sections_.push_back(
                {indexed.text.substr(1, close == std::string::npos ? std::string::npos : close - 1),
                 number,
                 {}});
            continue;
        }
        if (!sections_.empty())
            sections_.back().lines.push_back(std::move(indexed));
    }
}

const IndexedSection* InfLineIndex::Find(std::string_view section) const {
    for (const IndexedSection& candidate : sections_) {
        if (SameName(candidate.name, section))
            return &candidate;
    }
    return nullptr;
}

int InfLineIndex::LineNumber(std::string_view section, std::size_t index) const {
    const IndexedSection* found = Find(section);
    if (!found)
        return 0;
    return index < found->lines.size() ? found->lines[index].number : found->header;
}

} // namespace tl::tools
