// What an installation changed on a machine folder: the folder before (the original) and after
// (the throwaway copy it ran on) compared file by file, INI files line by line and the registry
// key by key. Every text is UTF-8; file paths are the PC's Windows paths.
#pragma once

#include "platform/code_page.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tl::app {

struct FileChange {
    std::string path;
    std::optional<std::string> versionBefore; // "a.b.c.d", for a replaced file
    std::optional<std::string> version;       // of the file as the run left it
};

struct BackupChange {
    std::string path;   // the file backed up
    std::string backup; // its copy
};

struct IniLineChange {
    std::string file;
    std::string section; // as written, without brackets; empty before the first section
    std::string line;
};

struct RegistryChanges {
    std::vector<std::string> printersAdded, printersRemoved;
    std::vector<std::string> driversAdded, driversRemoved;
    std::vector<std::string> monitorsAdded, monitorsRemoved;
    std::vector<std::string> printProcessorsAdded, printProcessorsRemoved;
    std::vector<std::string> fontsAdded, fontsRemoved; // "name = file"
    std::vector<std::string> otherKeysAdded, otherKeysRemoved;
    std::vector<std::string> otherValuesSet, otherValuesRemoved; // "key\name"
};

struct MachineChanges {
    std::vector<FileChange> added, replaced;
    std::vector<std::string> removed;
    std::vector<BackupChange> backups; // also among the added files
    std::vector<IniLineChange> iniAdded, iniCommentedOut, iniRemoved;
    RegistryChanges registry;
};

// The changes from the machine folder `before` to `after` (a copy of it the run worked on).
// None, with the reason, when either cannot be read.
std::optional<MachineChanges> CompareMachines(const std::filesystem::path& before,
                                              const std::filesystem::path& after,
                                              const CodePage& codePage, std::string& error);

} // namespace tl::app

namespace tl::app {

// The parts of the comparison.
// The lines of an INI file that differ: a new comment line ending in a line that went is that
// line commented out; other new lines are added, other lines that went are removed.
void CompareIniText(const std::string& file, std::string_view before, std::string_view after,
                    const CodePage& codePage, MachineChanges& changes);
// The registry files' differences, spooler records and fonts by name. False when one cannot be
// read.
bool CompareRegistryText(std::string_view before, std::string_view after, const CodePage& codePage,
                         RegistryChanges& changes, std::string& error);

} // namespace tl::app
