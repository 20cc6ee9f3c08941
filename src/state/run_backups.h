// The backups of SYSTEM.INI and WIN.INI that this run recorded in the private settings file: a
// member of the Installer. The final notices name only these, never a record an earlier
// installation left in the settings file.
#pragma once

#include <string>

namespace tl {

struct RunBackups {
    std::string systemIni; // the first SYSTEM.INI backup of the run ("BFileSysIni"), or empty
    std::string winIni;    // the first WIN.INI backup of the run ("BFileWinIni"), or empty
};

} // namespace tl
