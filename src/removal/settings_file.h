// Where the removal finds the installer's records: the settings file the installer used, found
// as the installer finds it (INSTALL.INF's [PRIVATE.INI] on the disk the program was started
// from, else "tlsetup.ini" in the Windows directory), or the name given on the command line.
#pragma once

#include <optional>
#include <string>

namespace tl {

struct Installer;

// Fills the Windows and system directories and the settings file of `installer.paths`. False
// (reported and recorded) when the name given or the disk's is no plain file name.
[[nodiscard]] bool FindRemovalSettings(Installer& installer,
                                       const std::optional<std::string>& givenName);

} // namespace tl
