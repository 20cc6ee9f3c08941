// Blanks inside an unquoted value: the setup-script reader drops every blank outside double
// quotes, so "LanguageMonitor=TL Monitor,TLMON.DLL" is read as "TLMonitor". Blanks next to "="
// or "," and at either end of a line are lost harmlessly.
#include "check_context.h"

namespace tl::tools {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsSeparator(char c) {
    return c == '=' || c == ',';
}

// The first word run together by the reader, or empty: the text around the dropped blanks.
std::string DroppedBlanks(std::string_view written) {
    bool inQuotes = false;
    for (std::size_t i = 0; i < written.size(); ++i) {
        const char c = written[i];
        if (c == '"')
            inQuotes = !inQuotes;
        if (inQuotes || !IsBlank(c))
            continue;
        std::size_t end = i;
        while (end < written.size() && IsBlank(written[end]))
            ++end;
        const bool between = i > 0 && end < written.size() && !IsSeparator(written[i - 1]) &&
                             !IsSeparator(written[end]) && !IsBlank(written[i - 1]);
        if (between) {
            std::size_t from = i;
            while (from > 0 && !IsBlank(written[from - 1]) && !IsSeparator(written[from - 1]))
                --from;
            std::size_t to = end;
            while (to < written.size() && !IsBlank(written[to]) && !IsSeparator(written[to]))
                ++to;
            return std::string(written.substr(from, to - from));
        }
        i = end - 1;
    }
    return {};
}

} // namespace

void CheckBlanks(CheckContext& context, const CheckedScript& script) {
    for (const IndexedSection& section : script.index.Sections()) {
        for (std::size_t i = 0; i < section.lines.size(); ++i) {
            const std::string words = DroppedBlanks(section.lines[i].written);
            if (words.empty())
                continue;
            std::string read;
            for (const char c : words) {
                if (!IsBlank(c))
                    read.push_back(c);
            }
            context.Add(script, section.name, i, kBlankInValue,
                        "\"" + words + "\" is read as \"" + read +
                            "\": put the value in double quotes");
        }
    }
}

} // namespace tl::tools
