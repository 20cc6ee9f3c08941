#include "machine_changes.h"

#include <map>
#include <utility>

namespace tl::app {
namespace {

struct IniLine {
    std::string section;
    std::string text;
};

std::vector<IniLine> Lines(std::string_view text, const CodePage& codePage) {
    std::vector<IniLine> lines;
    std::string section;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        std::string_view trimmed = line;
        while (!trimmed.empty() && (trimmed.front() == ' ' || trimmed.front() == '\t'))
            trimmed.remove_prefix(1);
        if (!trimmed.empty() && trimmed.front() == '[') {
            const std::size_t close = trimmed.find(']');
            section = codePage.ToUtf8(trimmed.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        }
        lines.push_back({section, codePage.ToUtf8(line)});
    }
    return lines;
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() > end.size() && text.substr(text.size() - end.size()) == end;
}

} // namespace

void CompareIniText(const std::string& file, std::string_view before, std::string_view after,
                    const CodePage& codePage, MachineChanges& changes) {
    const std::vector<IniLine> old = Lines(before, codePage);
    const std::vector<IniLine> now = Lines(after, codePage);
    // Lines kept are matched by section and text, as many times as each stands in both.
    std::map<std::pair<std::string, std::string>, int> kept;
    for (const IniLine& line : old)
        ++kept[{line.section, line.text}];
    std::vector<const IniLine*> added;
    for (const IniLine& line : now) {
        int& count = kept[{line.section, line.text}];
        if (count > 0)
            --count;
        else
            added.push_back(&line);
    }
    std::vector<const IniLine*> removed;
    for (const IniLine& line : old) {
        int& count = kept[{line.section, line.text}];
        if (count > 0) {
            --count;
            removed.push_back(&line);
        }
    }
    for (const IniLine* line : added) {
        bool commented = false;
        if (!line->text.empty() && line->text.front() == ';') {
            for (auto it = removed.begin(); it != removed.end(); ++it) {
                if ((*it)->section == line->section && !(*it)->text.empty() &&
                    EndsWith(line->text, (*it)->text)) {
                    changes.iniCommentedOut.push_back({file, (*it)->section, (*it)->text});
                    removed.erase(it);
                    commented = true;
                    break;
                }
            }
        }
        if (!commented)
            changes.iniAdded.push_back({file, line->section, line->text});
    }
    for (const IniLine* line : removed)
        changes.iniRemoved.push_back({file, line->section, line->text});
}

} // namespace tl::app
