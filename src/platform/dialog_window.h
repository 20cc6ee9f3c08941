// The dialog a dialog procedure talks to. Every dialog procedure of the installer is written once
// against this interface and runs unchanged on a real dialog window (Win32 adapter) and on the
// host's in-memory control model. The operations are the dialog-manager calls the procedures use
// (SetDlgItemText, GetDlgItemText, EnableWindow on an item, CheckRadioButton, CheckDlgButton,
// IsDlgButtonChecked, the list-box and edit messages, SetFocus, SetTimer, BringWindowToTop,
// EndDialog, SetWindowText on the dialog, SendDlgItemMessage). Texts are ANSI (code page 949).
#pragma once

#include "platform/window_types.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

class DialogWindow {
public:
    virtual ~DialogWindow() = default;

    virtual WindowHandle Handle() const = 0;
    // GetDlgItem: the control's window, or an empty handle when the dialog has no such control.
    virtual WindowHandle Item(int id) const = 0;

    // SetDlgItemText / GetDlgItemText. GetItemText returns at most maxCount - 1 bytes, as the
    // Win32 call does with a buffer of maxCount bytes (never half of a double-byte character).
    virtual BOOL SetItemText(int id, std::string_view text) = 0;
    virtual std::string GetItemText(int id, int maxCount) const = 0;
    // SetWindowText / GetWindowText on the dialog itself.
    virtual void SetCaption(std::string_view text) = 0;
    virtual std::string GetCaption() const = 0;

    // EnableWindow(GetDlgItem(id)) and IsWindowEnabled.
    virtual void EnableItem(int id, bool enable) = 0;
    virtual bool IsItemEnabled(int id) const = 0;
    // ShowWindow(GetDlgItem(id), SW_SHOW / SW_HIDE).
    virtual void ShowItem(int id, bool show) = 0;

    // CheckRadioButton: checks `check` and clears the other buttons first..last.
    virtual void CheckRadioButton(int first, int last, int check) = 0;
    // CheckDlgButton / IsDlgButtonChecked (BST_UNCHECKED or BST_CHECKED).
    virtual void CheckButton(int id, UINT state) = 0;
    virtual UINT IsButtonChecked(int id) const = 0;

    // List boxes. Indexes are 0-based; results as LB_* messages give them (LB_ERR = -1).
    virtual void ListReset(int id) = 0;                         // LB_RESETCONTENT
    virtual int ListAdd(int id, std::string_view text) = 0;     // LB_ADDSTRING: the new index
    virtual int ListCount(int id) const = 0;                    // LB_GETCOUNT
    virtual std::string ListText(int id, int index) const = 0;  // LB_GETTEXT ("" when none)
    virtual int ListSetCurSel(int id, int index) = 0;           // LB_SETCURSEL (single selection)
    virtual int ListGetCurSel(int id) const = 0;                // LB_GETCURSEL
    virtual int ListSetSel(int id, bool select, int index) = 0; // LB_SETSEL, index -1: all
    virtual bool ListGetSel(int id, int index) const = 0;       // LB_GETSEL
    virtual int ListSelCount(int id) const = 0;                 // LB_GETSELCOUNT
    virtual std::vector<int> ListSelItems(int id) const = 0;    // LB_GETSELITEMS

    // Edit controls.
    virtual void LimitText(int id, int limit) = 0;           // EM_LIMITTEXT (0: the maximum)
    virtual void SelectText(int id, int start, int end) = 0; // EM_SETSEL (end -1: to the end)

    // DlgDirList: fills list `listId` with what `pathSpec` names (a directory, or a directory and
    // a file pattern): its files unless DDL_EXCLUSIVE, "[name]" for its subdirectories with
    // DDL_DIRECTORY, "[-x-]" for the drives with DDL_DRIVES; makes that directory the current one,
    // shows it in static `staticId` (0: none) and leaves the file pattern in pathSpec. 0 when the
    // path names no directory.
    virtual int DirList(std::string& pathSpec, int listId, int staticId, UINT fileType) = 0;

    // SetFocus(GetDlgItem(id)).
    virtual void SetFocus(int id) = 0;
    virtual int FocusedItem() const = 0;

    // SetTimer / KillTimer on the dialog window: WM_TIMER arrives at the dialog procedure.
    virtual void SetTimer(UINT_PTR timerId, UINT elapseMs) = 0;
    virtual void KillTimer(UINT_PTR timerId) = 0;

    // BringWindowToTop / SetForegroundWindow on the dialog.
    virtual void BringToTop() = 0;
    // InvalidateRect(dialog, NULL, TRUE).
    virtual void Invalidate() = 0;

    // EndDialog: the modal dialog ends with `result` once the current message has been handled.
    virtual void EndDialog(INT_PTR result) = 0;

    // SendDlgItemMessage for the messages the convenience calls above do not cover.
    virtual LRESULT SendItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// DLGPROC: TRUE when the message was handled (WM_INITDIALOG: TRUE to let the system set the focus).
using DialogProc = std::function<INT_PTR(DialogWindow&, UINT message, WPARAM, LPARAM)>;

} // namespace tl
