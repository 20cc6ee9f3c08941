#include "selection/catalogue.h"

#include "dialogs/dialog_utils.h"
#include "platform/error_event.h"
#include "platform/recorded_profile.h"
#include "resources/string_table.h"
#include "selection/copy_section.h"
#include "state/inf_query.h"
#include "state/installer.h"
#include "state/removal_log.h"

#include <vector>

namespace tl {
namespace {

// Keys of driver data records 1 to 5; record 0 is "DriverFile".
constexpr std::array<std::string_view, 6> kDriverKeys = {"DriverFile",  "DefaultDataType",
                                                         "HelpFile",    "LanguageMonitor",
                                                         "PortMonitor", "PrintProcessor"};

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// The first line of the model list named by line `manufacturerLine` of the manufacturer section,
// or none after the not-found report.
std::optional<InfLine> FindModelList(Installer& installer, WindowHandle owner,
                                     std::optional<InfLine> manufacturerSection,
                                     int manufacturerLine) {
    std::optional<InfLine> line = manufacturerSection;
    for (int i = 0; i < manufacturerLine && line; ++i)
        line = NextInfLine(installer.scripts, line);
    std::string listName;
    GetInfField(installer.scripts, line, 1, listName);
    std::optional<InfLine> list = FindInfSection(installer.scripts, std::nullopt, listName);
    if (!list)
        ReportInfNotFound(installer, owner, "", MissingSection(listName));
    return list;
}

std::string BuildDriverData(Installer& installer, std::string_view driverSection) {
    std::string block;
    for (std::size_t record = 0; record < kDriverKeys.size(); ++record) {
        std::string value;
        GetInfKey(installer.scripts, std::nullopt, driverSection, kDriverKeys[record], value);
        block += std::to_string(record);
        block += '\0';
        block += value;
        block += '\0';
        block += '\r';
    }
    block += kDriverDataEnd;
    return block;
}

} // namespace

std::vector<std::string> SplitAtCommas(std::string_view value) {
    std::vector<std::string> names;
    for (;;) {
        const std::size_t comma = value.find(',');
        names.emplace_back(TrimBlanks(value.substr(0, comma)));
        if (comma == std::string_view::npos)
            return names;
        value.remove_prefix(comma + 1);
    }
}

InfLack MissingSection(std::string_view section) {
    return {"FindInfSection", "[" + std::string(section) + "]", kErrorSectionNotFound};
}

InfLack MissingLine(std::string_view lookup, std::string_view section, std::string_view key) {
    return {lookup, "[" + std::string(section) + "] " + std::string(key), kErrorLineNotFound};
}

void ReportInfNotFound(Installer& installer, WindowHandle owner, std::string_view name,
                       const InfLack& lack) {
    RecordError(installer.platform, lack.lookup, lack.what, lack.code);
    std::string text = LoadTextCopy(TextId::CannotReadScript);
    text += "\n strings = ";
    text += name;
    installer.windows.MessageBox(owner, text, "Error", MB_OK | MB_ICONHAND,
                                 MessageKey(TextId::CannotReadScript));
}

int LoadModelList(Installer& installer, WindowHandle owner,
                  std::optional<InfLine> manufacturerSection, int manufacturerLine) {
    std::optional<InfLine> line =
        FindModelList(installer, owner, manufacturerSection, manufacturerLine);
    if (!line)
        return 0;
    const int listed = CountInfLines(installer.scripts, line);
    CatalogueState& catalogue = installer.catalogue;
    int count = 0;
    for (; line && count < static_cast<int>(kMaxModels); ++count) {
        std::string name;
        GetInfField(installer.scripts, line, 0, name);
        catalogue.models[static_cast<std::size_t>(count)].name = std::move(name);
        line = NextInfLine(installer.scripts, line);
    }
    catalogue.modelCount = count;
    if (listed > count) {
        // The dialog offers five models; say so rather than leave the others out unseen.
        const std::string text = "The driver catalogue lists " + std::to_string(listed) +
                                 " models; only the first " + std::to_string(kMaxModels) +
                                 " can be installed.";
        installer.windows.MessageBox(owner, text, LoadTextCopy(TextId::CautionCaption),
                                     MB_OK | MB_ICONEXCLAMATION, "Too many models");
    }
    return count;
}

bool ReadModelSection(Installer& installer, WindowHandle owner,
                      std::optional<InfLine> manufacturerSection, int manufacturerLine,
                      int modelIndex) {
    std::optional<InfLine> line =
        FindModelList(installer, owner, manufacturerSection, manufacturerLine);
    if (!line)
        return false;
    for (int i = 0; i < modelIndex && line; ++i)
        line = NextInfLine(installer.scripts, line);
    std::string name;
    if (!line || !GetInfField(installer.scripts, line, 0, name)) {
        ReportInfNotFound(
            installer, owner, "",
            MissingLine("GetInfField", "model list", "line " + std::to_string(modelIndex + 1)));
        return false;
    }
    if (name.size() > kPrinterNameMax) {
        // The name becomes the spooler's driver name, which holds 39 characters.
        const std::string text = "The printer name \"" + name + "\" is longer than " +
                                 std::to_string(kPrinterNameMax) + " characters.";
        installer.windows.MessageBox(owner, text, "Error", MB_OK | MB_ICONHAND,
                                     "The printer name is too long");
        return false;
    }
    installer.printerName = name;
    // The removal program deletes a settings file the installation made.
    static_cast<void>(NoteSettingsWrite(installer));
    WriteProfileRecorded(installer.platform, "Install", "DriverName", name.c_str(),
                         installer.paths.privateSettingsFile.c_str());

    std::string driverSection;
    GetInfField(installer.scripts, line, 1, driverSection);
    if (!FindInfSection(installer.scripts, std::nullopt, driverSection)) {
        // A model line whose driver section cannot be read ("A=B", an open quote) names it
        // as its model: the record says which.
        ReportInfNotFound(installer, owner, "",
                          MissingSection(driverSection.empty() ? name : driverSection));
        return false;
    }
    std::string copyFiles;
    if (!GetInfKey(installer.scripts, std::nullopt, driverSection, "CopyFiles", copyFiles)) {
        ReportInfNotFound(installer, owner, "",
                          MissingLine("GetInfKey", driverSection, "CopyFiles"));
        return false;
    }
    std::string block = BuildDriverData(installer, driverSection);
    block.resize(std::max(block.size(), kDriverDataSize), '\0');
    installer.catalogue.driverData = std::move(block);

    for (const std::string& section : SplitAtCommas(copyFiles)) {
        if (!AddCopySection(installer, owner, section))
            return false;
    }
    return true;
}

std::optional<std::array<std::string, 6>> DriverDataValues(const CatalogueState& catalogue) {
    if (!catalogue.driverData)
        return std::nullopt;
    std::string_view rest = *catalogue.driverData;
    std::array<std::string, 6> values;
    for (std::size_t record = 0; record < values.size(); ++record) {
        const std::string number = std::to_string(record) + '\0';
        if (rest.substr(0, number.size()) != number)
            return std::nullopt;
        rest.remove_prefix(number.size());
        const std::size_t end = rest.find('\0');
        if (end == std::string_view::npos || end + 1 >= rest.size() || rest[end + 1] != '\r')
            return std::nullopt;
        values[record] = std::string(rest.substr(0, end));
        rest.remove_prefix(end + 2);
    }
    if (rest.empty() || rest.front() != kDriverDataEnd)
        return std::nullopt;
    return values;
}

} // namespace tl
