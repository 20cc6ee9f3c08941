#include "sequencer/font_copy_list.h"

#include "state/inf_query.h"

#include <algorithm>
#include <optional>

namespace tl {
namespace {

constexpr std::string_view kFontSectionSuffix = ".TrueType";
// "d:" in front of the file and the name.
constexpr std::size_t kFieldPrefix = 2;

bool IsDiskDigit(char c) {
    return c >= '1' && c <= '9';
}

std::string Trimmed(std::string_view text) {
    constexpr std::string_view kTrim = " \t\"";
    const std::size_t first = text.find_first_not_of(kTrim);
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(kTrim) - first + 1));
}

std::string AfterPrefix(const std::string& field) {
    return field.size() > kFieldPrefix ? field.substr(kFieldPrefix) : std::string();
}

void CollectLine(const SetupScripts& scripts, InfLine line, const std::string& section,
                 std::vector<FontPair>& pairs, std::vector<FontListFault>& faults) {
    std::optional<std::string> pendingFile;
    std::string field;
    const std::string lineText =
        section + ": " + std::string(InfLineText(scripts, line).value_or(""));
    for (int n = 1; GetInfField(scripts, line, n, field); ++n) {
        if (field.empty())
            break;
        if (IsDiskDigit(field[0])) {
            if (pendingFile)
                faults.push_back({section, *pendingFile});
            pendingFile = field;
            continue;
        }
        if (field[0] != '0')
            break;
        if (pendingFile) {
            pairs.push_back(
                {(*pendingFile)[0], AfterPrefix(*pendingFile), AfterPrefix(field), lineText});
            pendingFile.reset();
        }
    }
    if (pendingFile)
        faults.push_back({section, *pendingFile});
}

} // namespace

std::vector<std::string> SplitSelectedFonts(std::string_view selectedFonts) {
    std::vector<std::string> names;
    while (!selectedFonts.empty()) {
        const std::size_t comma = selectedFonts.find(',');
        std::string name = Trimmed(selectedFonts.substr(0, comma));
        if (!name.empty())
            names.push_back(std::move(name));
        if (comma == std::string_view::npos)
            break;
        selectedFonts.remove_prefix(comma + 1);
    }
    return names;
}

std::vector<FontPair> CollectFontPairs(const SetupScripts& scripts,
                                       const std::vector<std::string>& fonts,
                                       std::vector<FontListFault>& faults) {
    std::vector<FontPair> pairs;
    for (const std::string& font : fonts) {
        // However long the name, the section is looked up by all of it.
        const std::string section = font + std::string(kFontSectionSuffix);
        for (auto line = FindInfSection(scripts, std::nullopt, section); line;
             line = NextInfLine(scripts, line))
            CollectLine(scripts, *line, section, pairs, faults);
    }
    return pairs;
}

CopyListError FillFontCopyList(CopyList& list, std::vector<FontPair> pairs, FontPair* refused) {
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const FontPair& a, const FontPair& b) { return a.disk < b.disk; });
    list.Clear();
    for (FontPair& pair : pairs) {
        const CopyListError error =
            list.AppendFontPair(pair.disk, pair.fileName, pair.registryName);
        if (error != CopyListError::None) {
            if (refused)
                *refused = std::move(pair);
            return error;
        }
    }
    return CopyListError::None;
}

} // namespace tl
