// The checks of the driver catalogue, walked as the driver step walks it for every language
// edition and every model: the model lists, the names, the driver and copy sections, and each
// file a copy section names (there, expanding whole, and with a version where the version check
// reads one).
#include "check_context.h"

#include "copy/file_version_text.h"
#include "selection/catalogue.h"
#include "selection/copy_section.h"
#include "state/copy_list.h"
#include "state/inf_query.h"
#include "text/ansi_text.h"

#include <set>

namespace tl::tools {
namespace {

constexpr std::string_view kManufacturer = "Manufacturer";
constexpr std::string_view kSourceDisksFiles = "SourceDisksFiles";

bool HasExtension(std::string_view name, std::string_view extension) {
    const std::optional<std::string_view> own = FileExtension(name);
    return own && text::EqualsIgnoreCase(*own, extension);
}

struct CatalogueWalk {
    CheckContext& context;
    const CheckedScript& catalogue;
    std::set<std::string> checkedSections; // copy sections whose lines were checked
    std::map<std::string, std::uint64_t> sectionBytes;
    std::map<std::string, std::size_t> sectionLines;
};

// One line of a copy section: its names, its [SourceDisksFiles] line, its file and the version
// the check reads of a driver. The bytes the file expands to.
std::uint64_t CheckCopyLine(CatalogueWalk& walk, const std::string& section, std::size_t index,
                            std::string_view text) {
    CheckContext& context = walk.context;
    const std::size_t comma = text.find(',');
    const std::string_view target = text.substr(0, comma);
    const std::string_view source = comma == std::string_view::npos ? text : text.substr(comma + 1);
    if (!CheckName(context, walk.catalogue, section, index, target, kCopyNameMax) ||
        !CheckName(context, walk.catalogue, section, index, source, kCopyNameMax))
        return 0;
    std::string disk;
    GetInfKey(walk.catalogue.scripts, std::nullopt, kSourceDisksFiles, target, disk);
    if (disk.empty())
        context.Add(walk.catalogue, section, index, kMissingSection,
                    std::string(target) + " has no line in [" + std::string(kSourceDisksFiles) +
                        "]");
    const std::optional<std::string> path =
        CheckDiskFile(context, walk.catalogue, section, index, source);
    if (!path)
        return 0;
    // The version check reads what the disk holds of a driver or a virtual device driver.
    if ((HasExtension(target, "drv") || HasExtension(target, "386")) &&
        FileVersionText(context.versions, *path, VersionFormat::MajorMinor).empty())
        context.Add(walk.catalogue, section, index, kNoVersion,
                    *path + " has no version resource the version check can read");
    return ExpandedSize(context, *path).value_or(0);
}

void CheckCopySection(CatalogueWalk& walk, const std::string& section) {
    if (!walk.checkedSections.insert(section).second)
        return;
    std::size_t index = 0;
    std::uint64_t bytes = 0;
    for (auto line = FindInfSection(walk.catalogue.scripts, std::nullopt, section); line;
         line = NextInfLine(walk.catalogue.scripts, line), ++index)
        bytes += CheckCopyLine(walk, section, index,
                               InfLineText(walk.catalogue.scripts, *line).value_or(""));
    walk.sectionBytes[section] = bytes;
    walk.sectionLines[section] = index;
}

struct ModelFigures {
    std::size_t entries = 0;
    std::uint64_t bytes = 0;
};

// One model line of a model list; what its copy list takes.
ModelFigures CheckModel(CatalogueWalk& walk, const std::string& list, std::size_t index,
                        InfLine line) {
    const SetupScripts& scripts = walk.catalogue.scripts;
    std::string name;
    std::string driverSection;
    GetInfField(scripts, line, 0, name);
    GetInfField(scripts, line, 1, driverSection);
    if (name.size() > kPrinterNameMax)
        walk.context.Add(walk.catalogue, list, index, kModelNameTooLong,
                         "\"" + name + "\" has " + std::to_string(name.size()) +
                             " characters; a spooler driver name holds " +
                             std::to_string(kPrinterNameMax));
    if (!FindInfSection(scripts, std::nullopt, driverSection)) {
        walk.context.Add(walk.catalogue, list, index, kMissingSection,
                         "the driver section [" + driverSection + "] of " + name + " is not there");
        return {};
    }
    std::string copyFiles;
    if (!GetInfKey(scripts, std::nullopt, driverSection, "CopyFiles", copyFiles)) {
        walk.context.Add(walk.catalogue, driverSection, 0, kMissingSection,
                         "the driver section has no CopyFiles line");
        return {};
    }
    ModelFigures figures;
    for (const std::string& section : SplitAtCommas(copyFiles)) {
        if (!FindInfSection(scripts, std::nullopt, section)) {
            walk.context.Add(walk.catalogue, driverSection, 0, kMissingSection,
                             "the copy section [" + section + "] is not there");
            continue;
        }
        CheckCopySection(walk, section);
        figures.entries += walk.sectionLines[section];
        figures.bytes += walk.sectionBytes[section];
    }
    return figures;
}

} // namespace

std::uint64_t CheckCatalogue(CheckContext& context, const CheckedScript& catalogue) {
    CatalogueWalk walk{context, catalogue, {}, {}, {}};
    const SetupScripts& scripts = catalogue.scripts;
    std::uint64_t largest = 0;
    std::size_t language = 0;
    for (auto line = FindInfSection(scripts, std::nullopt, kManufacturer); line;
         line = NextInfLine(scripts, line), ++language) {
        std::string edition;
        std::string list;
        GetInfField(scripts, line, 0, edition);
        GetInfField(scripts, line, 1, list);
        if (!FindInfSection(scripts, std::nullopt, list)) {
            context.Add(catalogue, kManufacturer, language, kMissingSection,
                        "the model list [" + list + "] of " + edition + " is not there");
            continue;
        }
        ModelFigures all;
        std::size_t index = 0;
        for (auto model = FindInfSection(scripts, std::nullopt, list); model;
             model = NextInfLine(scripts, model), ++index) {
            const ModelFigures figures = CheckModel(walk, list, index, *model);
            all.entries += figures.entries;
            largest = std::max(largest, figures.bytes);
        }
        // Every model chosen at once puts all their files in one copy list.
        if (all.entries > kCopyListEntries)
            context.Add(catalogue, list, 0, kListTooLong,
                        "its models together take " + std::to_string(all.entries) +
                            " copy-list entries, more than " + std::to_string(kCopyListEntries));
    }
    if (language == 0)
        context.Add(catalogue, kManufacturer, 0, kMissingSection,
                    "the catalogue has no [Manufacturer] lines");
    return largest;
}

} // namespace tl::tools
