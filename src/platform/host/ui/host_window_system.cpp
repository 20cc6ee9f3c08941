// Windows, the message queue, timers, capture, cursors and painting of the host window system.
#include "platform/host/ui/host_window_system.h"

#include "platform/broadcast_event.h"
#include "platform/host/ui/host_window.h"
#include "platform/host/ui/memory_dialog.h"
#include "text/ansi_text.h"

#include <algorithm>
#include <cctype>

namespace tl::host {
namespace {} // namespace

HostWindowSystem::HostWindowSystem(ui::Frontend& frontend, const CodePage& codePage,
                                   ScreenSettings screen)
    : frontend_(frontend), codePage_(codePage), screen_(screen) {
    RegisterBuiltInClasses();
}

HostWindowSystem::~HostWindowSystem() = default;

void HostWindowSystem::SetStopHandler(std::function<void(const std::string&)> handler) {
    stopHandler_ = std::move(handler);
}

void HostWindowSystem::SetCanvasSource(std::function<Canvas*(WindowHandle)> source) {
    canvasSource_ = std::move(source);
}

void HostWindowSystem::Stop(const std::string& reason) {
    if (stopped_)
        return;
    stopped_ = true;
    stopReason_ = reason;
    if (stopHandler_)
        stopHandler_(reason);
}

void HostWindowSystem::RegisterBuiltInClasses() {
    auto builtIn = [this](const char* name,
                          LRESULT (*proc)(HostWindowSystem&, HostWindow&, UINT, WPARAM, LPARAM)) {
        WindowClass windowClass;
        windowClass.name = name;
        windowClass.proc = [this, proc](WindowHandle handle, UINT message, WPARAM wParam,
                                        LPARAM lParam) -> LRESULT {
            HostWindow* window = Find(handle);
            if (!window)
                return 0;
            return proc(*this, *window, message, wParam, lParam);
        };
        classes_[text::UpperAnsi(name)] = std::move(windowClass);
    };
    builtIn("BUTTON", ButtonProc);
    builtIn("EDIT", EditProc);
    builtIn("STATIC", StaticProc);
    builtIn("LISTBOX", ListBoxProc);
    WindowClass dialogClass;
    dialogClass.name = "#32770";
    dialogClass.proc = [this](WindowHandle handle, UINT message, WPARAM wParam,
                              LPARAM lParam) -> LRESULT {
        HostWindow* window = Find(handle);
        if (!window || !window->dialog)
            return DefWindowProc(handle, message, wParam, lParam);
        INT_PTR handled = window->dialog->CallProc(message, wParam, lParam);
        if (message == WM_INITDIALOG)
            return handled;
        if (handled)
            return handled;
        return DefDialogProc(handle, message, wParam, lParam);
    };
    classes_["#32770"] = std::move(dialogClass);
}

HostWindow* HostWindowSystem::Find(WindowHandle window) const {
    auto it = windows_.find(window.value);
    if (it == windows_.end() || it->second->destroyed)
        return nullptr;
    return it->second.get();
}

bool HostWindowSystem::IsInvalid(WindowHandle window) const {
    HostWindow* w = Find(window);
    return w && w->invalid;
}

BOOL HostWindowSystem::RegisterClass(const WindowClass& windowClass) {
    std::string key = text::UpperAnsi(windowClass.name);
    if (windowClass.name.empty() || !windowClass.proc || classes_.count(key))
        return FALSE;
    classes_[key] = windowClass;
    return TRUE;
}

WindowHandle HostWindowSystem::FindWindow(std::string_view className, std::string_view title) {
    std::string key = text::UpperAnsi(className);
    for (WindowHandle handle : zOrder_) {
        HostWindow* window = Find(handle);
        if (window && window->className == key && (title.empty() || window->text == title))
            return handle;
    }
    return {};
}

WindowHandle HostWindowSystem::CreateWindow(std::string_view className, std::string_view title,
                                            DWORD style, int x, int y, int width, int height,
                                            WindowHandle parent, int id, LPARAM createParam) {
    auto found = classes_.find(text::UpperAnsi(className));
    if (found == classes_.end())
        return {};
    bool child = (style & WS_CHILD) != 0;
    if (child && !Find(parent))
        return {};
    auto window = std::make_shared<HostWindow>();
    window->handle = WindowHandle{nextHandle_++};
    window->className = text::UpperAnsi(className);
    window->proc = found->second.proc;
    window->text = std::string(title);
    window->style = style;
    window->rect = Rect{x, y, x + width, y + height};
    window->parent = parent;
    window->child = child;
    window->id = child ? id : 0;
    window->enabled = (style & WS_DISABLED) == 0;
    window->extra.assign(static_cast<std::size_t>(std::max(0, found->second.windowExtra) + 3) / 4,
                         0);
    if (window->className == "BUTTON")
        window->kind = ControlKind::Button;
    else if (window->className == "EDIT")
        window->kind = ControlKind::Edit;
    else if (window->className == "STATIC")
        window->kind = ControlKind::Static;
    else if (window->className == "LISTBOX")
        window->kind = ControlKind::ListBox;
    else if (window->className == "#32770")
        window->kind = ControlKind::Dialog;
    WindowHandle handle = window->handle;
    windows_[handle.value] = window;
    if (child)
        Find(parent)->children.push_back(handle);
    else
        zOrder_.push_back(handle);
    if (SendMessage(handle, WM_CREATE, 0, createParam) == -1) {
        DestroyWindow(handle);
        return {};
    }
    if (!Find(handle))
        return {};
    if (style & WS_VISIBLE) {
        window->visible = true;
        InvalidateRect(handle, nullptr, TRUE);
    }
    return handle;
}

void HostWindowSystem::DestroyTree(WindowHandle handle) {
    HostWindow* window = Find(handle);
    if (!window)
        return;
    // Owned pop-ups go first, as they do on Windows.
    std::vector<WindowHandle> owned;
    for (const auto& [value, other] : windows_) {
        if (!other->destroyed && !other->child && other->parent == handle)
            owned.push_back(other->handle);
    }
    for (WindowHandle popup : owned)
        DestroyTree(popup);
    window = Find(handle);
    if (!window)
        return;
    if (window->dialog && !window->dialog->Modal())
        RecordClosedDialog(*window->dialog);
    SendMessage(handle, WM_DESTROY, 0, 0);
    window = Find(handle);
    if (!window)
        return;
    std::vector<WindowHandle> children = window->children;
    for (WindowHandle child : children)
        DestroyTree(child);
    window = Find(handle);
    if (!window)
        return;
    window->destroyed = true;
    // A procedure still running on the window keeps it alive; the graveyard keeps it until the
    // next GetMessage, so that no caller up the stack holds a dangling pointer.
    auto entry = windows_.find(handle.value);
    graveyard_.push_back(std::move(entry->second));
    windows_.erase(entry);
    std::erase_if(timers_, [&](const Timer& t) { return t.window == handle; });
    std::erase(zOrder_, handle);
    if (focus_ == handle)
        focus_ = {};
    if (capture_ == handle)
        capture_ = {};
}

BOOL HostWindowSystem::DestroyWindow(WindowHandle window) {
    HostWindow* target = Find(window);
    if (!target)
        return FALSE;
    WindowHandle parent = target->child ? target->parent : WindowHandle{};
    DestroyTree(window);
    if (HostWindow* p = Find(parent))
        std::erase(p->children, window);
    return TRUE;
}

BOOL HostWindowSystem::IsWindow(WindowHandle window) const {
    return Find(window) != nullptr;
}

BOOL HostWindowSystem::ShowWindow(WindowHandle handle, int command) {
    HostWindow* window = Find(handle);
    if (!window)
        return FALSE;
    bool wasVisible = window->visible;
    window->visible = command != SW_HIDE;
    if (window->visible)
        window->style |= WS_VISIBLE;
    else
        window->style &= ~WS_VISIBLE;
    if (window->visible && !wasVisible)
        InvalidateRect(handle, nullptr, TRUE);
    return wasVisible ? TRUE : FALSE;
}

BOOL HostWindowSystem::IsWindowVisible(WindowHandle handle) const {
    HostWindow* window = Find(handle);
    return window && window->visible ? TRUE : FALSE;
}

BOOL HostWindowSystem::EnableWindow(WindowHandle handle, BOOL enable) {
    HostWindow* window = Find(handle);
    if (!window)
        return FALSE;
    bool wasDisabled = !window->enabled;
    window->enabled = enable != FALSE;
    if (window->enabled)
        window->style &= ~WS_DISABLED;
    else
        window->style |= WS_DISABLED;
    if (wasDisabled == window->enabled)
        SendMessage(handle, WM_ENABLE, enable ? 1 : 0, 0);
    return wasDisabled ? TRUE : FALSE;
}

BOOL HostWindowSystem::IsWindowEnabled(WindowHandle handle) const {
    HostWindow* window = Find(handle);
    return window && window->enabled ? TRUE : FALSE;
}

WindowHandle HostWindowSystem::GetParent(WindowHandle handle) const {
    HostWindow* window = Find(handle);
    return window ? window->parent : WindowHandle{};
}

BOOL HostWindowSystem::SetWindowText(WindowHandle handle, std::string_view text) {
    std::string copy(text);
    return static_cast<BOOL>(
        SendMessage(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str())));
}

std::string HostWindowSystem::GetWindowText(WindowHandle handle) const {
    HostWindow* window = Find(handle);
    return window ? window->text : std::string{};
}

LONG HostWindowSystem::GetWindowLong(WindowHandle handle, int index) const {
    HostWindow* window = Find(handle);
    if (!window)
        return 0;
    if (index == GWL_STYLE)
        return static_cast<LONG>(window->style);
    if (index == GWL_ID)
        return window->id;
    if (index < 0 || index % 4 != 0 || static_cast<std::size_t>(index / 4) >= window->extra.size())
        return 0;
    return window->extra[static_cast<std::size_t>(index / 4)];
}

LONG HostWindowSystem::SetWindowLong(WindowHandle handle, int index, LONG value) {
    HostWindow* window = Find(handle);
    if (!window)
        return 0;
    LONG previous = GetWindowLong(handle, index);
    if (index == GWL_STYLE)
        window->style = static_cast<DWORD>(value);
    else if (index == GWL_ID)
        window->id = value;
    else if (index >= 0 && index % 4 == 0 &&
             static_cast<std::size_t>(index / 4) < window->extra.size())
        window->extra[static_cast<std::size_t>(index / 4)] = value;
    else
        return 0;
    return previous;
}

BOOL HostWindowSystem::GetClientRect(WindowHandle handle, Rect& rect) const {
    HostWindow* window = Find(handle);
    if (!window)
        return FALSE;
    LONG width = window->rect.Width();
    LONG height = window->rect.Height();
    // A captioned frame takes a 3-pixel border on every side and an 18-pixel caption.
    if ((window->style & WS_CAPTION) == WS_CAPTION) {
        width -= 6;
        height -= 24;
    }
    rect = Rect{0, 0, std::max<LONG>(0, width), std::max<LONG>(0, height)};
    return TRUE;
}

BOOL HostWindowSystem::GetWindowRect(WindowHandle handle, Rect& rect) const {
    HostWindow* window = Find(handle);
    if (!window)
        return FALSE;
    rect = window->rect;
    // Children are kept in parent-client coordinates; report them on the screen.
    for (HostWindow* parent = window->child ? Find(window->parent) : nullptr; parent;
         parent = parent->child ? Find(parent->parent) : nullptr) {
        LONG dx = parent->rect.left + ((parent->style & WS_CAPTION) == WS_CAPTION ? 3 : 0);
        LONG dy = parent->rect.top + ((parent->style & WS_CAPTION) == WS_CAPTION ? 21 : 0);
        rect = Rect{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    }
    return TRUE;
}

BOOL HostWindowSystem::SetWindowPos(WindowHandle handle, WindowHandle, int x, int y, int width,
                                    int height, UINT flags) {
    HostWindow* window = Find(handle);
    if (!window)
        return FALSE;
    Rect r = window->rect;
    if (!(flags & SWP_NOMOVE))
        r = Rect{x, y, x + r.Width(), y + r.Height()};
    if (!(flags & SWP_NOSIZE))
        r.right = r.left + width, r.bottom = r.top + height;
    window->rect = r;
    if (!(flags & SWP_NOZORDER) && !window->child) {
        std::erase(zOrder_, handle);
        zOrder_.push_back(handle);
    }
    return TRUE;
}

BOOL HostWindowSystem::MoveWindow(WindowHandle handle, int x, int y, int width, int height,
                                  BOOL repaint) {
    if (!SetWindowPos(handle, {}, x, y, width, height, SWP_NOZORDER))
        return FALSE;
    if (repaint)
        InvalidateRect(handle, nullptr, TRUE);
    return TRUE;
}

BOOL HostWindowSystem::BringWindowToTop(WindowHandle handle) {
    return SetWindowPos(handle, {}, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL HostWindowSystem::SetForegroundWindow(WindowHandle handle) {
    return BringWindowToTop(handle);
}

WindowHandle HostWindowSystem::SetFocus(WindowHandle handle) {
    WindowHandle previous = focus_;
    if (handle && !Find(handle))
        return {};
    focus_ = handle;
    return previous;
}

int HostWindowSystem::GetSystemMetrics(int index) const {
    if (index == SM_CXSCREEN)
        return screen_.width;
    if (index == SM_CYSCREEN)
        return screen_.height;
    return 0;
}

int HostWindowSystem::GetDeviceCaps(WindowHandle, int index) const {
    if (index == HORZRES)
        return screen_.width;
    if (index == VERTRES)
        return screen_.height;
    return 0;
}

void HostWindowSystem::RecordBroadcast(UINT message, LPARAM lParam) {
    if (events_)
        events_->Record(ui::BroadcastEvent(message, lParam, codePage_));
}

BOOL HostWindowSystem::PostMessage(WindowHandle window, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
    if (window == kBroadcastWindow) {
        RecordBroadcast(message, lParam);
        for (WindowHandle top : zOrder_)
            posted_.push_back(Message{top, message, wParam, lParam, static_cast<DWORD>(now_)});
        return TRUE;
    }
    if (window && !Find(window))
        return FALSE;
    posted_.push_back(Message{window, message, wParam, lParam, static_cast<DWORD>(now_)});
    return TRUE;
}

LRESULT HostWindowSystem::SendMessage(WindowHandle handle, UINT message, WPARAM wParam,
                                      LPARAM lParam) {
    if (handle == kBroadcastWindow) {
        RecordBroadcast(message, lParam);
        std::vector<WindowHandle> tops = zOrder_;
        for (WindowHandle top : tops)
            SendMessage(top, message, wParam, lParam);
        return 0;
    }
    auto it = windows_.find(handle.value);
    if (it == windows_.end() || it->second->destroyed)
        return 0;
    std::shared_ptr<HostWindow> keep = it->second; // the procedure may destroy the window
    WindowProc proc = keep->proc;
    return proc(handle, message, wParam, lParam);
}

void HostWindowSystem::PostQuitMessage(int exitCode) {
    quitPosted_ = true;
    quitCode_ = exitCode;
}

std::optional<std::size_t>
HostWindowSystem::NextTimer(const std::function<bool(const Timer&)>& accept) const {
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < timers_.size(); ++i) {
        const Timer& t = timers_[i];
        if (!accept(t))
            continue;
        if (!best || t.due < timers_[*best].due ||
            (t.due == timers_[*best].due && t.serial < timers_[*best].serial))
            best = i;
    }
    return best;
}

void HostWindowSystem::FireTimer(std::size_t index, Message& message) {
    Timer& timer = timers_[index];
    now_ = std::max(now_, timer.due);
    timer.due = now_ + std::max<UINT>(timer.elapse, 1);
    message = Message{timer.window, WM_TIMER, timer.id, 0, static_cast<DWORD>(now_)};
    if (observer_)
        observer_->TimerFired(timer.id, timer.elapse, now_);
}

BOOL HostWindowSystem::GetMessage(Message& message, WindowHandle filter, UINT first, UINT last) {
    auto wanted = [&](const Message& m) {
        if (filter && m.window != filter)
            return false;
        if (first == 0 && last == 0)
            return true;
        return m.message >= first && m.message <= last;
    };
    graveyard_.clear();
    for (;;) {
        if (stopped_) {
            message =
                Message{{}, WM_QUIT, static_cast<WPARAM>(quitCode_), 0, static_cast<DWORD>(now_)};
            return FALSE;
        }
        auto posted = std::find_if(posted_.begin(), posted_.end(), wanted);
        if (posted != posted_.end()) {
            message = *posted;
            posted_.erase(posted);
            return TRUE;
        }
        if (quitPosted_) {
            quitPosted_ = false;
            message =
                Message{{}, WM_QUIT, static_cast<WPARAM>(quitCode_), 0, static_cast<DWORD>(now_)};
            return FALSE;
        }
        for (auto& [value, window] : windows_) {
            if (!window->destroyed && window->invalid && window->visible &&
                wanted(Message{window->handle, WM_PAINT, 0, 0, 0})) {
                message = Message{window->handle, WM_PAINT, 0, 0, static_cast<DWORD>(now_)};
                return TRUE;
            }
        }
        auto timer = NextTimer([&](const Timer& t) {
            return wanted(Message{t.window, WM_TIMER, t.id, 0, 0});
        });
        if (timer) {
            FireTimer(*timer, message);
            return TRUE;
        }
        Stop("the program waits for input that cannot come: no window has anything pending");
    }
}

BOOL HostWindowSystem::TranslateMessage(const Message&) {
    return FALSE;
}

LRESULT HostWindowSystem::DispatchMessage(const Message& message) {
    if (!message.window)
        return 0;
    LRESULT result = SendMessage(message.window, message.message, message.wParam, message.lParam);
    // A window that does not validate itself on WM_PAINT would be asked again for ever.
    if (message.message == WM_PAINT) {
        if (HostWindow* window = Find(message.window))
            window->invalid = false;
    }
    return result;
}

LRESULT HostWindowSystem::DefWindowProc(WindowHandle handle, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
    HostWindow* window = Find(handle);
    if (!window)
        return 0;
    switch (message) {
    case WM_SETTEXT:
        window->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        return TRUE;
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(window->text.size());
    case WM_PAINT:
        window->invalid = false;
        return 0;
    case WM_CLOSE:
        DestroyWindow(handle);
        return 0;
    default:
        (void)wParam;
        return 0;
    }
}

LRESULT HostWindowSystem::DefDialogProc(WindowHandle handle, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
    if (message == WM_CLOSE) {
        // The close box sends command 2, as Escape does.
        HostWindow* window = Find(handle);
        WindowHandle cancel =
            window && window->dialog ? window->dialog->Item(IDCANCEL) : WindowHandle{};
        SendMessage(handle, WM_COMMAND, MakeWParam(IDCANCEL, BN_CLICKED),
                    static_cast<LPARAM>(cancel.value));
        return 0;
    }
    return DefWindowProc(handle, message, wParam, lParam);
}

UINT_PTR HostWindowSystem::SetTimer(WindowHandle window, UINT_PTR id, UINT elapseMs) {
    if (!Find(window))
        return 0;
    std::erase_if(timers_, [&](const Timer& t) { return t.window == window && t.id == id; });
    timers_.push_back(Timer{window, id, elapseMs, now_ + elapseMs, timerSerial_++});
    return id == 0 ? 1 : id;
}

BOOL HostWindowSystem::KillTimer(WindowHandle window, UINT_PTR id) {
    auto removed =
        std::erase_if(timers_, [&](const Timer& t) { return t.window == window && t.id == id; });
    return removed ? TRUE : FALSE;
}

WindowHandle HostWindowSystem::SetCapture(WindowHandle window) {
    WindowHandle previous = capture_;
    capture_ = Find(window) ? window : WindowHandle{};
    return previous;
}

BOOL HostWindowSystem::ReleaseCapture() {
    capture_ = {};
    return TRUE;
}

Cursor HostWindowSystem::LoadCursor(std::uint32_t standardCursor) {
    if (standardCursor != IDC_ARROW && standardCursor != IDC_WAIT && standardCursor != 32513 &&
        standardCursor != 32515 && standardCursor != 32650)
        return {};
    return Cursor{standardCursor};
}

Cursor HostWindowSystem::SetCursor(Cursor cursor) {
    Cursor previous = cursor_;
    cursor_ = cursor;
    return previous;
}

BOOL HostWindowSystem::InvalidateRect(WindowHandle handle, const Rect* rect, BOOL erase) {
    HostWindow* window = Find(handle);
    if (!window)
        return FALSE;
    Rect client;
    GetClientRect(handle, client);
    Rect area = rect ? *rect : client;
    if (window->invalid) {
        auto& r = window->invalidRect;
        r = Rect{std::min(r.left, area.left), std::min(r.top, area.top),
                 std::max(r.right, area.right), std::max(r.bottom, area.bottom)};
    } else {
        window->invalidRect = area;
    }
    window->invalid = true;
    window->erase = window->erase || erase != FALSE;
    return TRUE;
}

BOOL HostWindowSystem::UpdateWindow(WindowHandle handle) {
    HostWindow* window = Find(handle);
    if (!window)
        return FALSE;
    if (window->invalid && window->visible) {
        SendMessage(handle, WM_PAINT, 0, 0);
        if (HostWindow* still = Find(handle))
            still->invalid = false;
    }
    return TRUE;
}

PaintContext HostWindowSystem::BeginPaint(WindowHandle handle) {
    PaintContext paint;
    HostWindow* window = Find(handle);
    if (!window)
        return paint;
    paint.paint = window->invalid ? window->invalidRect : Rect{};
    paint.erase = window->erase;
    window->invalid = false;
    window->erase = false;
    paint.canvas = canvasSource_ ? canvasSource_(handle) : nullptr;
    return paint;
}

void HostWindowSystem::EndPaint(WindowHandle, const PaintContext&) {}

Canvas* HostWindowSystem::GetDC(WindowHandle handle) {
    if (!Find(handle) || !canvasSource_)
        return nullptr;
    return canvasSource_(handle);
}

void HostWindowSystem::ReleaseDC(WindowHandle, Canvas*) {}

HookHandle HostWindowSystem::SetWindowsHookEx(int hookType, HookProc proc) {
    if (hookType != WH_MSGFILTER || !proc)
        return {};
    HookHandle handle{nextHook_++};
    hooks_.push_back(Hook{handle, std::move(proc)});
    return handle;
}

BOOL HostWindowSystem::UnhookWindowsHookEx(HookHandle hook) {
    auto removed = std::erase_if(hooks_, [&](const Hook& h) { return h.handle == hook; });
    return removed ? TRUE : FALSE;
}

LRESULT HostWindowSystem::CallNextHookEx(HookHandle hook, int code, WPARAM wParam,
                                         const Message& message) {
    // The chain runs from the newest hook to the oldest.
    auto it =
        std::find_if(hooks_.begin(), hooks_.end(), [&](const Hook& h) { return h.handle == hook; });
    if (it == hooks_.end() || it == hooks_.begin())
        return 0;
    HookProc next = std::prev(it)->proc;
    return next(code, wParam, message);
}

bool HostWindowSystem::RunMessageFilter(const Message& message) {
    if (hooks_.empty())
        return false;
    HookProc newest = hooks_.back().proc;
    return newest(MSGF_DIALOGBOX, 0, message) != 0;
}

} // namespace tl::host
