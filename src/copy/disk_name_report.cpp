#include "copy/disk_name_report.h"

#include "platform/error_event.h"
#include "state/installer.h"
#include "text/disk_name.h"

#include <string>

namespace tl {

void ReportBadDiskName(Installer& installer, WindowHandle owner, std::string_view name,
                       std::string_view lineText, std::string_view why) {
    RecordError(installer.platform, "CheckDiskName", name, kErrorInvalidName);
    std::string text(kBadDiskNameText);
    text += " (";
    text += why;
    text += "):\n";
    text += lineText;
    installer.windows.MessageBox(owner, text, "Error", MB_OK | MB_ICONHAND,
                                 std::string(kBadDiskNameText));
}

bool AcceptDiskName(Installer& installer, WindowHandle owner, std::string_view name,
                    std::string_view lineText) {
    const DiskNameFault fault = CheckDiskName(name);
    if (fault == DiskNameFault::None)
        return true;
    ReportBadDiskName(installer, owner, name, lineText, DiskNameFaultText(fault));
    return false;
}

std::string_view NameAfterPrefix(std::string_view text, std::size_t prefixLength) {
    return text.size() > prefixLength ? text.substr(prefixLength) : std::string_view{};
}

} // namespace tl
