// Dialogs and message boxes of the host window system: making a dialog and its controls from a
// template, running it modally with the frontend standing in for the user, modeless dialogs, and
// message boxes.
#include "platform/host/ui/host_window.h"
#include "platform/host/ui/host_window_system.h"
#include "platform/host/ui/memory_dialog.h"
#include "resources/dialog_template_fields.h"

#include <set>
#include <utility>

namespace tl::host {
namespace {

// Dialog base units of 8-point "MS Sans Serif": 6 x 13 pixels; a dialog unit is a quarter of
// the width and an eighth of the height.
constexpr int kBaseX = 6;
constexpr int kBaseY = 13;
int UnitsToX(int units) {
    return units * kBaseX / 4;
}
int UnitsToY(int units) {
    return units * kBaseY / 8;
}

const char* ClassName(const DialogItemTemplate& item) {
    switch (item.controlClass) {
    case ControlClass::Button:
        return "BUTTON";
    case ControlClass::Edit:
        return "EDIT";
    case ControlClass::Static:
        return "STATIC";
    case ControlClass::ListBox:
        return "LISTBOX";
    case ControlClass::ScrollBar:
        return "SCROLLBAR";
    case ControlClass::ComboBox:
        return "COMBOBOX";
    case ControlClass::Named:
        return item.className.c_str();
    }
    return "";
}

// Guards a modal loop against procedures that post to themselves on every message.
constexpr int kMaxDeliveriesPerTurn = 100000;

} // namespace

int HostWindowSystem::DialogOccurrence(const std::string& name) {
    return ++dialogOpenings_[name];
}

WindowHandle HostWindowSystem::CreateDialogFromTemplate(const DialogTemplate& dialogTemplate,
                                                        std::string_view name, WindowHandle owner,
                                                        DialogProc proc, LPARAM initParam,
                                                        bool modal) {
    Rect origin;
    if (HostWindow* ownerWindow = Find(owner))
        origin = ownerWindow->rect;
    bool captioned = (dialogTemplate.style & WS_CAPTION) == WS_CAPTION;
    int width = UnitsToX(dialogTemplate.cx) + (captioned ? 6 : 0);
    int height = UnitsToY(dialogTemplate.cy) + (captioned ? 24 : 0);
    WindowHandle handle =
        CreateWindow("#32770", dialogTemplate.caption, dialogTemplate.style & ~WS_VISIBLE,
                     origin.left + UnitsToX(dialogTemplate.x),
                     origin.top + UnitsToY(dialogTemplate.y), width, height, owner, 0, 0);
    HostWindow* window = Find(handle);
    if (!window)
        return {};
    std::string dialogName(name);
    window->dialog = std::make_unique<MemoryDialog>(*this, handle, std::move(proc), dialogName,
                                                    DialogOccurrence(dialogName), modal);
    WindowHandle firstTabStop;
    for (const auto& item : dialogTemplate.items) {
        WindowHandle control = CreateWindow(ClassName(item), item.text, item.style | WS_CHILD,
                                            UnitsToX(item.x), UnitsToY(item.y), UnitsToX(item.cx),
                                            UnitsToY(item.cy), handle, item.id, 0);
        if (!control) {
            DestroyWindow(handle);
            return {};
        }
        if (!firstTabStop && (item.style & WS_TABSTOP) && (item.style & WS_VISIBLE) &&
            !(item.style & WS_DISABLED))
            firstTabStop = control;
    }
    LRESULT setFocus = SendMessage(handle, WM_INITDIALOG, firstTabStop.value, initParam);
    window = Find(handle);
    if (!window)
        return {};
    if (setFocus && firstTabStop && Find(firstTabStop))
        SetFocus(firstTabStop);
    if (!window->dialog->Ended() && (modal || (dialogTemplate.style & WS_VISIBLE)))
        ShowWindow(handle, SW_SHOW);
    return handle;
}

void HostWindowSystem::RecordClosedDialog(MemoryDialog& dialog) {
    if (!observer_)
        return;
    ui::DialogRecord record;
    record.name = dialog.Name();
    record.opened = dialog.Opened();
    record.closed = dialog.Snapshot();
    record.pressed = dialog.Pressed();
    if (dialog.Modal() && dialog.Ended())
        record.result = dialog.Result();
    observer_->DialogClosed(record);
}

bool HostWindowSystem::DeliverOnePending(WindowHandle) {
    if (!posted_.empty()) {
        Message message = posted_.front();
        posted_.pop_front();
        DispatchMessage(message);
        return true;
    }
    for (auto& [value, window] : windows_) {
        if (!window->destroyed && window->invalid && window->visible) {
            DispatchMessage(Message{window->handle, WM_PAINT, 0, 0, static_cast<DWORD>(now_)});
            return true;
        }
    }
    return false;
}

void HostWindowSystem::DeliverWhileShown(WindowHandle dialog) {
    auto belongs = [&](WindowHandle window) {
        return window == dialog || GetParent(window) == dialog;
    };
    std::set<std::pair<std::uint32_t, UINT_PTR>> fired;
    HostWindow* shown = Find(dialog);
    std::string name = shown && shown->dialog ? shown->dialog->Name() : std::string{};
    for (int turn = 0; turn < kMaxDeliveriesPerTurn; ++turn) {
        HostWindow* window = Find(dialog);
        if (stopped_ || !window || !window->dialog || window->dialog->Ended())
            return;
        if (DeliverOnePending(dialog))
            continue;
        auto timer = NextTimer([&](const Timer& t) {
            return belongs(t.window) && !fired.count({t.window.value, t.id});
        });
        if (!timer)
            return;
        fired.insert({timers_[*timer].window.value, timers_[*timer].id});
        Message message;
        FireTimer(*timer, message);
        DispatchMessage(message);
    }
    Stop("dialog " + name + " never stops sending itself messages");
}

void HostWindowSystem::DeliverWhileWaiting() {
    for (int turn = 0; turn < kMaxDeliveriesPerTurn; ++turn) {
        if (stopped_ || !DeliverOnePending({}))
            return;
    }
    Stop("a message box never stops receiving posted messages");
}

INT_PTR HostWindowSystem::RunModal(const DialogTemplate& dialogTemplate, std::string_view name,
                                   WindowHandle owner, DialogProc proc, LPARAM initParam) {
    if (stopped_)
        return -1;
    WindowHandle handle =
        CreateDialogFromTemplate(dialogTemplate, name, owner, std::move(proc), initParam, true);
    HostWindow* window = Find(handle);
    if (!window)
        return -1;
    std::shared_ptr<HostWindow> keep = windows_.at(handle.value); // even once destroyed
    MemoryDialog& dialog = *window->dialog;
    bool ownerWasDisabled = owner && EnableWindow(owner, FALSE);
    dialog.Opened() = dialog.Snapshot();
    DeliverWhileShown(handle);
    // A procedure that destroys its own modal dialog ends it with 0.
    for (int attempt = 0; !dialog.Ended() && !stopped_ && Find(handle); ++attempt) {
        if (auto error = frontend_.DriveDialog(dialog, attempt)) {
            RecordClosedDialog(dialog);
            Stop(*error);
            break;
        }
        DeliverWhileShown(handle);
    }
    bool alive = Find(handle) != nullptr;
    if (alive && !dialog.Ended())
        dialog.EndDialog(-1);
    else if (alive)
        RecordClosedDialog(dialog);
    INT_PTR result = stopped_ ? -1 : dialog.Result();
    if (owner && !ownerWasDisabled)
        EnableWindow(owner, TRUE);
    if (alive)
        DestroyWindow(handle);
    return result;
}

INT_PTR HostWindowSystem::DialogBox(std::string_view templateName, WindowHandle owner,
                                    DialogProc proc, LPARAM initParam) {
    const DialogTemplate* dialogTemplate = FindDialogTemplate(templateName);
    if (!dialogTemplate)
        return -1;
    return RunModal(*dialogTemplate, dialogTemplate->name, owner, std::move(proc), initParam);
}

INT_PTR HostWindowSystem::DialogBoxIndirect(std::span<const BYTE> templateBytes,
                                            std::string_view name, WindowHandle owner,
                                            DialogProc proc, LPARAM initParam) {
    auto dialogTemplate = ui::DialogTemplateFromBytes(templateBytes, codePage_);
    if (!dialogTemplate)
        return -1;
    return RunModal(*dialogTemplate, name, owner, std::move(proc), initParam);
}

WindowHandle HostWindowSystem::CreateDialog(std::string_view templateName, WindowHandle owner,
                                            DialogProc proc, LPARAM initParam) {
    const DialogTemplate* dialogTemplate = FindDialogTemplate(templateName);
    if (!dialogTemplate || stopped_)
        return {};
    WindowHandle handle = CreateDialogFromTemplate(*dialogTemplate, dialogTemplate->name, owner,
                                                   std::move(proc), initParam, false);
    if (HostWindow* window = Find(handle))
        window->dialog->Opened() = window->dialog->Snapshot();
    return handle;
}

DialogWindow* HostWindowSystem::FindDialog(WindowHandle dialog) {
    HostWindow* window = Find(dialog);
    return window ? window->dialog.get() : nullptr;
}

int HostWindowSystem::MessageBox(WindowHandle owner, std::string_view text,
                                 std::string_view caption, UINT type, std::string_view key) {
    ui::MessageBoxRequest request;
    request.owner = owner;
    request.text = std::string(text);
    request.caption = std::string(caption);
    request.type = type;
    request.key = std::string(key);
    if (stopped_)
        return request.DefaultResult();
    request.occurrence = ++messageShowings_[request.key];
    // The box runs a modal loop while it waits for its answer, which dispatches what was
    // posted before it, as the system's own does.
    DeliverWhileWaiting();
    if (stopped_)
        return request.DefaultResult();
    ui::MessageBoxAnswer answer = frontend_.AnswerMessageBox(request);
    if (!answer.error.empty()) {
        Stop(answer.error);
        return request.DefaultResult();
    }
    if (observer_)
        observer_->MessageBoxShown(request, answer.result);
    return answer.result;
}

} // namespace tl::host
