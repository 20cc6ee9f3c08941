// What the checks of one disk share: the disk, its scripts with their line index, the ports the
// installer reads the disk through, and the findings so far.
#pragma once

#include "disk_finding.h"
#include "disk_resolver.h"
#include "inf_line_index.h"

#include "platform/events.h"
#include "platform/host/lz_host.h"
#include "platform/host/version_host.h"
#include "state/inf_scripts.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tl::tools {

// A loaded setup script: the installer's reader over it, and where its lines stand.
struct CheckedScript {
    std::string name; // as reports name it
    SetupScripts scripts;
    InfLineIndex index{""};
};

class NoEvents final : public EventSink {
public:
    void Record(PlatformEvent) override {}
};

struct CheckContext {
    explicit CheckContext(std::filesystem::path disk)
        : resolver(std::move(disk)), lz(resolver, events), versions(resolver) {}

    DiskResolver resolver;
    NoEvents events;
    host::HostLzExpand lz;
    host::HostVersionInfo versions;
    std::string folder; // the driver folder as INSTALL.INF writes it ("WIN95"), or empty
    std::vector<Finding> findings;
    // Disk files already expanded: their expanded size, or none when they do not expand whole.
    std::map<std::string, std::optional<std::uint64_t>> expanded;

    void Add(const CheckedScript& script, std::string_view section, std::size_t line,
             std::string_view kind, std::string text);
};

// Checks of the parts of a disk (each adds its findings to the context).
void CheckInstallInf(CheckContext& context, const CheckedScript& install);
// The largest copy list of one model, in bytes once expanded.
std::uint64_t CheckCatalogue(CheckContext& context, const CheckedScript& catalogue);
void CheckBlanks(CheckContext& context, const CheckedScript& script);

// The name the copy looks for when a file is not on the disk under its own: its last character
// replaced by "_" ("TL600.DRV" -> "TL600.DR_", "LPT.BZ" -> "LPT.B_").
std::string CompressedCopyName(std::string_view name);

// Where the copy reads a file of the disk: in the driver folder under its own name, else under
// the name CompressedCopyName gives. The disk path ("WIN95\X.DR_"), or none.
std::optional<std::string> LocateDiskFile(const CheckContext& context, std::string_view name);

// The size `path` expands to through the installer's LZ reader; none when it does not expand
// whole (cached).
std::optional<std::uint64_t> ExpandedSize(CheckContext& context, const std::string& path);

// Whether a name from line `line` of `section` is one the installer takes; a finding when not.
// `limit` is the longest name the place it goes holds.
bool CheckName(CheckContext& context, const CheckedScript& script, std::string_view section,
               std::size_t line, std::string_view name, std::size_t limit);

// A file the line names: there (plain or compressed) and expanding whole; its path when it is.
std::optional<std::string> CheckDiskFile(CheckContext& context, const CheckedScript& script,
                                         std::string_view section, std::size_t line,
                                         std::string_view name);

} // namespace tl::tools
