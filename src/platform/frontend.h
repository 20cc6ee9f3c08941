// What the host window system asks of whoever stands in for the user (the answers file, a
// terminal) and tells whoever keeps the record (the transcript). Texts are ANSI (code page 949).
#pragma once

#include "platform/window_types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::ui {

enum class ControlType { Static, PushButton, CheckButton, Edit, List, Other };

// One control as a user sees it, and as the transcript records it.
struct ControlSnapshot {
    int id = 0;
    ControlType type = ControlType::Other;
    std::string text;
    bool enabled = true;
    bool visible = true;
    bool isList = false;
    std::vector<std::string> items; // list boxes
    std::vector<int> selected;      // list boxes: selected indexes in order
    bool isCheckable = false;       // radio buttons and check boxes
    bool checked = false;
};

struct DialogSnapshot {
    std::string caption;
    std::vector<ControlSnapshot> controls; // in template order

    const ControlSnapshot* Find(int id) const;
};

struct MessageBoxRequest {
    WindowHandle owner;
    std::string text;
    std::string caption;
    UINT type = 0;
    std::string key;
    int occurrence = 1; // how many times a box with this key has been shown, this one included

    int DefaultResult() const; // the result of its default button
};

// The answer to a message box: one of IDOK, IDCANCEL, IDYES, IDNO that the box offers; or an
// error (the answer does not fit), which stops the run.
struct MessageBoxAnswer {
    int result = IDOK;
    std::string error;
};

// What a user can do to an open dialog. Every action returns false when a user could not do it
// (no such control, a disabled or hidden one, an item the list does not have).
class DialogDriver {
public:
    virtual ~DialogDriver() = default;
    virtual const std::string& Name() const = 0; // the template name (CHOICE, WIN_RESTART, ...)
    virtual int Occurrence() const = 0;          // the how-manieth time this template opens
    virtual DialogSnapshot Snapshot() const = 0;
    // Types `text` into an edit control in place of its whole text (the style's upper-casing and
    // the text limit apply as they do to typing).
    virtual bool TypeText(int id, std::string_view text) = 0;
    // Makes exactly these items of a list box selected (one at most for a single-selection list),
    // as clicks would, with the list's notifications.
    virtual bool SelectItems(int id, const std::vector<int>& indexes) = 0;
    // Checks (a click where it is not checked) or clears a radio button or check box.
    virtual bool SetCheck(int id, bool checked) = 0;
    // A click on a button.
    virtual bool Click(int id) = 0;
    // A key pressed in the dialog: VK_RETURN (the default button), VK_ESCAPE (command 2), or any
    // other key, which only the message-filter hook sees (F3).
    virtual void PressKey(UINT virtualKey) = 0;
    // The id of the default push button, or none.
    virtual std::optional<int> DefaultButton() const = 0;
};

class Frontend {
public:
    virtual ~Frontend() = default;
    virtual MessageBoxAnswer AnswerMessageBox(const MessageBoxRequest& request) = 0;
    // Acts on an open modal dialog; `attempt` counts from 0 the times it has been asked about
    // this opening (the dialog is still open after the earlier attempts). An error stops the run.
    virtual std::optional<std::string> DriveDialog(DialogDriver& dialog, int attempt) = 0;
};

struct DialogRecord {
    std::string name;
    DialogSnapshot opened;
    DialogSnapshot closed;
    std::optional<int> pressed;    // the last button pressed, if any
    std::optional<INT_PTR> result; // none for modeless dialogs
};

class Observer {
public:
    virtual ~Observer() = default;
    virtual void MessageBoxShown(const MessageBoxRequest& request, int result) = 0;
    // A dialog has ended (modal) or been destroyed (modeless).
    virtual void DialogClosed(const DialogRecord& record) = 0;
    // A timer fired: its id, its delay in ms and the time on the system's clock (ms since start).
    virtual void TimerFired(UINT_PTR id, UINT delayMs, std::uint64_t timeMs) = 0;
};

} // namespace tl::ui
