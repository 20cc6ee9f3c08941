#include "removal/settings_file.h"

#include "dialogs/dialog_utils.h"
#include "platform/file_system.h"
#include "platform/system.h"
#include "startup/private_settings_name.h"
#include "state/inf_query.h"
#include "state/inf_scripts.h"
#include "state/installer.h"
#include "state/paths.h"

namespace tl {

namespace {

constexpr unsigned kInstallInfText = 11;
constexpr unsigned kPrivateIniSectionText = 37;

// The name INSTALL.INF beside the program gives; none without a readable INSTALL.INF there.
std::optional<std::string> NameFromDisk(Installer& installer, std::optional<InfScript>& script) {
    const std::string path = JoinPath(DirectoryOf(installer.platform.system.GetModuleFileName()),
                                      LoadTextCopy(kInstallInfText));
    if (installer.platform.files.GetFileAttributes(path) == kInvalidFileAttributes)
        return std::nullopt;
    const InfLoadResult loaded = LoadInf(installer.scripts, installer.platform.files, path);
    if (loaded.status != InfLoadStatus::Loaded)
        return std::nullopt;
    script = loaded.script;
    const std::optional<InfLine> line =
        FindInfSection(installer.scripts, script, LoadTextCopy(kPrivateIniSectionText));
    if (!line)
        return std::nullopt;
    const std::optional<std::string_view> text = InfLineText(installer.scripts, *line);
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

} // namespace

bool FindRemovalSettings(Installer& installer, const std::optional<std::string>& givenName) {
    Paths& paths = installer.paths;
    paths.windowsDir = UpperPath(installer.platform.system.GetWindowsDirectory());
    paths.systemDir = installer.platform.system.GetSystemDirectory();
    std::optional<InfScript> script;
    std::string name(kDefaultPrivateSettingsFile);
    if (givenName)
        name = *givenName;
    else if (std::optional<std::string> fromDisk = NameFromDisk(installer, script))
        name = *fromDisk;
    const bool accepted = AcceptPrivateSettingsName(installer, script, name);
    if (script)
        FreeInf(installer.scripts, script);
    if (!accepted)
        return false;
    paths.privateSettingsFile = JoinPath(paths.windowsDir, name);
    return true;
}

} // namespace tl
