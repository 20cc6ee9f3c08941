#include "sequencer/language_table.h"
#include "resources/text_id.h"

#include "resources/string_table.h"
#include "selection/language.h"
#include "state/inf_query.h"
#include "state/installer.h"
#include "sysfiles/ini_edit.h"

#include <algorithm>
#include <string>

namespace tl {
namespace {

constexpr std::size_t kComparedCharacters = 4;

std::string WorkingName(int language) {
    const auto text = LookupString(Id(TextId::FirstLanguageName) + static_cast<unsigned>(language));
    std::string name(text.value_or(std::string_view{}));
    std::erase(name, '&');
    return name;
}

void ReportInvalidEntry(Installer& installer, std::string_view name) {
    const std::string text =
        "oem.inf\n section [Manufacturer]\n Entry ' " + std::string(name) + " ' is invalid";
    installer.windows.MessageBox({}, text, "Error", MB_OK, "Error");
}

} // namespace

std::optional<int> ManufacturerLanguage(std::string_view name) {
    const std::size_t open = name.find_first_of("([");
    const std::string_view language = open == std::string_view::npos ? name : name.substr(open + 1);
    for (int k = 0; k < static_cast<int>(kMaxLanguages); ++k) {
        if (PrefixEqualsNoCase(WorkingName(k), language, kComparedCharacters))
            return k;
    }
    return std::nullopt;
}

void BuildLanguageTable(Installer& installer, std::optional<InfLine> manufacturer) {
    auto& table = installer.language.table;
    table.clear();
    int lineNumber = 0;
    for (auto line = manufacturer; line;
         line = NextInfLine(installer.scripts, line), ++lineNumber) {
        std::string name;
        if (!GetInfField(installer.scripts, line, 0, name)) {
            // A line without "=" names no edition; show what it holds.
            ReportInvalidEntry(installer, InfLineText(installer.scripts, *line).value_or(""));
            continue;
        }
        const std::optional<int> language = ManufacturerLanguage(name);
        if (!language) {
            ReportInvalidEntry(installer, name);
            continue;
        }
        if (table.size() < kMaxLanguages)
            table.push_back(LanguageEntry{*language, lineNumber});
    }
}

} // namespace tl
