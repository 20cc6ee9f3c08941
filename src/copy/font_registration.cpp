#include "copy/font_registration.h"

#include "copy/file_name.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "state/installer.h"
#include "state/removal_log.h"

namespace tl {

std::string FontValueName(std::string_view registryName) {
    return std::string(registryName) + " (TrueType)";
}

LONG QueryFontRegistration(Installer& installer, std::string_view valueName) {
    Registry& registry = installer.platform.registry;
    HKEY key{};
    const LONG opened =
        registry.RegOpenKeyEx(kHkeyLocalMachine, kInstalledFontsKey, 0, kKeyAllAccess, &key);
    if (opened != 0) {
        return opened;
    }
    const std::string name(valueName);
    const LONG queried = registry.RegQueryValueEx(key, name.c_str(), nullptr, nullptr, nullptr);
    registry.RegCloseKey(key);
    return queried;
}

void RegisterFont(Installer& installer, std::string_view destinationPath,
                  std::string_view valueName) {
    const std::string fontFile =
        installer.destination.typedFontDir + "\\" + std::string(FileNamePart(destinationPath));
    // A registration that cannot be recorded could never be taken back: it is not made.
    if (!WriteRemovalRecord(installer, {removal_record::kFont, valueName, fontFile}))
        return;
    installer.platform.system.AddFontResource(fontFile);

    Registry& registry = installer.platform.registry;
    HKEY key{};
    if (registry.RegOpenKeyEx(kHkeyLocalMachine, kInstalledFontsKey, 0, kKeyAllAccess, &key) != 0) {
        return;
    }
    const std::string name(valueName);
    // REG_SZ with its terminating NUL counted.
    registry.RegSetValueEx(key, name.c_str(), kRegSz,
                           reinterpret_cast<const BYTE*>(fontFile.c_str()),
                           static_cast<DWORD>(fontFile.size() + 1));
    registry.RegCloseKey(key);
}

} // namespace tl
