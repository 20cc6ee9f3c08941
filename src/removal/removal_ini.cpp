// SYSTEM.INI and WIN.INI, line by line.
#include "platform/profile.h"
#include "removal/ini_lines.h"
#include "removal/removal_steps.h"
#include "state/installer.h"
#include "state/removal_log.h"
#include "text/ansi_text.h"

#include <algorithm>
#include <ranges>

namespace tl {

namespace {

constexpr std::string_view kEcpSection = "tlsetup";

// One edit of one file, reported under `what`.
bool Edit(RemovalContext& context, const std::string& iniPath, const std::string& what,
          const std::function<bool(IniLines&)>& edit) {
    if (!IsRemovablePath(context.roots, iniPath)) {
        context.report.Add(RemovalOutcome::Refused, iniPath);
        return false;
    }
    switch (EditIniLines(context.installer.platform, iniPath, edit)) {
    case IniEditResult::Changed:
        context.report.Add(RemovalOutcome::Removed, what);
        return true;
    case IniEditResult::Unchanged:
    case IniEditResult::Missing:
        context.report.Add(RemovalOutcome::AlreadyGone, what);
        return false;
    case IniEditResult::Failed:
        context.report.Add(RemovalOutcome::Failed, what);
        return false;
    }
    return false;
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void UndoDeviceLine(RemovalContext& context, const RemovalRecord& record) {
    const std::string& iniPath = record.Field(1);
    const std::string& section = record.Field(2);
    const std::string& line = record.Field(3);
    const bool commented = record.Field(4) == "1";
    const bool sectionAdded = record.Field(5) == "1";
    const std::string what = FileNameOf(iniPath) + " [" + section + "] " + line;
    const bool changed = Edit(context, iniPath, what, [&](IniLines& lines) {
        bool edited = RemoveSectionLine(lines, section, line);
        if (commented)
            edited = UncommentSectionLine(lines, section, line) || edited;
        // A section the installer added goes with its line, when nothing else came into it.
        if (edited && sectionAdded) {
            const SectionRange range = FindSection(lines, section);
            const bool empty =
                range.found &&
                std::all_of(lines.begin() + static_cast<std::ptrdiff_t>(range.first),
                            lines.begin() + static_cast<std::ptrdiff_t>(range.last),
                            [](const std::string& kept) { return LineText(kept).empty(); });
            if (empty)
                RemoveSection(lines, section);
        }
        return edited;
    });
    context.report.restartNeeded = context.report.restartNeeded || changed;
}

void UndoCommentedLine(RemovalContext& context, const RemovalRecord& record) {
    const std::string& iniPath = record.Field(1);
    const std::string& section = record.Field(2);
    const std::string& original = record.Field(4);
    const std::string what = FileNameOf(iniPath) + " [" + section + "] " + original;
    const bool changed = Edit(context, iniPath, what, [&](IniLines& lines) {
        return RestoreCommentedLine(lines, section, record.Field(3), original, record.Field(5));
    });
    // A line SYSTEM.INI loads again needs a restart as much as one it no longer loads.
    const std::string name = FileNameOf(iniPath);
    if (changed && text::EqualsIgnoreCase(name, "SYSTEM.INI"))
        context.report.restartNeeded = true;
}

} // namespace

bool HasEcpSection(Installer& installer) {
    char keys[4] = {};
    return installer.platform.profile.GetProfileString(std::string(kEcpSection).c_str(), nullptr,
                                                       "", keys, sizeof keys) > 0;
}

void RestoreIniLines(RemovalContext& context) {
    for (const RemovalRecord& record : context.records | std::views::reverse) {
        if (record.Is(removal_record::kDeviceLine)) {
            UndoDeviceLine(context, record);
        } else if (record.Is(removal_record::kCommented)) {
            UndoCommentedLine(context, record);
        }
    }
    // The ECP ports the installer found at start, written by every installation before it
    // records anything.
    const std::string winIni = context.installer.paths.windowsDir + "\\WIN.INI";
    const std::string what = "WIN.INI [" + std::string(kEcpSection) + "]";
    if (EditIniLines(context.installer.platform, winIni, [](IniLines& lines) {
            return RemoveSection(lines, kEcpSection);
        }) == IniEditResult::Changed)
        context.report.Add(RemovalOutcome::Removed, what);
}

} // namespace tl
