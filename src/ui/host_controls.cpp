// The built-in control classes of the host window system: what buttons, edit controls, statics
// and list boxes do with the messages the dialog procedures send them, and the notifications
// they send their dialog.
#include "ui/host_window.h"
#include "ui/host_window_system.h"

#include <algorithm>
#include <cstring>

namespace tl::host {

bool HostWindow::IsCheckable() const {
    if (kind != ControlKind::Button)
        return false;
    DWORD type = ControlType();
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
           type == BS_AUTORADIOBUTTON || type == 0x5 /* BS_3STATE */ || type == 0x6;
}

bool HostWindow::IsRadio() const {
    return kind == ControlKind::Button &&
           (ControlType() == BS_RADIOBUTTON || ControlType() == BS_AUTORADIOBUTTON);
}

bool HostWindow::IsMultiSelect() const {
    return kind == ControlKind::ListBox && (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

namespace {

void Notify(HostWindowSystem& system, HostWindow& control, WORD code) {
    if (!control.parent)
        return;
    system.SendMessage(control.parent, WM_COMMAND, MakeWParam(static_cast<WORD>(control.id), code),
                       static_cast<LPARAM>(control.handle.value));
}

// Text-handling messages every control shares.
std::optional<LRESULT> TextMessage(HostWindow& window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT:
        window.text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        return TRUE;
    case WM_GETTEXT: {
        if (wParam == 0 || lParam == 0)
            return 0;
        std::string part = TruncateAnsi(window.text, wParam - 1);
        std::memcpy(reinterpret_cast<char*>(lParam), part.c_str(), part.size() + 1);
        return static_cast<LRESULT>(part.size());
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(window.text.size());
    default:
        return std::nullopt;
    }
}

// The radio buttons of the same group as `button`: the controls from the nearest one at or
// before it with WS_GROUP up to the next one with WS_GROUP; with no WS_GROUP, all of them.
std::vector<HostWindow*> GroupOf(HostWindowSystem& system, const HostWindow& button) {
    std::vector<HostWindow*> group;
    HostWindow* parent = system.Find(button.parent);
    if (!parent)
        return group;
    const auto& siblings = parent->children;
    auto self = std::find(siblings.begin(), siblings.end(), button.handle);
    if (self == siblings.end())
        return group;
    auto start = self;
    while (start != siblings.begin()) {
        HostWindow* w = system.Find(*start);
        if (w && (w->style & WS_GROUP))
            break;
        --start;
    }
    for (auto it = start; it != siblings.end(); ++it) {
        HostWindow* w = system.Find(*it);
        if (!w)
            continue;
        if (it != start && (w->style & WS_GROUP))
            break;
        group.push_back(w);
    }
    return group;
}

} // namespace

LRESULT ButtonProc(HostWindowSystem& system, HostWindow& window, UINT message, WPARAM wParam,
                   LPARAM lParam) {
    if (auto result = TextMessage(window, message, wParam, lParam))
        return *result;
    switch (message) {
    case BM_GETCHECK:
        return static_cast<LRESULT>(window.control.check);
    case BM_SETCHECK:
        if (window.IsCheckable())
            window.control.check = static_cast<UINT>(wParam);
        return 0;
    case BM_CLICK: {
        DWORD type = window.ControlType();
        if (type == BS_AUTOCHECKBOX)
            window.control.check =
                window.control.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        if (type == BS_AUTORADIOBUTTON) {
            for (HostWindow* other : GroupOf(system, window)) {
                if (other != &window && other->ControlType() == BS_AUTORADIOBUTTON)
                    other->control.check = BST_UNCHECKED;
            }
            window.control.check = BST_CHECKED;
        }
        Notify(system, window, BN_CLICKED);
        return 0;
    }
    default:
        return system.DefWindowProc(window.handle, message, wParam, lParam);
    }
}

LRESULT EditProc(HostWindowSystem& system, HostWindow& window, UINT message, WPARAM wParam,
                 LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT: {
        // Setting the text ignores the limit but not the upper-case style, and notifies.
        std::string text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        if (window.style & ES_UPPERCASE)
            text = UpperAnsi(text);
        window.text = text;
        window.control.selStart = window.control.selEnd = 0;
        Notify(system, window, EN_CHANGE);
        return TRUE;
    }
    case EM_LIMITTEXT:
        window.control.limit = static_cast<int>(wParam);
        return 0;
    case EM_SETSEL: {
        auto size = static_cast<int>(window.text.size());
        auto start = static_cast<int>(static_cast<LONG>(wParam));
        auto end = static_cast<int>(static_cast<LONG>(lParam));
        if (start < 0) {
            window.control.selStart = window.control.selEnd = size;
            return 0;
        }
        if (end < 0 || end > size)
            end = size;
        start = std::min(start, size);
        window.control.selStart = std::min(start, end);
        window.control.selEnd = std::max(start, end);
        return 0;
    }
    case EM_GETSEL:
        return static_cast<LRESULT>(MakeWParam(static_cast<WORD>(window.control.selStart),
                                               static_cast<WORD>(window.control.selEnd)));
    default:
        break;
    }
    if (auto result = TextMessage(window, message, wParam, lParam))
        return *result;
    return system.DefWindowProc(window.handle, message, wParam, lParam);
}

LRESULT StaticProc(HostWindowSystem& system, HostWindow& window, UINT message, WPARAM wParam,
                   LPARAM lParam) {
    if (auto result = TextMessage(window, message, wParam, lParam))
        return *result;
    return system.DefWindowProc(window.handle, message, wParam, lParam);
}

LRESULT ListBoxProc(HostWindowSystem& system, HostWindow& window, UINT message, WPARAM wParam,
                    LPARAM lParam) {
    auto& state = window.control;
    auto count = static_cast<int>(state.items.size());
    auto index = static_cast<int>(static_cast<LONG>(wParam));
    bool multi = window.IsMultiSelect();
    switch (message) {
    case LB_RESETCONTENT:
        state.items.clear();
        state.selected.clear();
        state.caret = -1;
        return 0;
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
        std::string text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        int at = count;
        if (message == LB_ADDSTRING && (window.style & LBS_SORT)) {
            at = static_cast<int>(std::upper_bound(state.items.begin(), state.items.end(), text) -
                                  state.items.begin());
        } else if (message == LB_INSERTSTRING && index >= 0 && index <= count) {
            at = index;
        }
        state.items.insert(state.items.begin() + at, text);
        state.selected.insert(state.selected.begin() + at, false);
        if (state.caret >= at)
            ++state.caret;
        return at;
    }
    case LB_DELETESTRING:
        if (index < 0 || index >= count)
            return LB_ERR;
        state.items.erase(state.items.begin() + index);
        state.selected.erase(state.selected.begin() + index);
        if (state.caret == index)
            state.caret = -1;
        else if (state.caret > index)
            --state.caret;
        return count - 1;
    case LB_GETCOUNT:
        return count;
    case LB_GETTEXTLEN:
        return index >= 0 && index < count ? static_cast<LRESULT>(state.items[index].size())
                                           : LB_ERR;
    case LB_GETTEXT:
        if (index < 0 || index >= count || lParam == 0)
            return LB_ERR;
        std::memcpy(reinterpret_cast<char*>(lParam), state.items[index].c_str(),
                    state.items[index].size() + 1);
        return static_cast<LRESULT>(state.items[index].size());
    case LB_FINDSTRINGEXACT: {
        const char* wanted = lParam ? reinterpret_cast<const char*>(lParam) : "";
        for (int i = 0; i < count; ++i) {
            if (state.items[i] == wanted)
                return i;
        }
        return LB_ERR;
    }
    case LB_SETCURSEL:
        if (multi)
            return LB_ERR;
        std::fill(state.selected.begin(), state.selected.end(), false);
        if (index < 0 || index >= count) {
            state.caret = -1;
            return index == -1 ? 0 : LB_ERR;
        }
        state.selected[index] = true;
        state.caret = index;
        return index;
    case LB_GETCURSEL:
        if (multi)
            return state.caret;
        return state.caret;
    case LB_SETSEL: {
        // Single-selection lists answer LB_ERR, as Win32's do.
        if (!multi)
            return LB_ERR;
        auto item = static_cast<int>(static_cast<LONG>(lParam));
        if (item == -1) {
            std::fill(state.selected.begin(), state.selected.end(), wParam != 0);
            return 0;
        }
        if (item < 0 || item >= count)
            return LB_ERR;
        state.selected[item] = wParam != 0;
        state.caret = item;
        return 0;
    }
    case LB_GETSEL:
        if (index < 0 || index >= count)
            return LB_ERR;
        return state.selected[index] ? 1 : 0;
    case LB_GETSELCOUNT:
        if (!multi)
            return LB_ERR;
        return static_cast<LRESULT>(std::count(state.selected.begin(), state.selected.end(), true));
    case LB_GETSELITEMS: {
        if (!multi)
            return LB_ERR;
        auto* out = reinterpret_cast<int*>(lParam);
        int written = 0;
        for (int i = 0; i < count && written < index; ++i) {
            if (state.selected[i] && out)
                out[written++] = i;
        }
        return written;
    }
    default:
        break;
    }
    if (auto result = TextMessage(window, message, wParam, lParam))
        return *result;
    return system.DefWindowProc(window.handle, message, wParam, lParam);
}

} // namespace tl::host
