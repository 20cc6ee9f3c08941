#include "destination/drive_change_dialogs.h"
#include "resources/control_ids.h"

#include "destination/font_directory.h"
#include "dialogs/dialog_utils.h"
#include "platform/recorded_profile.h"
#include "state/installer.h"
#include "state/removal_log.h"

#include <array>
#include <utility>

namespace tl {

namespace {

// KEIKOKU's controls and their texts: the three remedies, then its buttons.
constexpr std::array<std::pair<int, unsigned>, 8> kWarningTexts{{
    {140, 204},
    {141, 205},
    {142, 206},
    {143, 207},
    {144, 208},
    {IDCANCEL, 209},
    {IDOK, 210},
    {kF3ExitButtonId, 202},
}};

void ChangeDrive(Installer& installer, DialogWindow& dialog) {
    const INT_PTR result = ShowModalDialog(
        installer.windows, dialog.Handle(),
        [&installer](DialogWindow& change, UINT message, WPARAM wParam, LPARAM lParam) {
            return Change_Drv(installer, change, message, wParam, lParam);
        },
        "CHANGE");
    if (result != 1) {
        return;
    }
    // The removal program deletes a settings file the installation made.
    static_cast<void>(NoteSettingsWrite(installer));
    WriteProfileRecorded(installer.platform, "Install", "FontPath", installer.paths.fontDir.c_str(),
                         installer.paths.privateSettingsFile);
    dialog.EndDialog(kNewFontDirectory);
}

} // namespace

INT_PTR Enough_Size(Installer& installer, DialogWindow& dialog, UINT message, WPARAM wParam,
                    LPARAM /*lParam*/) {
    if (message == WM_INITDIALOG) {
        CentreWindow(installer.windows, dialog.Handle());
        dialog.SetCaption(LoadTextCopy(TextId::InstallCaption));
        for (const auto& [id, text] : kWarningTexts) {
            dialog.SetItemText(id, LoadTextCopy(text));
        }
        return TRUE;
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    switch (LoWord(wParam)) {
    case IDOK:
        ChangeDrive(installer, dialog);
        return TRUE;
    case IDCANCEL: // Change fonts; Escape and the close box mean the same
        dialog.EndDialog(kChangeFonts);
        return TRUE;
    case kF3ExitButtonId:
        if (ConfirmCancel(installer.windows, dialog.Handle(), installer.installationState) ==
            IDYES) {
            dialog.EndDialog(0);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR Change_Drv(Installer& installer, DialogWindow& dialog, UINT message, WPARAM wParam,
                   LPARAM /*lParam*/) {
    if (message == WM_INITDIALOG) {
        CentreWindow(installer.windows, dialog.Handle());
        SelectWholeDirectoryText(installer, dialog);
        dialog.SetCaption(LoadTextCopy(TextId::InstallCaption));
        dialog.SetItemText(kChangeLocationLabelId, LoadTextCopy(TextId::LocationLabel));
        dialog.SetItemText(IDOK, LoadTextCopy(TextId::OkButton));
        dialog.SetItemText(IDCANCEL, LoadTextCopy(TextId::CancelButton));
        return FALSE; // the edit control has the focus already
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    switch (LoWord(wParam)) {
    case IDOK:
        if (AcceptFontDirectory(installer, dialog) == 1) {
            dialog.EndDialog(1);
        } else {
            dialog.SetFocus(kFontDirEditId);
        }
        return TRUE;
    case IDCANCEL:
        dialog.EndDialog(0);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace tl
