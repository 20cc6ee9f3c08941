// Step 404: the INI files, the backup notices, the outcome and the restart; then the window goes.

#include "copy/backup.h"
#include "copy/file_name.h"
#include "dialogs/dialog_utils.h"
#include "dialogs/memory_dialogs.h"
#include "platform/system.h"
#include "sequencer/step_support.h"
#include "sequencer/steps.h"
#include "state/installer.h"
#include "sysfiles/delete_ini.h"
#include "sysfiles/ini_edit.h"

#include <initializer_list>
#include <string>

namespace tl {
namespace {

constexpr std::string_view kRestartMarkerAtom = "bi-di.386";
constexpr std::string_view kRestartTemplate = "WIN_RESTART";
constexpr std::string_view kReportedPrinter = "Printer";

std::string JoinedTexts(std::initializer_list<unsigned> ids) {
    std::string text;
    for (unsigned id : ids)
        text += LoadTextCopy(id);
    return text;
}

// A backup made in this run is recorded under `key` with its path. Only a backup this run
// recorded is named: the settings file may hold the record of an earlier installation.
void ReportBackup(Installer& installer, WindowHandle window, const char* key, unsigned id) {
    const std::string backup = RecordedBackup(installer, key);
    if (backup.size() <= 1)
        return;
    ShowStepMessage(installer, window, FormatText(LoadTextCopy(id), FileNamePart(backup)) + "!",
                    Id(TextId::CautionCaption), MB_ICONEXCLAMATION, MessageKey(id));
    Repaint(installer, window);
}

void EditIniFiles(Installer& installer, WindowHandle window) {
    if (!(installer.changeBits & kChangeDriverInstalled))
        return;
    if (IsInstalled(installer.installationState)) {
        BusyCursor busy(installer, window);
        ApplyDeleteIni(installer);
    }
    if (installer.changeBits & kChangeDriverInstalled)
        ReportBackup(installer, window, kWinIniBackupKey, Id(TextId::WinIniBackup));
}

// A device driver that needs a restart leaves the marker atom behind.
void TakeRestartMarker(Installer& installer) {
    System& system = installer.platform.system;
    const ATOM atom = system.GlobalFindAtom(kRestartMarkerAtom);
    if (!atom)
        return;
    // A failed run stays failed; the restart is still offered.
    if (installer.installationState == InstallationState::Failed)
        installer.changeBits |= kChangeRestartNeeded;
    else
        installer.installationState = InstallationState::RestartNeeded;
    system.GlobalDeleteAtom(atom);
}

void OfferRestart(Installer& installer, WindowHandle window) {
    const int rebootMode = installer.options.rebootMode;
    if (rebootMode == 0) {
        ShowStepMessage(installer, window, LoadTextCopy(TextId::RestartNeeded),
                        Id(TextId::InstallCaption), MB_ICONEXCLAMATION,
                        MessageKey(TextId::RestartNeeded));
        return;
    }
    System& system = installer.platform.system;
    RestartContext context{
        installer.windows,
        [&system](UINT flags, DWORD reserved) { return system.ExitWindowsEx(flags, reserved); },
        rebootMode};
    RunRestartDialog(installer.windows, installer.platform.codePage, window,
                     MakeSelWinRestart(context), kRestartTemplate);
}

void ReportOutcome(Installer& installer, WindowHandle window) {
    // The outcome speaks of the printer, whichever models were chosen.
    installer.printerName = std::string(kReportedPrinter);
    const auto report = [&](unsigned id, UINT icon) {
        ShowStepMessage(installer, window, FormatText(LoadTextCopy(id), installer.printerName),
                        Id(TextId::InstallCaption), icon, MessageKey(id));
    };
    switch (installer.installationState) {
    case InstallationState::Failed:
        report(Id(TextId::InstallFailed), MB_ICONHAND);
        // What SYSTEM.INI now loads is there whatever failed afterwards: Windows must restart.
        if (installer.changeBits & kChangeRestartNeeded)
            OfferRestart(installer, window);
        break;
    case InstallationState::Installed:
        report(Id(TextId::InstallFinished), MB_ICONASTERISK);
        break;
    case InstallationState::RestartNeeded:
        OfferRestart(installer, window);
        break;
    case InstallationState::NotStarted:
        break;
    }
}

} // namespace

void StepFinish(Installer& installer, WindowHandle window) {
    Repaint(installer, window);
    EditIniFiles(installer, window);
    if (installer.changeBits & kChangeSystemIni)
        ReportBackup(installer, window, kSystemIniBackupKey, Id(TextId::SystemIniBackup));
    TakeRestartMarker(installer);
    if (installer.installationState == InstallationState::Installed &&
        (installer.changeBits & kChangeRestartNeeded))
        installer.installationState = InstallationState::RestartNeeded;

    if (installer.installationState == InstallationState::RestartNeeded &&
        installer.options.portDriverMessage) {
        ShowStepMessage(installer, window, JoinedTexts({165, 166, 167}), Id(TextId::CautionCaption),
                        MB_ICONEXCLAMATION, MessageKey(165));
        Repaint(installer, window);
    }
    if (installer.options.addPrinterMode) {
        // Windows' own printer wizard installs the printer on this system: say how.
        ShowStepMessage(installer, window, JoinedTexts({178, 179, 180, 181}),
                        Id(TextId::CautionCaption), MB_ICONEXCLAMATION, MessageKey(178));
    } else {
        ReportOutcome(installer, window);
    }
    FreeInf(installer.scripts);
    installer.windows.DestroyWindow(window);
}

} // namespace tl
