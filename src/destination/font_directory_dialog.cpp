#include "destination/font_directory_dialog.h"
#include "resources/control_ids.h"

#include "destination/font_directory.h"
#include "dialogs/dialog_utils.h"
#include "state/installer.h"

namespace tl {

namespace {

constexpr int kTypedReadLimit = 1024;

void OpenDirectoryDialog(Installer& installer, DialogWindow& dialog) {
    CentreWindow(installer.windows, dialog.Handle());
    Paths& paths = installer.paths;
    // Every opening starts from the Windows directory, whatever an earlier run stored.
    paths.fontDir = paths.windowsDir;
    dialog.SetFocus(kFontDirEditId);

    std::string proposal = paths.windowsDir;
    if (proposal.empty() || proposal.back() != '\\') {
        proposal += '\\';
    }
    proposal += "FONTS";
    installer.destination.typedFontDir = proposal;
    installer.destination.proposedFontDir = proposal;
    dialog.SetItemText(kFontDirEditId, proposal);

    installer.dialogUtils.f3Dialog = dialog.Handle();
    InstallF3Hook(installer.windows, installer.dialogUtils);

    dialog.SetCaption(LoadTextCopy(TextId::SelectPathCaption));
    dialog.SetItemText(kDirectoryPromptId, LoadTextCopy(TextId::DirectoryPrompt));
    dialog.SetItemText(kLocationLabelId, LoadTextCopy(TextId::LocationLabel));
    dialog.SetItemText(IDOK, LoadTextCopy(TextId::OkButton));
    dialog.SetItemText(kF3ExitButtonId, LoadTextCopy(TextId::CancelButton));
}

void EndDirectoryDialog(Installer& installer, DialogWindow& dialog, INT_PTR result) {
    dialog.EndDialog(result);
    RemoveF3Hook(installer.windows, installer.dialogUtils);
    installer.dialogUtils.f3Dialog = WindowHandle{};
}

void ConfirmDirectory(Installer& installer, DialogWindow& dialog) {
    if (AcceptFontDirectory(installer, dialog) != 1) {
        dialog.SetFocus(kFontDirEditId);
        return;
    }
    DestinationState& state = installer.destination;
    state.typedFontDir = dialog.GetItemText(kFontDirEditId, kTypedReadLimit);
    state.fontDirKept = state.typedFontDir == state.proposedFontDir;
    EndDirectoryDialog(installer, dialog, 1);
}

void AskToCancel(Installer& installer, DialogWindow& dialog) {
    if (ConfirmCancel(installer.windows, dialog.Handle(), installer.installationState) == IDYES) {
        EndDirectoryDialog(installer, dialog, 0);
        return;
    }
    dialog.SetFocus(kFontDirEditId);
}

} // namespace

INT_PTR Direc_Set(Installer& installer, DialogWindow& dialog, UINT message, WPARAM wParam,
                  LPARAM /*lParam*/) {
    if (message == WM_INITDIALOG) {
        OpenDirectoryDialog(installer, dialog);
        return FALSE; // the edit control has the focus already
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    const int id = LoWord(wParam);
    if (id == kFontDirEditId) {
        if (HiWord(wParam) != EN_CHANGE) {
            return FALSE;
        }
        dialog.EnableItem(IDOK, !dialog.GetItemText(kFontDirEditId, 2).empty());
        return TRUE;
    }
    if (id == IDOK) {
        ConfirmDirectory(installer, dialog);
        return TRUE;
    }
    if (id == kF3ExitButtonId || id == IDCANCEL) {
        AskToCancel(installer, dialog);
        return TRUE;
    }
    return FALSE;
}

} // namespace tl
