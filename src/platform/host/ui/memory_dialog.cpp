// The in-memory dialog: DialogWindow calls become the messages the control windows understand,
// and a frontend's actions become clicks, typing and keys.
#include "platform/host/ui/memory_dialog.h"

#include "platform/host/ui/host_window.h"
#include "platform/host/ui/host_window_system.h"
#include "text/ansi_text.h"

#include <algorithm>
#include <cctype>

namespace tl::host {

MemoryDialog::MemoryDialog(HostWindowSystem& system, WindowHandle handle, DialogProc proc,
                           std::string name, int occurrence, bool modal)
    : system_(system), handle_(handle), proc_(std::move(proc)), name_(std::move(name)),
      occurrence_(occurrence), modal_(modal) {}

INT_PTR MemoryDialog::CallProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!proc_)
        return FALSE;
    DialogProc proc = proc_; // the procedure may end and destroy this dialog
    return proc(*this, message, wParam, lParam);
}

HostWindow* MemoryDialog::Control(int id) const {
    HostWindow* dialog = system_.Find(handle_);
    if (!dialog)
        return nullptr;
    for (WindowHandle child : dialog->children) {
        HostWindow* control = system_.Find(child);
        if (control && control->id == id)
            return control;
    }
    return nullptr;
}

HostWindow* MemoryDialog::Reachable(int id) const {
    HostWindow* control = Control(id);
    if (!control || !control->enabled || !control->visible)
        return nullptr;
    HostWindow* dialog = system_.Find(handle_);
    if (!dialog || !dialog->enabled)
        return nullptr;
    return control;
}

LRESULT MemoryDialog::Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
    HostWindow* control = Control(id);
    if (!control)
        return 0;
    return system_.SendMessage(control->handle, message, wParam, lParam);
}

WindowHandle MemoryDialog::Item(int id) const {
    HostWindow* control = Control(id);
    return control ? control->handle : WindowHandle{};
}

BOOL MemoryDialog::SetItemText(int id, std::string_view text) {
    HostWindow* control = Control(id);
    if (!control)
        return FALSE;
    std::string copy(text);
    return static_cast<BOOL>(system_.SendMessage(control->handle, WM_SETTEXT, 0,
                                                 reinterpret_cast<LPARAM>(copy.c_str())));
}

std::string MemoryDialog::GetItemText(int id, int maxCount) const {
    HostWindow* control = Control(id);
    if (!control || maxCount <= 0)
        return {};
    return text::TruncateAnsi(control->text, static_cast<std::size_t>(maxCount - 1));
}

void MemoryDialog::SetCaption(std::string_view text) {
    system_.SetWindowText(handle_, text);
}

std::string MemoryDialog::GetCaption() const {
    return system_.GetWindowText(handle_);
}

void MemoryDialog::EnableItem(int id, bool enable) {
    if (HostWindow* control = Control(id))
        system_.EnableWindow(control->handle, enable ? TRUE : FALSE);
}

bool MemoryDialog::IsItemEnabled(int id) const {
    HostWindow* control = Control(id);
    return control && control->enabled;
}

void MemoryDialog::ShowItem(int id, bool show) {
    if (HostWindow* control = Control(id))
        system_.ShowWindow(control->handle, show ? SW_SHOW : SW_HIDE);
}

void MemoryDialog::CheckRadioButton(int first, int last, int check) {
    for (int id = first; id <= last; ++id) {
        if (Control(id))
            Send(id, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED);
    }
}

void MemoryDialog::CheckButton(int id, UINT state) {
    Send(id, BM_SETCHECK, state);
}

UINT MemoryDialog::IsButtonChecked(int id) const {
    return static_cast<UINT>(Send(id, BM_GETCHECK));
}

void MemoryDialog::ListReset(int id) {
    Send(id, LB_RESETCONTENT);
}

int MemoryDialog::ListAdd(int id, std::string_view text) {
    if (!Control(id))
        return static_cast<int>(LB_ERR);
    std::string copy(text);
    return static_cast<int>(Send(id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(copy.c_str())));
}

int MemoryDialog::ListCount(int id) const {
    return Control(id) ? static_cast<int>(Send(id, LB_GETCOUNT)) : static_cast<int>(LB_ERR);
}

std::string MemoryDialog::ListText(int id, int index) const {
    HostWindow* control = Control(id);
    if (!control || control->kind != ControlKind::ListBox || index < 0 ||
        index >= static_cast<int>(control->control.items.size()))
        return {};
    return control->control.items[static_cast<std::size_t>(index)];
}

int MemoryDialog::ListSetCurSel(int id, int index) {
    return Control(id) ? static_cast<int>(Send(id, LB_SETCURSEL, static_cast<WPARAM>(index)))
                       : static_cast<int>(LB_ERR);
}

int MemoryDialog::ListGetCurSel(int id) const {
    return Control(id) ? static_cast<int>(Send(id, LB_GETCURSEL)) : static_cast<int>(LB_ERR);
}

int MemoryDialog::ListSetSel(int id, bool select, int index) {
    if (!Control(id))
        return static_cast<int>(LB_ERR);
    return static_cast<int>(Send(id, LB_SETSEL, select ? 1 : 0, index));
}

bool MemoryDialog::ListGetSel(int id, int index) const {
    return Control(id) && Send(id, LB_GETSEL, static_cast<WPARAM>(index)) > 0;
}

int MemoryDialog::ListSelCount(int id) const {
    return Control(id) ? static_cast<int>(Send(id, LB_GETSELCOUNT)) : static_cast<int>(LB_ERR);
}

std::vector<int> MemoryDialog::ListSelItems(int id) const {
    HostWindow* control = Control(id);
    if (!control || !control->IsMultiSelect())
        return {};
    std::vector<int> items(control->control.items.size());
    auto count = Send(id, LB_GETSELITEMS, items.size(), reinterpret_cast<LPARAM>(items.data()));
    items.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
    return items;
}

void MemoryDialog::LimitText(int id, int limit) {
    Send(id, EM_LIMITTEXT, static_cast<WPARAM>(limit));
}

void MemoryDialog::SelectText(int id, int start, int end) {
    Send(id, EM_SETSEL, static_cast<WPARAM>(start), end);
}

int MemoryDialog::DirList(std::string& pathSpec, int listId, int staticId, UINT fileType) {
    const DirectoryLister& lister = system_.Lister();
    if (!lister)
        return 0;
    auto listing = lister(pathSpec);
    if (!listing)
        return 0;
    if (listId && Control(listId)) {
        ListReset(listId);
        if (!(fileType & DDL_EXCLUSIVE)) {
            for (const std::string& file : listing->files)
                ListAdd(listId, file);
        }
        if (fileType & DDL_DIRECTORY) {
            for (const std::string& directory : listing->directories)
                ListAdd(listId, "[" + directory + "]");
        }
        if (fileType & DDL_DRIVES) {
            for (char drive : listing->drives) {
                char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(drive)));
                ListAdd(listId, std::string("[-") + lower + "-]");
            }
        }
    }
    if (staticId)
        SetItemText(staticId, listing->directory);
    pathSpec = listing->pattern;
    return 1;
}

void MemoryDialog::SetFocus(int id) {
    if (HostWindow* control = Control(id))
        system_.SetFocus(control->handle);
}

int MemoryDialog::FocusedItem() const {
    HostWindow* focus = system_.Find(system_.GetFocus());
    return focus && focus->parent == handle_ ? focus->id : 0;
}

void MemoryDialog::SetTimer(UINT_PTR timerId, UINT elapseMs) {
    system_.SetTimer(handle_, timerId, elapseMs);
}

void MemoryDialog::KillTimer(UINT_PTR timerId) {
    system_.KillTimer(handle_, timerId);
}

void MemoryDialog::BringToTop() {
    system_.BringWindowToTop(handle_);
    system_.SetForegroundWindow(handle_);
}

void MemoryDialog::Invalidate() {
    system_.InvalidateRect(handle_, nullptr, TRUE);
}

void MemoryDialog::EndDialog(INT_PTR result) {
    ended_ = true;
    result_ = result;
    system_.ShowWindow(handle_, SW_HIDE);
}

LRESULT MemoryDialog::SendItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return Send(id, message, wParam, lParam);
}

ui::DialogSnapshot MemoryDialog::Snapshot() const {
    ui::DialogSnapshot snapshot;
    snapshot.caption = GetCaption();
    HostWindow* dialog = system_.Find(handle_);
    if (!dialog)
        return snapshot;
    for (WindowHandle child : dialog->children) {
        HostWindow* control = system_.Find(child);
        // Unnamed statics (id -1) and windows made without an id are nobody's to answer.
        if (!control || control->id == 0 || control->id == 0xFFFF || control->id == -1)
            continue;
        ui::ControlSnapshot entry;
        entry.id = control->id;
        entry.text = control->text;
        entry.enabled = control->enabled;
        entry.visible = control->visible;
        switch (control->kind) {
        case ControlKind::Static:
            entry.type = ui::ControlType::Static;
            break;
        case ControlKind::Edit:
            entry.type = ui::ControlType::Edit;
            break;
        case ControlKind::ListBox:
            entry.type = ui::ControlType::List;
            break;
        case ControlKind::Button:
            entry.type =
                control->IsCheckable() ? ui::ControlType::CheckButton : ui::ControlType::PushButton;
            break;
        default:
            entry.type = ui::ControlType::Other;
            break;
        }
        if (control->kind == ControlKind::ListBox) {
            entry.isList = true;
            entry.items = control->control.items;
            for (std::size_t i = 0; i < control->control.selected.size(); ++i) {
                if (control->control.selected[i])
                    entry.selected.push_back(static_cast<int>(i));
            }
        }
        if (control->IsCheckable()) {
            entry.isCheckable = true;
            entry.checked = control->control.check == BST_CHECKED;
        }
        snapshot.controls.push_back(std::move(entry));
    }
    return snapshot;
}

bool MemoryDialog::TypeText(int id, std::string_view text) {
    HostWindow* control = Reachable(id);
    if (!control || control->kind != ControlKind::Edit)
        return false;
    system_.SetFocus(control->handle);
    std::string typed(text);
    if (control->style & ES_UPPERCASE)
        typed = text::UpperAnsi(typed);
    int limit = control->control.limit > 0 ? control->control.limit : kDefaultEditLimit;
    typed = text::TruncateAnsi(typed, static_cast<std::size_t>(limit));
    if (typed == control->text)
        return true;
    control->text = typed;
    control->control.selStart = control->control.selEnd = static_cast<int>(typed.size());
    system_.SendMessage(handle_, WM_COMMAND, MakeWParam(static_cast<WORD>(id), EN_CHANGE),
                        static_cast<LPARAM>(control->handle.value));
    return true;
}

bool MemoryDialog::SelectItems(int id, const std::vector<int>& indexes) {
    HostWindow* control = Reachable(id);
    if (!control || control->kind != ControlKind::ListBox)
        return false;
    auto& state = control->control;
    auto count = static_cast<int>(state.items.size());
    for (int index : indexes) {
        if (index < 0 || index >= count)
            return false;
    }
    system_.SetFocus(control->handle);
    auto notify = [&] {
        if (control->style & LBS_NOTIFY)
            system_.SendMessage(handle_, WM_COMMAND,
                                MakeWParam(static_cast<WORD>(id), LBN_SELCHANGE),
                                static_cast<LPARAM>(control->handle.value));
    };
    if (!control->IsMultiSelect()) {
        if (indexes.size() > 1)
            return false;
        if (indexes.empty()) // a click cannot clear a single selection
            return std::find(state.selected.begin(), state.selected.end(), true) ==
                   state.selected.end();
        int wanted = indexes.front();
        if (state.selected[static_cast<std::size_t>(wanted)])
            return true;
        std::fill(state.selected.begin(), state.selected.end(), false);
        state.selected[static_cast<std::size_t>(wanted)] = true;
        state.caret = wanted;
        notify();
        return true;
    }
    // One click per item whose state must change, in list order.
    for (int i = 0; i < count; ++i) {
        if (!system_.Find(control->handle))
            return true; // the dialog went away under the clicks
        bool want = std::find(indexes.begin(), indexes.end(), i) != indexes.end();
        if (state.selected[static_cast<std::size_t>(i)] == want)
            continue;
        state.selected[static_cast<std::size_t>(i)] = want;
        state.caret = i;
        notify();
    }
    return true;
}

bool MemoryDialog::SetCheck(int id, bool checked) {
    HostWindow* control = Reachable(id);
    if (!control || !control->IsCheckable())
        return false;
    bool now = control->control.check == BST_CHECKED;
    if (now == checked)
        return true;
    if (!checked && control->IsRadio()) {
        // A user cannot clear a radio button by clicking it; the answer clears it directly.
        control->control.check = BST_UNCHECKED;
        return true;
    }
    system_.SetFocus(control->handle);
    system_.SendMessage(control->handle, BM_CLICK, 0, 0);
    return true;
}

bool MemoryDialog::Click(int id) {
    HostWindow* control = Reachable(id);
    if (!control || control->kind != ControlKind::Button)
        return false;
    pressed_ = id;
    system_.SetFocus(control->handle);
    system_.SendMessage(control->handle, BM_CLICK, 0, 0);
    return true;
}

std::optional<int> MemoryDialog::DefaultButton() const {
    HostWindow* dialog = system_.Find(handle_);
    if (!dialog)
        return std::nullopt;
    for (WindowHandle child : dialog->children) {
        HostWindow* control = system_.Find(child);
        if (control && control->kind == ControlKind::Button &&
            control->ControlType() == BS_DEFPUSHBUTTON)
            return control->id;
    }
    return std::nullopt;
}

void MemoryDialog::PressKey(UINT virtualKey) {
    WindowHandle focus = system_.GetFocus();
    HostWindow* focused = system_.Find(focus);
    Message key{focused && focused->parent == handle_ ? focus : handle_, WM_KEYDOWN, virtualKey, 0,
                static_cast<DWORD>(system_.Now())};
    if (system_.RunMessageFilter(key))
        return;
    if (virtualKey == VK_ESCAPE) {
        pressed_ = IDCANCEL;
        system_.SendMessage(handle_, WM_COMMAND, MakeWParam(IDCANCEL, BN_CLICKED),
                            static_cast<LPARAM>(Item(IDCANCEL).value));
        return;
    }
    if (virtualKey != VK_RETURN)
        return;
    std::optional<int> defaultId = DefaultButton();
    if (!defaultId) {
        pressed_ = IDOK;
        system_.SendMessage(handle_, WM_COMMAND, MakeWParam(IDOK, BN_CLICKED),
                            static_cast<LPARAM>(Item(IDOK).value));
        return;
    }
    HostWindow* button = Control(*defaultId);
    if (!button || !button->enabled)
        return; // Enter on a disabled default button does nothing
    pressed_ = *defaultId;
    system_.SendMessage(handle_, WM_COMMAND, MakeWParam(static_cast<WORD>(*defaultId), BN_CLICKED),
                        static_cast<LPARAM>(button->handle.value));
}

} // namespace tl::host
