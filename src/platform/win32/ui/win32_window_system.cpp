// Windows, the message queue, timers, capture, cursors, painting and the message-filter hook of
// the Win32 window system.
#include "platform/win32/ui/win32_window_system.h"

#include "platform/broadcast_event.h"
#include "platform/win32/ui/wide_text.h"
#include "platform/win32/ui/win32_dialog.h"

#include <algorithm>

namespace tl::win32ui {
namespace {

// The system calls window, dialog, hook and timer procedures without a pointer of ours; the
// thread's window system is found through this link, set for the object's lifetime.
thread_local Win32WindowSystem* tWindowSystem = nullptr;

::LRESULT CALLBACK WindowThunk(HWND window, UINT message, ::WPARAM wParam, ::LPARAM lParam) {
    if (!tWindowSystem)
        return DefWindowProcW(window, message, wParam, lParam);
    return tWindowSystem->WindowMessage(window, message, wParam, lParam);
}

::LRESULT CALLBACK FilterThunk(int code, ::WPARAM wParam, ::LPARAM lParam) {
    if (!tWindowSystem)
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    return tWindowSystem->FilterMessage(code, wParam, lParam);
}

Message FromMsg(const MSG& msg) {
    return Message{ToHandle(msg.hwnd), msg.message, msg.wParam, static_cast<LPARAM>(msg.lParam),
                   static_cast<DWORD>(msg.time)};
}

MSG ToMsg(const Message& message) {
    MSG msg{};
    msg.hwnd = ToHwnd(message.window);
    msg.message = message.message;
    msg.wParam = message.wParam;
    msg.lParam = static_cast<::LPARAM>(message.lParam);
    msg.time = message.time;
    return msg;
}

} // namespace

Win32WindowSystem* CurrentWindowSystem() {
    return tWindowSystem;
}

Win32WindowSystem::Win32WindowSystem(HINSTANCE instance, const CodePage& codePage, TextCalls calls)
    : instance_(instance), codePage_(codePage), user_(calls),
      startTick_(static_cast<DWORD>(GetTickCount())) {
    tWindowSystem = this;
}

Win32WindowSystem::~Win32WindowSystem() {
    StopBoxWatch();
    for (Hook& hook : hooks_)
        ::UnhookWindowsHookEx(hook.system);
    // The classes' procedures lived in this object: a later window system registers its own.
    for (const auto& [atom, proc] : classProcs_)
        UnregisterClassA(MAKEINTATOM(atom), instance_);
    if (tWindowSystem == this)
        tWindowSystem = nullptr;
}

void Win32WindowSystem::SetStopHandler(std::function<void(const std::string&)> handler) {
    stopHandler_ = std::move(handler);
}

void Win32WindowSystem::Stop(const std::string& reason) {
    if (stopped_)
        return;
    stopped_ = true;
    if (stopHandler_)
        stopHandler_(reason);
}

::LRESULT Win32WindowSystem::WindowMessage(HWND window, UINT message, ::WPARAM wParam,
                                           ::LPARAM lParam) {
    auto found = classProcs_.find(static_cast<ATOM>(GetClassWord(window, GCW_ATOM)));
    if (found == classProcs_.end())
        return user_.DefProc(window, message, wParam, lParam);
    LPARAM param = static_cast<LPARAM>(lParam);
    // The installer's procedures take WM_CREATE's creation parameter itself.
    if (message == WM_CREATE && lParam)
        param = reinterpret_cast<LPARAM>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (message == WM_TIMER)
        NoteTimer(window, wParam);
    WindowProc proc = found->second; // the procedure may outlive its window
    return static_cast<::LRESULT>(proc(ToHandle(window), message, wParam, param));
}

void Win32WindowSystem::NoteTimer(HWND window, UINT_PTR id) {
    auto found = timers_.find({window, id});
    if (found == timers_.end() || !observer_)
        return;
    observer_->TimerFired(
        id, found->second,
        static_cast<std::uint64_t>(static_cast<DWORD>(GetTickCount()) - startTick_));
}

BOOL Win32WindowSystem::RegisterClass(const WindowClass& windowClass) {
    if (windowClass.name.empty() || !windowClass.proc)
        return FALSE;
    HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512)); // IDI_APPLICATION
    HCURSOR cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(windowClass.cursor));
    auto background = reinterpret_cast<HBRUSH>(static_cast<std::intptr_t>(windowClass.background));
    ATOM atom = 0;
    if (user_.Wide()) {
        std::wstring name = AnsiToWide(windowClass.name);
        WNDCLASSW wc{};
        wc.style = windowClass.style;
        wc.lpfnWndProc = WindowThunk;
        wc.cbWndExtra = windowClass.windowExtra;
        wc.hInstance = instance_;
        wc.hIcon = icon;
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.lpszClassName = name.c_str();
        atom = RegisterClassW(&wc);
    } else {
        WNDCLASSA wc{};
        wc.style = windowClass.style;
        wc.lpfnWndProc = WindowThunk;
        wc.cbWndExtra = windowClass.windowExtra;
        wc.hInstance = instance_;
        wc.hIcon = icon;
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.lpszClassName = windowClass.name.c_str();
        atom = RegisterClassA(&wc);
    }
    if (!atom)
        return FALSE;
    classProcs_[atom] = windowClass.proc;
    return TRUE;
}

WindowHandle Win32WindowSystem::FindWindow(std::string_view className, std::string_view title) {
    if (!user_.Wide()) {
        std::string name(className);
        std::string text(title);
        return ToHandle(FindWindowA(name.c_str(), title.empty() ? nullptr : text.c_str()));
    }
    std::wstring name = AnsiToWide(className);
    std::wstring text = AnsiToWide(title);
    return ToHandle(FindWindowW(name.c_str(), title.empty() ? nullptr : text.c_str()));
}

WindowHandle Win32WindowSystem::CreateWindow(std::string_view className, std::string_view title,
                                             DWORD style, int x, int y, int width, int height,
                                             WindowHandle parent, int id, LPARAM createParam) {
    HMENU menu =
        (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)) : nullptr;
    auto* param = reinterpret_cast<void*>(createParam);
    if (!user_.Wide()) {
        std::string name(className);
        std::string text(title);
        return ToHandle(CreateWindowExA(0, name.c_str(), text.c_str(), style, x, y, width, height,
                                        ToHwnd(parent), menu, instance_, param));
    }
    std::wstring name = AnsiToWide(className);
    std::wstring text = AnsiToWide(title);
    return ToHandle(CreateWindowExW(0, name.c_str(), text.c_str(), style, x, y, width, height,
                                    ToHwnd(parent), menu, instance_, param));
}

BOOL Win32WindowSystem::DestroyWindow(WindowHandle window) {
    // A modeless dialog (the progress display) is pictured as it last looked.
    if (Win32Dialog* dialog = FindWin32Dialog(ToHwnd(window)); dialog && !dialog->Modal())
        TakePicture(dialog->Name(), false);
    return ::DestroyWindow(ToHwnd(window));
}

BOOL Win32WindowSystem::IsWindow(WindowHandle window) const {
    return window && ::IsWindow(ToHwnd(window)) ? TRUE : FALSE;
}

BOOL Win32WindowSystem::ShowWindow(WindowHandle window, int command) {
    return ::ShowWindow(ToHwnd(window), command);
}

BOOL Win32WindowSystem::IsWindowVisible(WindowHandle window) const {
    return ::IsWindowVisible(ToHwnd(window));
}

BOOL Win32WindowSystem::EnableWindow(WindowHandle window, BOOL enable) {
    return ::EnableWindow(ToHwnd(window), enable);
}

BOOL Win32WindowSystem::IsWindowEnabled(WindowHandle window) const {
    return ::IsWindowEnabled(ToHwnd(window));
}

WindowHandle Win32WindowSystem::GetParent(WindowHandle window) const {
    return ToHandle(::GetParent(ToHwnd(window)));
}

BOOL Win32WindowSystem::SetWindowText(WindowHandle window, std::string_view text) {
    return user_.SetText(ToHwnd(window), text);
}

std::string Win32WindowSystem::GetWindowText(WindowHandle window) const {
    return user_.Text(ToHwnd(window));
}

LONG Win32WindowSystem::GetWindowLong(WindowHandle window, int index) const {
    return user_.GetLong(ToHwnd(window), index);
}

LONG Win32WindowSystem::SetWindowLong(WindowHandle window, int index, LONG value) {
    return user_.SetLong(ToHwnd(window), index, value);
}

BOOL Win32WindowSystem::GetClientRect(WindowHandle window, Rect& rect) const {
    ::RECT area{};
    if (!::GetClientRect(ToHwnd(window), &area))
        return FALSE;
    rect = FromRECT(area);
    return TRUE;
}

BOOL Win32WindowSystem::GetWindowRect(WindowHandle window, Rect& rect) const {
    ::RECT area{};
    if (!::GetWindowRect(ToHwnd(window), &area))
        return FALSE;
    rect = FromRECT(area);
    return TRUE;
}

BOOL Win32WindowSystem::SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y,
                                     int width, int height, UINT flags) {
    return ::SetWindowPos(ToHwnd(window), ToHwnd(insertAfter), x, y, width, height, flags);
}

BOOL Win32WindowSystem::MoveWindow(WindowHandle window, int x, int y, int width, int height,
                                   BOOL repaint) {
    return ::MoveWindow(ToHwnd(window), x, y, width, height, repaint);
}

BOOL Win32WindowSystem::BringWindowToTop(WindowHandle window) {
    return ::BringWindowToTop(ToHwnd(window));
}

BOOL Win32WindowSystem::SetForegroundWindow(WindowHandle window) {
    return ::SetForegroundWindow(ToHwnd(window));
}

WindowHandle Win32WindowSystem::SetFocus(WindowHandle window) {
    return ToHandle(::SetFocus(ToHwnd(window)));
}

WindowHandle Win32WindowSystem::GetFocus() const {
    return ToHandle(::GetFocus());
}

int Win32WindowSystem::GetSystemMetrics(int index) const {
    return ::GetSystemMetrics(index);
}

int Win32WindowSystem::GetDeviceCaps(WindowHandle window, int index) const {
    HWND hwnd = ToHwnd(window);
    HDC dc = ::GetDC(hwnd);
    if (!dc)
        return 0;
    int value = ::GetDeviceCaps(dc, index);
    ::ReleaseDC(hwnd, dc);
    return value;
}

void Win32WindowSystem::RecordBroadcast(UINT message, LPARAM lParam) {
    if (events_)
        events_->Record(ui::BroadcastEvent(message, lParam, codePage_));
}

BOOL Win32WindowSystem::PostMessage(WindowHandle window, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
    if (window == kBroadcastWindow) {
        RecordBroadcast(message, lParam);
        // A posted text would be read after it is gone: broadcasts carrying one are sent.
        if (message == WM_DEVMODECHANGE || message == WM_WININICHANGE)
            return SendMessageTimeoutA(HWND_BROADCAST, message, wParam, lParam, SMTO_ABORTIFHUNG,
                                       2000, nullptr)
                       ? TRUE
                       : FALSE;
        return PostMessageA(HWND_BROADCAST, message, wParam, lParam);
    }
    return user_.Post(ToHwnd(window), message, wParam, static_cast<::LPARAM>(lParam));
}

LRESULT Win32WindowSystem::SendMessage(WindowHandle window, UINT message, WPARAM wParam,
                                       LPARAM lParam) {
    if (window == kBroadcastWindow) {
        RecordBroadcast(message, lParam);
        // The texts of WM_DEVMODECHANGE and WM_WININICHANGE are ANSI; a window that hangs must
        // not stop the installer.
        SendMessageTimeoutA(HWND_BROADCAST, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000,
                            nullptr);
        return 0;
    }
    return static_cast<LRESULT>(
        user_.Send(ToHwnd(window), message, wParam, static_cast<::LPARAM>(lParam)));
}

void Win32WindowSystem::PostQuitMessage(int exitCode) {
    ::PostQuitMessage(exitCode);
}

BOOL Win32WindowSystem::GetMessage(Message& message, WindowHandle filter, UINT first, UINT last) {
    graveyard_.clear();
    if (stopped_) {
        message = Message{{}, WM_QUIT, 0, 0, 0};
        return FALSE;
    }
    MSG msg{};
    BOOL got = user_.Wide() ? GetMessageW(&msg, ToHwnd(filter), first, last)
                            : GetMessageA(&msg, ToHwnd(filter), first, last);
    message = FromMsg(msg);
    if (got == -1) {
        message = Message{{}, WM_QUIT, 0, 0, 0};
        return FALSE;
    }
    // Unattended, the box watch ticks while the program waits; when nothing else has come for
    // the stall limit, the program waits for a person who is not there.
    const auto now = static_cast<DWORD>(GetTickCount());
    const bool watchTick =
        msg.hwnd == nullptr && msg.message == WM_TIMER && msg.wParam == boxTimer_;
    if (!frontend_ || !watchTick) {
        lastActivity_ = now;
    } else if (now - lastActivity_ > stallLimitMs_) {
        Stop("the program waits for input that cannot come: nothing has happened for " +
             std::to_string(stallLimitMs_ / 1000) + " seconds");
        message = Message{{}, WM_QUIT, 0, 0, 0};
        return FALSE;
    }
    return got;
}

BOOL Win32WindowSystem::TranslateMessage(const Message& message) {
    MSG msg = ToMsg(message);
    return ::TranslateMessage(&msg);
}

LRESULT Win32WindowSystem::DispatchMessage(const Message& message) {
    MSG msg = ToMsg(message);
    return static_cast<LRESULT>(user_.Wide() ? DispatchMessageW(&msg) : DispatchMessageA(&msg));
}

LRESULT Win32WindowSystem::DefWindowProc(WindowHandle window, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
    return static_cast<LRESULT>(
        user_.DefProc(ToHwnd(window), message, wParam, static_cast<::LPARAM>(lParam)));
}

UINT_PTR Win32WindowSystem::SetTimer(WindowHandle window, UINT_PTR id, UINT elapseMs) {
    HWND hwnd = ToHwnd(window);
    UINT_PTR set = ::SetTimer(hwnd, id, elapseMs, nullptr);
    if (set)
        timers_[{hwnd, id}] = elapseMs;
    return set;
}

BOOL Win32WindowSystem::KillTimer(WindowHandle window, UINT_PTR id) {
    HWND hwnd = ToHwnd(window);
    timers_.erase({hwnd, id});
    return ::KillTimer(hwnd, id);
}

WindowHandle Win32WindowSystem::SetCapture(WindowHandle window) {
    return ToHandle(::SetCapture(ToHwnd(window)));
}

BOOL Win32WindowSystem::ReleaseCapture() {
    return ::ReleaseCapture();
}

WindowHandle Win32WindowSystem::GetCapture() const {
    return ToHandle(::GetCapture());
}

Cursor Win32WindowSystem::LoadCursor(std::uint32_t standardCursor) {
    HCURSOR cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(standardCursor));
    if (!cursor)
        return {};
    cursors_[standardCursor] = cursor;
    return Cursor{standardCursor};
}

Cursor Win32WindowSystem::SetCursor(Cursor cursor) {
    auto found = cursors_.find(cursor.value);
    HCURSOR shown = found != cursors_.end() ? found->second : nullptr;
    if (cursor && !shown)
        shown = LoadCursorA(nullptr, MAKEINTRESOURCEA(cursor.value));
    ::SetCursor(shown);
    Cursor previous = cursor_;
    cursor_ = cursor;
    return previous;
}

BOOL Win32WindowSystem::InvalidateRect(WindowHandle window, const Rect* rect, BOOL erase) {
    ::RECT area{};
    if (rect)
        area = ToRECT(*rect);
    return ::InvalidateRect(ToHwnd(window), rect ? &area : nullptr, erase);
}

BOOL Win32WindowSystem::UpdateWindow(WindowHandle window) {
    return ::UpdateWindow(ToHwnd(window));
}

PaintContext Win32WindowSystem::BeginPaint(WindowHandle window) {
    PaintSession session;
    session.window = ToHwnd(window);
    HDC dc = ::BeginPaint(session.window, &session.paint);
    PaintContext context;
    if (!dc)
        return context;
    context.paint = FromRECT(session.paint.rcPaint);
    context.erase = session.paint.fErase != FALSE;
    session.canvas = std::make_unique<GdiCanvas>(dc, fonts_);
    context.canvas = session.canvas.get();
    paints_.push_back(std::move(session));
    return context;
}

void Win32WindowSystem::EndPaint(WindowHandle window, const PaintContext& paint) {
    HWND hwnd = ToHwnd(window);
    auto found = std::find_if(paints_.rbegin(), paints_.rend(), [&](const PaintSession& s) {
        return s.window == hwnd && s.canvas.get() == paint.canvas;
    });
    if (found == paints_.rend())
        return;
    PAINTSTRUCT ps = found->paint;
    paints_.erase(std::next(found).base()); // the canvas lets go of the DC first
    ::EndPaint(hwnd, &ps);
}

Canvas* Win32WindowSystem::GetDC(WindowHandle window) {
    DcSession session;
    session.window = ToHwnd(window);
    session.dc = ::GetDC(session.window);
    if (!session.dc)
        return nullptr;
    session.canvas = std::make_unique<GdiCanvas>(session.dc, fonts_);
    Canvas* canvas = session.canvas.get();
    dcs_.push_back(std::move(session));
    return canvas;
}

void Win32WindowSystem::ReleaseDC(WindowHandle, Canvas* canvas) {
    auto found = std::find_if(dcs_.begin(), dcs_.end(),
                              [&](const DcSession& s) { return s.canvas.get() == canvas; });
    if (found == dcs_.end())
        return;
    HWND window = found->window;
    HDC dc = found->dc;
    dcs_.erase(found);
    ::ReleaseDC(window, dc);
}

HookHandle Win32WindowSystem::SetWindowsHookEx(int hookType, HookProc proc) {
    if (hookType != WH_MSGFILTER || !proc)
        return {};
    HHOOK system =
        user_.Wide() ? SetWindowsHookExW(WH_MSGFILTER, FilterThunk, nullptr, GetCurrentThreadId())
                     : SetWindowsHookExA(WH_MSGFILTER, FilterThunk, nullptr, GetCurrentThreadId());
    if (!system)
        return {};
    HookHandle handle{nextHook_++};
    hooks_.push_back(Hook{handle, system, std::move(proc)});
    return handle;
}

BOOL Win32WindowSystem::UnhookWindowsHookEx(HookHandle hook) {
    auto found =
        std::find_if(hooks_.begin(), hooks_.end(), [&](const Hook& h) { return h.handle == hook; });
    if (found == hooks_.end())
        return FALSE;
    BOOL removed = ::UnhookWindowsHookEx(found->system);
    hooks_.erase(found);
    return removed;
}

LRESULT Win32WindowSystem::CallNextHookEx(HookHandle hook, int code, WPARAM wParam,
                                          const Message& message) {
    auto found =
        std::find_if(hooks_.begin(), hooks_.end(), [&](const Hook& h) { return h.handle == hook; });
    if (found == hooks_.end())
        return 0;
    // The system runs the next (older) hook of the chain through FilterThunk again.
    auto index = static_cast<std::size_t>(found - hooks_.begin());
    std::optional<std::size_t> saved = nextHookIndex_;
    nextHookIndex_ = index == 0 ? std::optional<std::size_t>{} : index - 1;
    MSG msg = ToMsg(message);
    LRESULT result = static_cast<LRESULT>(
        ::CallNextHookEx(found->system, code, wParam, reinterpret_cast<::LPARAM>(&msg)));
    nextHookIndex_ = saved;
    return result;
}

::LRESULT Win32WindowSystem::FilterMessage(int code, ::WPARAM wParam, ::LPARAM lParam) {
    if (code < 0 || hooks_.empty() || !lParam)
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    // The newest hook runs first; CallNextHookEx says which one the system runs next.
    std::size_t index = nextHookIndex_.value_or(hooks_.size() - 1);
    if (index >= hooks_.size())
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    HookProc proc = hooks_[index].proc;
    nextHookIndex_.reset();
    return static_cast<::LRESULT>(
        proc(code, wParam, FromMsg(*reinterpret_cast<const MSG*>(lParam))));
}

} // namespace tl::win32ui
