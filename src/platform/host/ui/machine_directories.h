// DlgDirList on the simulated PC: the directories of the machine folder as the dialogs list them.
#pragma once

#include "platform/code_page.h"
#include "platform/host/machine_config.h"
#include "platform/host/machine_path_resolver.h"
#include "platform/host/ui/host_window_system.h"

namespace tl::host {

// Lists what a path names on the machine: a directory (all of it), or a directory and a file
// pattern with * and ?. The directory becomes the current one.
DirectoryLister MachineDirectoryLister(MachinePathResolver& resolver, const MachineConfig& config,
                                       const CodePage& codePage);

// DOS wildcard matching without regard to case; "*.*" matches every name.
bool MatchesPattern(std::string_view name, std::string_view pattern);

} // namespace tl::host
