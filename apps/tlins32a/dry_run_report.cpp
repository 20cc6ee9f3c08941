#include "dry_run_report.h"

#include "ui/unattended/json_text.h"

namespace tl::app {
namespace {

using ui::JsonArray;
using ui::JsonObject;
using ui::JsonQuote;

std::string Strings(const std::vector<std::string>& texts) {
    std::vector<std::string> items;
    for (const std::string& text : texts)
        items.push_back(JsonQuote(text));
    return JsonArray(items);
}

std::string Files(const std::vector<FileChange>& files) {
    std::vector<std::string> items;
    for (const FileChange& file : files) {
        JsonObject item;
        item.String("path", file.path);
        if (file.versionBefore)
            item.String("versionBefore", *file.versionBefore);
        if (file.version)
            item.String("version", *file.version);
        items.push_back(item.Text());
    }
    return JsonArray(items);
}

std::string IniLines(const std::vector<IniLineChange>& lines) {
    std::vector<std::string> items;
    for (const IniLineChange& line : lines)
        items.push_back(JsonObject()
                            .String("file", line.file)
                            .String("section", line.section)
                            .String("line", line.line)
                            .Text());
    return JsonArray(items);
}

std::string AddedRemoved(const std::vector<std::string>& added,
                         const std::vector<std::string>& removed) {
    return JsonObject().Raw("added", Strings(added)).Raw("removed", Strings(removed)).Text();
}

void Section(std::string& out, std::string_view title, const std::vector<std::string>& lines) {
    if (lines.empty())
        return;
    out += std::string(title) + ":\n";
    for (const std::string& line : lines)
        out += "  " + line + "\n";
}

std::vector<std::string> FileLines(const std::vector<FileChange>& files) {
    std::vector<std::string> lines;
    for (const FileChange& file : files) {
        std::string line = file.path;
        if (file.versionBefore || file.version)
            line += "  " + file.versionBefore.value_or("-") + " -> " + file.version.value_or("-");
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> AddedLines(const std::vector<FileChange>& files) {
    std::vector<std::string> lines;
    for (const FileChange& file : files)
        lines.push_back(file.version ? file.path + "  " + *file.version : file.path);
    return lines;
}

std::vector<std::string> IniText(const std::vector<IniLineChange>& lines) {
    std::vector<std::string> texts;
    for (const IniLineChange& line : lines)
        texts.push_back(line.file + " [" + line.section + "] " + line.line);
    return texts;
}

} // namespace

std::string FormatDryRunText(const DryRunOutcome& outcome) {
    const MachineChanges& changes = outcome.changes;
    const RegistryChanges& registry = changes.registry;
    std::string out = "Dry run: nothing on the PC was changed. The installation would make these "
                      "changes.\n";
    Section(out, "Files added", AddedLines(changes.added));
    Section(out, "Files replaced (version before -> after)", FileLines(changes.replaced));
    std::vector<std::string> backups;
    for (const BackupChange& backup : changes.backups)
        backups.push_back(backup.path + " -> " + backup.backup);
    Section(out, "Files backed up", backups);
    Section(out, "Files removed", changes.removed);
    Section(out, "INI lines added", IniText(changes.iniAdded));
    Section(out, "INI lines commented out", IniText(changes.iniCommentedOut));
    Section(out, "INI lines removed", IniText(changes.iniRemoved));
    Section(out, "Printers added", registry.printersAdded);
    Section(out, "Printers removed", registry.printersRemoved);
    Section(out, "Printer drivers added", registry.driversAdded);
    Section(out, "Printer drivers removed", registry.driversRemoved);
    Section(out, "Port monitors added", registry.monitorsAdded);
    Section(out, "Port monitors removed", registry.monitorsRemoved);
    Section(out, "Print processors added", registry.printProcessorsAdded);
    Section(out, "Print processors removed", registry.printProcessorsRemoved);
    Section(out, "Fonts registered", registry.fontsAdded);
    Section(out, "Fonts unregistered", registry.fontsRemoved);
    Section(out, "Other registry keys added", registry.otherKeysAdded);
    Section(out, "Other registry keys removed", registry.otherKeysRemoved);
    Section(out, "Other registry values set", registry.otherValuesSet);
    Section(out, "Other registry values removed", registry.otherValuesRemoved);
    out += "Restart: ";
    out += !outcome.restartAsked ? "not asked for"
           : outcome.restart     ? "asked for, and Windows would restart"
                                 : "asked for, and put off";
    out += "\nExit status: " + std::to_string(outcome.exitStatus) + "\n";
    return out;
}

std::string FormatDryRunJson(const DryRunOutcome& outcome) {
    const MachineChanges& changes = outcome.changes;
    const RegistryChanges& registry = changes.registry;
    std::vector<std::string> backups;
    for (const BackupChange& backup : changes.backups)
        backups.push_back(
            JsonObject().String("path", backup.path).String("backup", backup.backup).Text());
    JsonObject files;
    files.Raw("added", Files(changes.added))
        .Raw("replaced", Files(changes.replaced))
        .Raw("backedUp", JsonArray(backups))
        .Raw("removed", Strings(changes.removed));
    JsonObject ini;
    ini.Raw("added", IniLines(changes.iniAdded))
        .Raw("commentedOut", IniLines(changes.iniCommentedOut))
        .Raw("removed", IniLines(changes.iniRemoved));
    JsonObject spooler;
    spooler.Raw("printers", AddedRemoved(registry.printersAdded, registry.printersRemoved))
        .Raw("drivers", AddedRemoved(registry.driversAdded, registry.driversRemoved))
        .Raw("monitors", AddedRemoved(registry.monitorsAdded, registry.monitorsRemoved))
        .Raw("printProcessors",
             AddedRemoved(registry.printProcessorsAdded, registry.printProcessorsRemoved));
    JsonObject other;
    other.Raw("keysAdded", Strings(registry.otherKeysAdded))
        .Raw("keysRemoved", Strings(registry.otherKeysRemoved))
        .Raw("valuesSet", Strings(registry.otherValuesSet))
        .Raw("valuesRemoved", Strings(registry.otherValuesRemoved));
    JsonObject document;
    document.Bool("dryRun", true)
        .Raw("files", files.Text())
        .Raw("ini", ini.Text())
        .Raw("spooler", spooler.Text())
        .Raw("fonts", AddedRemoved(registry.fontsAdded, registry.fontsRemoved))
        .Raw("registry", other.Text())
        .Raw("restart", JsonObject()
                            .Bool("asked", outcome.restartAsked)
                            .Bool("restart", outcome.restart)
                            .Text())
        .Number("exitStatus", outcome.exitStatus);
    return document.Text() + "\n";
}

} // namespace tl::app
