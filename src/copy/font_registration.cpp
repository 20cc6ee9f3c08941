#include "copy/font_registration.h"

#include "copy/file_name.h"
#include "platform/error_event.h"
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

bool RegisterFont(Installer& installer, std::string_view destinationPath,
                  std::string_view valueName) {
    const Platform& platform = installer.platform;
    const std::string fontFile =
        installer.destination.typedFontDir + "\\" + std::string(FileNamePart(destinationPath));
    // A registration that cannot be recorded could never be taken back: it is not made.
    if (!WriteRemovalRecord(installer, {removal_record::kFont, valueName, fontFile}))
        return false;
    if (installer.platform.system.AddFontResource(fontFile) == 0) {
        // AddFontResourceA sets no error code: the record says only that it added nothing.
        RecordError(platform, "AddFontResource", fontFile, 0);
        return false;
    }

    Registry& registry = installer.platform.registry;
    HKEY key{};
    // Every Windows has the key; one that lacks it gets it, as the list of fonts belongs there.
    if (const LONG opened = registry.RegCreateKeyEx(kHkeyLocalMachine, kInstalledFontsKey, 0,
                                                    kKeyAllAccess, &key, nullptr)) {
        RecordError(platform, "RegCreateKeyEx", kInstalledFontsKey, static_cast<DWORD>(opened));
        return false;
    }
    const std::string name(valueName);
    // REG_SZ with its terminating NUL counted.
    const LONG set = registry.RegSetValueEx(key, name.c_str(), kRegSz,
                                            reinterpret_cast<const BYTE*>(fontFile.c_str()),
                                            static_cast<DWORD>(fontFile.size() + 1));
    registry.RegCloseKey(key);
    if (set != 0) {
        RecordError(platform, "RegSetValueEx", name, static_cast<DWORD>(set));
        return false;
    }
    return true;
}

} // namespace tl
