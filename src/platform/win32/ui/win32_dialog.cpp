#include "platform/win32/ui/win32_dialog.h"

#include "platform/win32/ui/wide_text.h"
#include "platform/win32/ui/win32_window_system.h"
#include "text/ansi_text.h"

#include <algorithm>
#include <cctype>

namespace tl::win32ui {
namespace {

// Class names and styles read the same through the ANSI calls on every Windows.
std::string ClassOf(HWND window) {
    char name[64] = {};
    int length = GetClassNameA(window, name, 64);
    return text::UpperAnsi(std::string_view(name, static_cast<std::size_t>(std::max(length, 0))));
}

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
}

bool IsCheckable(HWND control) {
    if (ClassOf(control) != "BUTTON")
        return false;
    switch (StyleOf(control) & BS_TYPEMASK) {
    case 0x2: // BS_CHECKBOX
    case 0x3: // BS_AUTOCHECKBOX
    case 0x4: // BS_RADIOBUTTON
    case 0x5: // BS_3STATE
    case 0x6: // BS_AUTO3STATE
    case 0x9: // BS_AUTORADIOBUTTON
        return true;
    default:
        return false;
    }
}

bool IsRadio(HWND control) {
    DWORD type = StyleOf(control) & BS_TYPEMASK;
    return type == 0x4 || type == 0x9;
}

bool IsMultiSelect(HWND list) {
    return (StyleOf(list) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

} // namespace

ui::ControlType ControlTypeOf(HWND control) {
    std::string name = ClassOf(control);
    if (name == "STATIC")
        return ui::ControlType::Static;
    if (name == "EDIT")
        return ui::ControlType::Edit;
    if (name == "LISTBOX")
        return ui::ControlType::List;
    if (name == "BUTTON")
        return IsCheckable(control) ? ui::ControlType::CheckButton : ui::ControlType::PushButton;
    return ui::ControlType::Other;
}

Win32Dialog::Win32Dialog(Win32WindowSystem& system, HWND window, DialogProc proc, std::string name,
                         int occurrence, bool modal)
    : system_(system), window_(window), proc_(std::move(proc)), name_(std::move(name)),
      occurrence_(occurrence), modal_(modal) {}

INT_PTR Win32Dialog::CallProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!proc_)
        return FALSE;
    DialogProc proc = proc_; // the procedure may end and destroy this dialog
    return proc(*this, message, wParam, lParam);
}

bool Win32Dialog::TimerPending() const {
    return std::any_of(timers_.begin(), timers_.end(),
                       [](const auto& timer) { return !timer.second; });
}

void Win32Dialog::TimerFired(UINT_PTR id) {
    auto found = timers_.find(id);
    if (found != timers_.end())
        found->second = true;
}

HWND Win32Dialog::Control(int id) const {
    return GetDlgItem(window_, id);
}

HWND Win32Dialog::Reachable(int id) const {
    HWND control = Control(id);
    if (!control || !::IsWindowEnabled(control) || !(StyleOf(control) & WS_VISIBLE) ||
        !::IsWindowEnabled(window_))
        return nullptr;
    return control;
}

::LRESULT Win32Dialog::Send(int id, UINT message, ::WPARAM wParam, ::LPARAM lParam) const {
    HWND control = Control(id);
    return control ? system_.User().Send(control, message, wParam, lParam) : 0;
}

void Win32Dialog::Notify(HWND control, WORD code) {
    system_.User().Send(window_, WM_COMMAND,
                        MakeWParam(static_cast<WORD>(GetDlgCtrlID(control)), code),
                        reinterpret_cast<::LPARAM>(control));
}

WindowHandle Win32Dialog::Item(int id) const {
    return ToHandle(Control(id));
}

BOOL Win32Dialog::SetItemText(int id, std::string_view text) {
    HWND control = Control(id);
    return control ? system_.User().SetText(control, text) : FALSE;
}

std::string Win32Dialog::GetItemText(int id, int maxCount) const {
    HWND control = Control(id);
    if (!control || maxCount <= 0)
        return {};
    return text::TruncateAnsi(system_.User().Text(control), static_cast<std::size_t>(maxCount - 1));
}

void Win32Dialog::SetCaption(std::string_view text) {
    system_.User().SetText(window_, text);
}

std::string Win32Dialog::GetCaption() const {
    return system_.User().Text(window_);
}

void Win32Dialog::EnableItem(int id, bool enable) {
    if (HWND control = Control(id))
        ::EnableWindow(control, enable ? TRUE : FALSE);
}

bool Win32Dialog::IsItemEnabled(int id) const {
    HWND control = Control(id);
    return control && ::IsWindowEnabled(control);
}

void Win32Dialog::ShowItem(int id, bool show) {
    if (HWND control = Control(id))
        ::ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

void Win32Dialog::CheckRadioButton(int first, int last, int check) {
    ::CheckRadioButton(window_, first, last, check);
}

void Win32Dialog::CheckButton(int id, UINT state) {
    ::CheckDlgButton(window_, id, state);
}

UINT Win32Dialog::IsButtonChecked(int id) const {
    return ::IsDlgButtonChecked(window_, id);
}

void Win32Dialog::ListReset(int id) {
    Send(id, LB_RESETCONTENT);
}

int Win32Dialog::ListAdd(int id, std::string_view text) {
    if (!Control(id))
        return static_cast<int>(LB_ERR);
    return static_cast<int>(system_.User().SendText(Control(id), LB_ADDSTRING, 0, text));
}

int Win32Dialog::ListCount(int id) const {
    return Control(id) ? static_cast<int>(Send(id, LB_GETCOUNT)) : static_cast<int>(LB_ERR);
}

std::string Win32Dialog::ListText(int id, int index) const {
    HWND control = Control(id);
    if (!control || index < 0 || index >= ListCount(id))
        return {};
    return system_.User().ListItem(control, index);
}

int Win32Dialog::ListSetCurSel(int id, int index) {
    return Control(id) ? static_cast<int>(Send(id, LB_SETCURSEL, static_cast<::WPARAM>(index)))
                       : static_cast<int>(LB_ERR);
}

int Win32Dialog::ListGetCurSel(int id) const {
    return Control(id) ? static_cast<int>(Send(id, LB_GETCURSEL)) : static_cast<int>(LB_ERR);
}

int Win32Dialog::ListSetSel(int id, bool select, int index) {
    if (!Control(id))
        return static_cast<int>(LB_ERR);
    return static_cast<int>(Send(id, LB_SETSEL, select ? 1 : 0, index));
}

bool Win32Dialog::ListGetSel(int id, int index) const {
    return Control(id) && Send(id, LB_GETSEL, static_cast<::WPARAM>(index)) > 0;
}

int Win32Dialog::ListSelCount(int id) const {
    return Control(id) ? static_cast<int>(Send(id, LB_GETSELCOUNT)) : static_cast<int>(LB_ERR);
}

std::vector<int> Win32Dialog::ListSelItems(int id) const {
    HWND control = Control(id);
    if (!control || !IsMultiSelect(control))
        return {};
    std::vector<int> items(static_cast<std::size_t>(std::max(ListCount(id), 0)));
    ::LRESULT count =
        Send(id, LB_GETSELITEMS, items.size(), reinterpret_cast<::LPARAM>(items.data()));
    items.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
    return items;
}

void Win32Dialog::LimitText(int id, int limit) {
    Send(id, EM_LIMITTEXT, static_cast<::WPARAM>(limit));
}

void Win32Dialog::SelectText(int id, int start, int end) {
    Send(id, EM_SETSEL, static_cast<::WPARAM>(start), end);
}

int Win32Dialog::DirList(std::string& pathSpec, int listId, int staticId, UINT fileType) {
    if (!system_.User().Wide()) {
        std::string spec = pathSpec;
        spec.resize(std::max<std::size_t>(spec.size(), MAX_PATH) + 1, '\0');
        int found = DlgDirListA(window_, spec.data(), listId, staticId, fileType);
        if (found)
            pathSpec = spec.c_str();
        return found;
    }
    std::wstring spec = AnsiToWide(pathSpec);
    spec.resize(std::max<std::size_t>(spec.size(), MAX_PATH) + 1, L'\0');
    int found = DlgDirListW(window_, spec.data(), listId, staticId, fileType);
    if (found)
        pathSpec = WideToAnsi(spec.c_str());
    return found;
}

void Win32Dialog::SetFocus(int id) {
    if (HWND control = Control(id))
        ::SetFocus(control);
}

int Win32Dialog::FocusedItem() const {
    HWND focus = ::GetFocus();
    return focus && ::GetParent(focus) == window_ ? GetDlgCtrlID(focus) : 0;
}

void Win32Dialog::SetTimer(UINT_PTR timerId, UINT elapseMs) {
    if (system_.SetTimer(ToHandle(window_), timerId, elapseMs))
        timers_[timerId] = false;
}

void Win32Dialog::KillTimer(UINT_PTR timerId) {
    system_.KillTimer(ToHandle(window_), timerId);
    timers_.erase(timerId);
}

void Win32Dialog::BringToTop() {
    ::BringWindowToTop(window_);
    ::SetForegroundWindow(window_);
}

void Win32Dialog::Invalidate() {
    ::InvalidateRect(window_, nullptr, TRUE);
}

void Win32Dialog::EndDialog(INT_PTR result) {
    ended_ = true;
    ::EndDialog(window_, result);
}

LRESULT Win32Dialog::SendItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND control = Control(id);
    return control ? system_.User().Send(control, message, wParam, lParam) : 0;
}

ui::DialogSnapshot Win32Dialog::Snapshot() const {
    ui::DialogSnapshot snapshot;
    snapshot.caption = GetCaption();
    // The dialog manager makes the controls in template order, each below the one before.
    for (HWND control = GetWindow(window_, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        int id = GetDlgCtrlID(control);
        // Unnamed statics (id -1) and windows made without an id are nobody's to answer.
        if (id == 0 || id == 0xFFFF || id == -1)
            continue;
        ui::ControlSnapshot entry;
        entry.id = id;
        entry.type = ControlTypeOf(control);
        entry.text = system_.User().Text(control);
        entry.enabled = ::IsWindowEnabled(control) != FALSE;
        entry.visible = (StyleOf(control) & WS_VISIBLE) != 0;
        if (entry.type == ui::ControlType::List) {
            entry.isList = true;
            int count = static_cast<int>(system_.User().Send(control, LB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                entry.items.push_back(system_.User().ListItem(control, i));
                if (system_.User().Send(control, LB_GETSEL, static_cast<::WPARAM>(i), 0) > 0)
                    entry.selected.push_back(i);
            }
        }
        if (entry.type == ui::ControlType::CheckButton) {
            entry.isCheckable = true;
            entry.checked = system_.User().Send(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
        }
        snapshot.controls.push_back(std::move(entry));
    }
    return snapshot;
}

bool Win32Dialog::TypeText(int id, std::string_view text) {
    HWND control = Reachable(id);
    if (!control || ControlTypeOf(control) != ui::ControlType::Edit)
        return false;
    ::SetFocus(control);
    // The installer's limits count bytes of code page 949, the control's count characters: the
    // typed text is cut at the limit in bytes first.
    const UserText& user = system_.User();
    auto limit = static_cast<std::size_t>(user.Send(control, EM_GETLIMITTEXT, 0, 0));
    std::string typed = text::TruncateAnsi(text, limit);
    if (StyleOf(control) & ES_UPPERCASE) {
        if (user.Wide()) {
            std::wstring wide = AnsiToWide(typed);
            CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
            typed = WideToAnsi(wide);
        } else {
            CharUpperBuffA(typed.data(), static_cast<DWORD>(typed.size()));
        }
    }
    if (typed == user.Text(control))
        return true;
    // Replacing the selected whole text is typing over it: the dialog hears EN_CHANGE once.
    user.Send(control, EM_SETSEL, 0, -1);
    user.SendText(control, EM_REPLACESEL, TRUE, typed);
    return true;
}

bool Win32Dialog::SelectItems(int id, const std::vector<int>& indexes) {
    HWND control = Reachable(id);
    if (!control || ControlTypeOf(control) != ui::ControlType::List)
        return false;
    const int count = static_cast<int>(system_.User().Send(control, LB_GETCOUNT, 0, 0));
    for (int index : indexes) {
        if (index < 0 || index >= count)
            return false;
    }
    ::SetFocus(control);
    const bool notifies = (StyleOf(control) & LBS_NOTIFY) != 0;
    if (!IsMultiSelect(control)) {
        if (indexes.size() > 1)
            return false;
        int current = static_cast<int>(system_.User().Send(control, LB_GETCURSEL, 0, 0));
        if (indexes.empty()) // a click cannot clear a single selection
            return current < 0;
        if (current == indexes.front())
            return true;
        system_.User().Send(control, LB_SETCURSEL, static_cast<::WPARAM>(indexes.front()), 0);
        if (notifies)
            Notify(control, LBN_SELCHANGE);
        return true;
    }
    // One click per item whose state must change, in list order.
    for (int i = 0; i < count; ++i) {
        if (!::IsWindow(control))
            return true; // the dialog went away under the clicks
        bool want = std::find(indexes.begin(), indexes.end(), i) != indexes.end();
        bool now = system_.User().Send(control, LB_GETSEL, static_cast<::WPARAM>(i), 0) > 0;
        if (now == want)
            continue;
        system_.User().Send(control, LB_SETSEL, want ? TRUE : FALSE, i);
        system_.User().Send(control, LB_SETCARETINDEX, static_cast<::WPARAM>(i), 0);
        if (notifies)
            Notify(control, LBN_SELCHANGE);
    }
    return true;
}

bool Win32Dialog::SetCheck(int id, bool checked) {
    HWND control = Reachable(id);
    if (!control || !IsCheckable(control))
        return false;
    bool now = system_.User().Send(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (now == checked)
        return true;
    if (!checked && IsRadio(control)) {
        // A user cannot clear a radio button by clicking it; the answer clears it directly.
        system_.User().Send(control, BM_SETCHECK, BST_UNCHECKED, 0);
        return true;
    }
    ::SetFocus(control);
    system_.User().Send(control, BM_CLICK, 0, 0);
    return true;
}

bool Win32Dialog::Click(int id) {
    HWND control = Reachable(id);
    if (!control || ClassOf(control) != "BUTTON")
        return false;
    pressed_ = id;
    ::SetFocus(control);
    system_.User().Send(control, BM_CLICK, 0, 0);
    return true;
}

std::optional<int> Win32Dialog::DefaultButton() const {
    for (HWND control = GetWindow(window_, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        if (ClassOf(control) == "BUTTON" && (StyleOf(control) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return GetDlgCtrlID(control);
    }
    return std::nullopt;
}

void Win32Dialog::PressKey(UINT virtualKey) {
    if (virtualKey == VK_ESCAPE) {
        pressed_ = IDCANCEL;
        system_.User().Send(window_, WM_COMMAND, MakeWParam(IDCANCEL, BN_CLICKED),
                            reinterpret_cast<::LPARAM>(Control(IDCANCEL)));
        return;
    }
    if (virtualKey != VK_RETURN) {
        // Any other key goes through the dialog's own message loop, where the message-filter
        // hook sees it.
        HWND focus = ::GetFocus();
        HWND target = focus && ::IsChild(window_, focus) ? focus : window_;
        system_.User().Post(target, WM_KEYDOWN, virtualKey, 1);
        system_.User().Post(target, WM_KEYUP, virtualKey, static_cast<::LPARAM>(0xC0000001u));
        return;
    }
    std::optional<int> defaultId = DefaultButton();
    if (!defaultId) {
        pressed_ = IDOK;
        system_.User().Send(window_, WM_COMMAND, MakeWParam(IDOK, BN_CLICKED),
                            reinterpret_cast<::LPARAM>(Control(IDOK)));
        return;
    }
    HWND button = Control(*defaultId);
    if (!button || !::IsWindowEnabled(button))
        return; // Enter on a disabled default button does nothing
    pressed_ = *defaultId;
    system_.User().Send(window_, WM_COMMAND, MakeWParam(static_cast<WORD>(*defaultId), BN_CLICKED),
                        reinterpret_cast<::LPARAM>(button));
}

} // namespace tl::win32ui
