#include "sysfiles/waiting_dialog.h"

#include "dialogs/dialog_utils.h"

namespace tl {
namespace {

constexpr unsigned kWaitingCaption = 211;
constexpr unsigned kWaitingText = 212;

} // namespace

INT_PTR WaitingDlgProc(WindowSystem& windows, DialogWindow& dialog, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG)
        return FALSE;
    CentreWindow(windows, dialog.Handle());
    dialog.SetItemText(kWaitingTextId, LoadTextCopy(kWaitingText));
    dialog.SetCaption(LoadTextCopy(kWaitingCaption));
    return TRUE;
}

} // namespace tl
