// The installer's [Removal] records as the removal program reads them: every record of the
// settings file in the order written, and the check that keeps a record from steering the
// removal outside the directories an installation writes to.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tl {

struct Installer;

struct RemovalRecord {
    std::string key;                 // "Change0001", ...
    std::vector<std::string> fields; // the kind first; empty for a value that is no record

    std::string_view Kind() const { return fields.empty() ? std::string_view{} : fields[0]; }
    // Field `index` (1 is the first after the kind), "" when the record has fewer.
    const std::string& Field(std::size_t index) const;
    bool Is(std::string_view kind) const { return Kind() == kind; }
};

// The records in the order they were written.
std::vector<RemovalRecord> ReadRemovalRecords(Installer& installer);

// The directories the records may name: the Windows and system directories and the font
// directory of the settings file.
struct RemovalRoots {
    std::vector<std::string> directories;
};
RemovalRoots ReadRemovalRoots(Installer& installer);

// True when `path` is a full path inside one of the roots (a directory record may also name a
// root or a directory above the font directory), with no "." or ".." component, no "/" and no
// character Windows refuses in a name.
bool IsRemovablePath(const RemovalRoots& roots, std::string_view path, bool directory = false);

} // namespace tl
