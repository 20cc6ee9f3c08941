// The steps of a removal, in the order RunRemoval takes them; each reads the records it undoes
// and adds what it did to the report.
#pragma once

#include "removal/removal_records.h"
#include "removal/removal_report.h"

#include <string>
#include <vector>

namespace tl {

struct Installer;

struct RemovalContext {
    Installer& installer;
    const std::vector<RemovalRecord>& records;
    RemovalRoots roots;
    RemovalReport report;
    std::vector<std::string> removedPrinters; // the printers this removal deleted
};

// The printers the installations made; the drivers, monitors and print processors they added
// when nothing uses them any more; the default printer from before.
void RemovePrinters(RemovalContext& context);
// The fonts' registrations (and a WM_FONTCHANGE broadcast).
void RemoveFonts(RemovalContext& context);
// The files: the earlier version back, or the file deleted.
void RemoveFiles(RemovalContext& context);
// The device lines and commented-out lines of SYSTEM.INI and WIN.INI; WIN.INI's [tlsetup].
void RestoreIniLines(RemovalContext& context);
// Whether WIN.INI holds the installer's [tlsetup] section.
bool HasEcpSection(Installer& installer);
// lpt.vxd from lpt.vxz, when the one there is the installer's.
void RestorePortDriver(RemovalContext& context);
// What the installations made for themselves: backups, lpt.vxz, the directories they made.
void RemoveLeftovers(RemovalContext& context);

} // namespace tl
