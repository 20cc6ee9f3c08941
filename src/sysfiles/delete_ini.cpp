#include "sysfiles/delete_ini.h"

#include "copy/disk_name_report.h"
#include "dialogs/dialog_utils.h"
#include "state/inf_query.h"
#include "state/installer.h"
#include "sysfiles/ini_edit.h"
#include "sysfiles/waiting_dialog.h"

#include <array>
#include <tuple>

namespace tl {
namespace {

constexpr std::string_view kVxdFileField = "20:SYSTEM.INI";
constexpr std::string_view kVxdIniSection = "386Enh";
constexpr std::string_view kVxdKey = "device";

// The mode text as the process keeps it: at most 127 bytes.
std::string ModeText(std::string_view field) {
    return std::string(field.substr(0, kModeTextSize - 1));
}

char FirstChar(const SetupScripts& scripts, InfLine line) {
    const std::optional<std::string_view> text = InfLineText(scripts, line);
    return text && !text->empty() ? text->front() : '\0';
}

void ApplyActionLine(Installer& installer, InfLine line) {
    const SetupScripts& scripts = installer.scripts;
    std::array<std::string, 5> fields;
    for (int n = 1; n <= 5; ++n)
        GetInfField(scripts, line, n, fields[static_cast<std::size_t>(n - 1)]);
    // An INI file that does not exist has nothing to remove; one that cannot be backed up is
    // left as it is. Either way the next action line follows.
    std::ignore = EditIniEntry(installer, installer.mainWindow, fields[0], fields[1], fields[2],
                               fields[3], fields[4]);
}

void RefreshWaiting(WindowSystem& windows, WindowHandle waiting) {
    if (!waiting)
        return;
    windows.InvalidateRect(waiting, nullptr, TRUE);
    windows.UpdateWindow(waiting);
    windows.SetFocus(waiting);
}

// The user kept a driver that stops the status monitor: the installer's own port-monitor driver
// comes out of SYSTEM.INI instead, so that the two do not run side by side.
void RemoveOwnPortMonitor(Installer& installer) {
    const SetupScripts& scripts = installer.scripts;
    const std::optional<InfLine> vxd =
        FindInfSection(scripts, std::nullopt, LoadTextCopy(TextId::VxdSection));
    if (!vxd)
        return;
    const std::optional<std::string_view> removal = InfLineText(scripts, *vxd);
    if (!removal)
        return;
    if (installer.iniEdit.modeText.empty())
        installer.iniEdit.modeText = "3";
    installer.iniEdit.modeText[0] = kModeRemove;
    std::ignore = EditIniEntry(installer, installer.mainWindow, kVxdFileField, kVxdIniSection,
                               kVxdKey, std::string(*removal), kVxdCommentPrefix);
}

// Whether the file names of one action line are plain names; reported when not.
bool ActionLineAccepted(Installer& installer, InfLine line) {
    const SetupScripts& scripts = installer.scripts;
    std::string fileField;
    std::string removal;
    GetInfField(scripts, line, 1, fileField);
    GetInfField(scripts, line, 4, removal);
    const std::string lineText = LoadTextCopy(TextId::DeleteIniSection) + ": " +
                                 std::string(InfLineText(scripts, line).value_or(""));
    if (!AcceptDiskName(installer, installer.mainWindow, NameAfterPrefix(fileField, 3), lineText))
        return false;
    return removal.empty() ||
           AcceptDiskName(installer, installer.mainWindow, NameAfterPrefix(removal, 2), lineText);
}

} // namespace

bool AcceptDeleteIniNames(Installer& installer) {
    const SetupScripts& scripts = installer.scripts;
    // The lines are walked as ApplyDeleteIni walks them.
    std::optional<InfLine> line =
        FindInfSection(scripts, std::nullopt, LoadTextCopy(TextId::DeleteIniSection));
    while (line) {
        if (FirstChar(scripts, *line) != '2')
            line = NextInfLine(scripts, line);
        if (line && !ActionLineAccepted(installer, *line))
            return false;
        line = NextInfLine(scripts, line);
    }
    const std::string vxdSection = LoadTextCopy(TextId::VxdSection);
    const std::optional<InfLine> vxd = FindInfSection(scripts, std::nullopt, vxdSection);
    const std::optional<std::string_view> vxdLine = vxd ? InfLineText(scripts, *vxd) : std::nullopt;
    return !vxdLine || AcceptDiskName(installer, installer.mainWindow, NameAfterPrefix(*vxdLine, 2),
                                      vxdSection + ": " + std::string(*vxdLine));
}

bool ApplyDeleteIni(Installer& installer) {
    const SetupScripts& scripts = installer.scripts;
    const WindowHandle mainWindow = installer.mainWindow;
    std::optional<InfLine> line =
        FindInfSection(scripts, std::nullopt, LoadTextCopy(TextId::DeleteIniSection));
    if (!line)
        return false;
    if (!AcceptDeleteIniNames(installer)) {
        installer.installationState = InstallationState::Failed;
        return true;
    }

    WindowSystem& windows = installer.windows;
    windows.EnableWindow(mainWindow, FALSE);
    const WindowHandle waiting = windows.CreateDialog(
        "WAITING", mainWindow,
        [&windows](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
            return WaitingDlgProc(windows, dialog, message, wParam, lParam);
        },
        0);
    installer.iniEdit.modeText = "0";

    while (line) {
        if (FirstChar(scripts, *line) != '2') {
            std::string field;
            GetInfField(scripts, *line, 1, field);
            installer.iniEdit.modeText = ModeText(field);
            line = NextInfLine(scripts, line);
        }
        const bool skip =
            !installer.iniEdit.modeText.empty() && installer.iniEdit.modeText[0] == kModeSkip;
        if (!skip && line) {
            ApplyActionLine(installer, *line);
            RefreshWaiting(windows, waiting);
        }
        line = NextInfLine(scripts, line);
    }

    if (installer.iniEdit.declined)
        RemoveOwnPortMonitor(installer);
    installer.iniEdit.declined = false;

    windows.EnableWindow(mainWindow, TRUE);
    if (waiting)
        windows.DestroyWindow(waiting);
    return true;
}

} // namespace tl
