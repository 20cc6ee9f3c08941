// The name [PRIVATE.INI] of INSTALL.INF gives the settings file: a plain file name in the
// Windows directory, and none of the files the installer edits there.
#pragma once

#include "state/inf_scripts.h"

#include <optional>
#include <string_view>

namespace tl {

struct Installer;

// True when `name` may be the settings file. Otherwise the line is reported (caption "Error")
// and an error event recorded; the run then must not start. `script` is the loaded INSTALL.INF,
// whose [DeleteIni] and [DEMOFILE] name the other files the installer writes there.
[[nodiscard]] bool AcceptPrivateSettingsName(Installer& installer, std::optional<InfScript> script,
                                             std::string_view name);

} // namespace tl
