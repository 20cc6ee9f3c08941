#include "sysfiles/waiting_dialog.h"

#include "dialogs/dialog_utils.h"

namespace tl {
namespace {} // namespace

INT_PTR WaitingDlgProc(WindowSystem& windows, DialogWindow& dialog, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG)
        return FALSE;
    CentreWindow(windows, dialog.Handle());
    dialog.SetItemText(kWaitingTextId, LoadTextCopy(TextId::WaitingText));
    dialog.SetCaption(LoadTextCopy(TextId::WaitingCaption));
    return TRUE;
}

} // namespace tl
