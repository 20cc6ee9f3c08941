#include "copy/confirm_replace.h"

#include "dialogs/dialog_utils.h"
#include "state/installer.h"

namespace tl {

namespace {} // namespace

bool HasLaterFont(const CopyList& list, std::size_t index) {
    if (index >= kCopyListEntries) {
        return false;
    }
    for (std::size_t i = index + 1; i < kCopyListEntries && list.Flag(i) != 0; ++i) {
        if (list.Flag(i) == kFlagFont) {
            return true;
        }
    }
    return false;
}

INT_PTR ConfirmDlgProc(const ConfirmContext& context, DialogWindow& dialog, UINT message,
                       WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        CentreWindow(context.windows, dialog.Handle());
        dialog.SetItemText(kConfirmFileNameId, context.fileName);
        dialog.EnableItem(kConfirmYesToAll, HasLaterFont(context.list, context.index));
        dialog.SetCaption(LoadTextCopy(TextId::ConfirmReplaceCaption));
        dialog.SetItemText(kConfirmExistsId, LoadTextCopy(TextId::FileExists));
        dialog.SetItemText(kConfirmQuestionId, LoadTextCopy(TextId::ReplaceFileQuestion));
        dialog.SetItemText(kConfirmYes, LoadTextCopy(TextId::YesButton));
        dialog.SetItemText(kConfirmYesToAll, LoadTextCopy(TextId::YesToAllButton));
        dialog.SetItemText(kConfirmNo, LoadTextCopy(TextId::NoButton));
        dialog.SetItemText(kConfirmCancel, LoadTextCopy(TextId::CancelButton));
        return TRUE;
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    const int id = LoWord(wParam);
    if (id == kConfirmYes || id == kConfirmYesToAll || id == kConfirmNo || id == kConfirmCancel) {
        dialog.EndDialog(id);
        return TRUE;
    }
    return FALSE;
}

INT_PTR ConfirmReplace(const ConfirmContext& context, WindowHandle owner) {
    return ShowModalDialog(
        context.windows, owner,
        [&context](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
            return ConfirmDlgProc(context, dialog, message, wParam, lParam);
        },
        kConfirmReplaceTemplate);
}

INT_PTR ConfirmReplace(Installer& installer, WindowHandle owner, std::string_view fileName,
                       std::size_t index) {
    return ConfirmReplace(ConfirmContext{installer.windows, installer.copyList, fileName, index},
                          owner);
}

} // namespace tl
