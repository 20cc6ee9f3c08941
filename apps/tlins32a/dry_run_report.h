// What `tlins32a --dry-run` prints: the changes the installation would make, as text for a
// person or (--json) as one JSON document for scripts.
#pragma once

#include "machine_changes.h"

#include <string>

namespace tl::app {

struct DryRunOutcome {
    MachineChanges changes;
    bool restartAsked = false; // the restart dialog was shown
    bool restart = false;      // and Windows would restart
    int exitStatus = 0;        // what the real run would exit with
};

std::string FormatDryRunText(const DryRunOutcome& outcome);
std::string FormatDryRunJson(const DryRunOutcome& outcome);

} // namespace tl::app
