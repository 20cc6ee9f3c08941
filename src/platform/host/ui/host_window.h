// One window of the host window system, with the state of the built-in control classes
// (button, edit, static, list box) when it is one of those.
#pragma once

#include "platform/window_system.h"
#include "text/ansi_text.h"

#include <memory>
#include <string>
#include <vector>

namespace tl::host {

class MemoryDialog;
class HostWindowSystem;

enum class ControlKind { None, Button, Edit, Static, ListBox, Dialog };

struct ControlState {
    UINT check = BST_UNCHECKED; // buttons
    int limit = 0;              // edit: EM_LIMITTEXT, 0 = the default maximum
    int selStart = 0;           // edit: EM_SETSEL
    int selEnd = 0;
    std::vector<std::string> items; // list box
    std::vector<bool> selected;     // list box, one flag per item
    int caret = -1;                 // list box: LB_GETCURSEL of a single-selection list
};

struct HostWindow {
    WindowHandle handle;
    std::string className; // upper-cased
    ControlKind kind = ControlKind::None;
    WindowProc proc;
    std::string text;
    DWORD style = 0;
    Rect rect; // screen coordinates for top-level windows, parent client coordinates for children
    WindowHandle parent; // children: the parent; top-level windows: the owner
    int id = 0;
    bool child = false;
    bool enabled = true;
    bool visible = false;
    bool destroyed = false;
    std::vector<LONG> extra;
    bool invalid = false;
    bool erase = false;
    Rect invalidRect;
    ControlState control;
    std::vector<WindowHandle> children; // creation order
    std::unique_ptr<MemoryDialog> dialog;

    DWORD ControlType() const { return style & 0xFu; }
    bool IsCheckable() const;
    bool IsRadio() const;
    bool IsMultiSelect() const;
};

// The default maximum text of a single-line edit control.
inline constexpr int kDefaultEditLimit = 30000;

// Built-in class procedures; they keep their state in the HostWindow.
LRESULT ButtonProc(HostWindowSystem& system, HostWindow& window, UINT message, WPARAM wParam,
                   LPARAM lParam);
LRESULT EditProc(HostWindowSystem& system, HostWindow& window, UINT message, WPARAM wParam,
                 LPARAM lParam);
LRESULT StaticProc(HostWindowSystem& system, HostWindow& window, UINT message, WPARAM wParam,
                   LPARAM lParam);
LRESULT ListBoxProc(HostWindowSystem& system, HostWindow& window, UINT message, WPARAM wParam,
                    LPARAM lParam);

} // namespace tl::host
