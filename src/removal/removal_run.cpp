#include "removal/removal_run.h"

#include "dialogs/dialog_utils.h"
#include "dialogs/memory_dialogs.h"
#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/system.h"
#include "platform/window_system.h"
#include "removal/removal_steps.h"
#include "state/installer.h"
#include "state/removal_log.h"

#include <algorithm>

namespace tl {

namespace {

constexpr std::string_view kRestartTemplate = "WIN_RESTART";

int Show(Installer& installer, WindowHandle owner, TextId id, const std::string& text, UINT type) {
    return installer.windows.MessageBox(owner, text, LoadTextCopy(TextId::RemovalCaption), type,
                                        MessageKey(id));
}

// The records go once everything they name is undone; otherwise they stay, so that another run
// can finish the job (what is already undone is then only listed).
void ForgetRecords(RemovalContext& context) {
    Installer& installer = context.installer;
    const std::string& settings = installer.paths.privateSettingsFile;
    const bool madeByInstall = std::any_of(
        context.records.begin(), context.records.end(),
        [](const RemovalRecord& record) { return record.Is(removal_record::kSettings); });
    if (madeByInstall) {
        if (!installer.platform.files.DeleteFile(settings))
            context.report.Add(RemovalOutcome::Failed, settings);
        else
            context.report.Add(RemovalOutcome::Removed, settings);
        return;
    }
    if (!installer.platform.profile.WritePrivateProfileString(kRemovalSection, nullptr, nullptr,
                                                              settings))
        context.report.Add(RemovalOutcome::Failed, settings);
}

void OfferRestart(Installer& installer, WindowHandle owner) {
    System& system = installer.platform.system;
    RestartContext restart{
        installer.windows,
        [&system](UINT flags, DWORD reserved) { return system.ExitWindowsEx(flags, reserved); },
        kExitReboot};
    RunRestartDialog(installer.windows, installer.platform.codePage, owner,
                     MakeSelWinRestart(restart), kRestartTemplate);
}

} // namespace

InstallationState RunRemoval(Installer& installer, WindowHandle owner) {
    const std::vector<RemovalRecord> records = ReadRemovalRecords(installer);
    if (records.empty() && !HasEcpSection(installer)) {
        Show(installer, owner, TextId::RemovalNothingRecorded,
             LoadTextCopy(TextId::RemovalNothingRecorded), MB_OK | MB_ICONASTERISK);
        return InstallationState::Installed;
    }
    if (Show(installer, owner, TextId::RemovalQuestion, LoadTextCopy(TextId::RemovalQuestion),
             MB_YESNO | MB_ICONQUESTION) != IDYES)
        return InstallationState::NotStarted;

    RemovalContext context{installer, records, ReadRemovalRoots(installer), {}, {}};
    for (const RemovalRecord& record : records) {
        if (record.fields.empty())
            context.report.Add(RemovalOutcome::Refused, record.key);
    }
    RemovePrinters(context);
    RemoveFonts(context);
    RemoveFiles(context);
    RestoreIniLines(context);
    RestorePortDriver(context);
    RemoveLeftovers(context);
    if (!context.report.Incomplete())
        ForgetRecords(context);

    const bool incomplete = context.report.Incomplete();
    Show(installer, owner, incomplete ? TextId::RemovalIncomplete : TextId::RemovalDone,
         ReportText(context.report), MB_OK | (incomplete ? MB_ICONEXCLAMATION : MB_ICONASTERISK));
    if (context.report.restartNeeded)
        OfferRestart(installer, owner);
    if (incomplete)
        return InstallationState::Failed;
    return context.report.restartNeeded ? InstallationState::RestartNeeded
                                        : InstallationState::Installed;
}

} // namespace tl
