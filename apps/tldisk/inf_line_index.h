// Where each line of a setup script stands in its file. The installer's reader keeps no line
// numbers (it compacts a script into its lines' text); this index walks the file the same way,
// line by line, so that the n-th line the reader gives for a section is the n-th line here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::tools {

struct IndexedLine {
    int number = 0;      // 1-based line number in the file
    std::string text;    // the line as the reader gives it: blanks outside quotes and comment gone
    std::string written; // the line as the file holds it, without its comment and line end
};

struct IndexedSection {
    std::string name; // as the header writes it, between "[" and "]"
    int header = 0;   // the header's line number
    std::vector<IndexedLine> lines;
};

class InfLineIndex {
public:
    explicit InfLineIndex(std::string_view file);

    // The first section of that name (letters compared without case), as the reader finds it.
    const IndexedSection* Find(std::string_view section) const;
    // The line number of line `index` (0-based) of `section`; the header's for an index beyond
    // its lines, 0 for a section that is not there.
    int LineNumber(std::string_view section, std::size_t index = 0) const;

    const std::vector<IndexedSection>& Sections() const { return sections_; }

private:
    std::vector<IndexedSection> sections_;
};

} // namespace tl::tools
