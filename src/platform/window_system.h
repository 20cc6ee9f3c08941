// Port: the window system (USER32 as the installer uses it): window classes and windows with
// their procedures, the message queue and loop, timers, mouse capture and cursors, painting,
// dialogs from named templates and from DLGTEMPLATE bytes (modal and modeless), the message-filter
// hook, and message boxes. Calls, arguments and results mirror the Win32 calls of the same name.
// Texts are ANSI (code page 949).
#pragma once

#include "platform/dialog_window.h"
#include "platform/window_types.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace tl {

class Canvas; // the painting port (platform/canvas.h)

using WindowProc = std::function<LRESULT(WindowHandle, UINT message, WPARAM, LPARAM)>;
// A WH_MSGFILTER hook procedure: code (MSGF_DIALOGBOX inside dialogs), wParam, the message.
using HookProc = std::function<LRESULT(int code, WPARAM, const Message&)>;

// WNDCLASS as the installer fills it.
struct WindowClass {
    std::string name;
    WindowProc proc;
    UINT style = 0;
    int windowExtra = 0; // bytes of per-window data for GetWindowLong/SetWindowLong (4 each)
    std::uint32_t cursor = IDC_ARROW;
    int background = 0; // system colour index + 1, 0 for none
};

struct Cursor {
    std::uint32_t value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(Cursor, Cursor) = default;
};

struct HookHandle {
    std::uint32_t value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(HookHandle, HookHandle) = default;
};

// What BeginPaint gives: the area to paint and where to paint it. canvas is null when nothing
// records painting (an unattended run without a painter attached).
struct PaintContext {
    Rect paint;
    bool erase = false;
    Canvas* canvas = nullptr;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Classes and windows.
    virtual BOOL RegisterClass(const WindowClass& windowClass) = 0;
    // FindWindowA: the first top-level window of that class (and title, when one is given).
    virtual WindowHandle FindWindow(std::string_view className, std::string_view title) = 0;
    // CreateWindowA; child windows (WS_CHILD) take `id` as their control id. WM_CREATE is sent
    // before it returns (-1 from it fails the creation).
    virtual WindowHandle CreateWindow(std::string_view className, std::string_view title,
                                      DWORD style, int x, int y, int width, int height,
                                      WindowHandle parent, int id, LPARAM createParam) = 0;
    virtual BOOL DestroyWindow(WindowHandle window) = 0;
    virtual BOOL IsWindow(WindowHandle window) const = 0;
    virtual BOOL ShowWindow(WindowHandle window, int command) = 0;
    virtual BOOL IsWindowVisible(WindowHandle window) const = 0;
    // EnableWindow: nonzero when the window was disabled before.
    virtual BOOL EnableWindow(WindowHandle window, BOOL enable) = 0;
    virtual BOOL IsWindowEnabled(WindowHandle window) const = 0;
    virtual WindowHandle GetParent(WindowHandle window) const = 0;
    virtual BOOL SetWindowText(WindowHandle window, std::string_view text) = 0;
    virtual std::string GetWindowText(WindowHandle window) const = 0;
    virtual LONG GetWindowLong(WindowHandle window, int index) const = 0;
    virtual LONG SetWindowLong(WindowHandle window, int index, LONG value) = 0;
    virtual BOOL GetClientRect(WindowHandle window, Rect& rect) const = 0;
    virtual BOOL GetWindowRect(WindowHandle window, Rect& rect) const = 0;
    virtual BOOL SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y,
                              int width, int height, UINT flags) = 0;
    virtual BOOL MoveWindow(WindowHandle window, int x, int y, int width, int height,
                            BOOL repaint) = 0;
    virtual BOOL BringWindowToTop(WindowHandle window) = 0;
    virtual BOOL SetForegroundWindow(WindowHandle window) = 0;
    virtual WindowHandle SetFocus(WindowHandle window) = 0;
    virtual WindowHandle GetFocus() const = 0;
    virtual int GetSystemMetrics(int index) const = 0;
    // GetDeviceCaps on the window's device context (HORZRES, VERTRES).
    virtual int GetDeviceCaps(WindowHandle window, int index) const = 0;

    // Messages.
    virtual BOOL PostMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT SendMessage(WindowHandle window, UINT message, WPARAM wParam,
                                LPARAM lParam) = 0;
    virtual void PostQuitMessage(int exitCode) = 0;
    // GetMessage: FALSE for WM_QUIT. Never blocks for input that cannot come: with nothing to
    // deliver, the host reports a stall and returns a WM_QUIT.
    virtual BOOL GetMessage(Message& message, WindowHandle filter, UINT first, UINT last) = 0;
    virtual BOOL TranslateMessage(const Message& message) = 0;
    virtual LRESULT DispatchMessage(const Message& message) = 0;
    virtual LRESULT DefWindowProc(WindowHandle window, UINT message, WPARAM wParam,
                                  LPARAM lParam) = 0;

    // Timers: WM_TIMER with wParam = id after `elapseMs`, repeating until KillTimer.
    virtual UINT_PTR SetTimer(WindowHandle window, UINT_PTR id, UINT elapseMs) = 0;
    virtual BOOL KillTimer(WindowHandle window, UINT_PTR id) = 0;

    // Mouse capture and cursors.
    virtual WindowHandle SetCapture(WindowHandle window) = 0;
    virtual BOOL ReleaseCapture() = 0;
    virtual WindowHandle GetCapture() const = 0;
    virtual Cursor LoadCursor(std::uint32_t standardCursor) = 0;
    virtual Cursor SetCursor(Cursor cursor) = 0; // the previous cursor

    // Painting.
    virtual BOOL InvalidateRect(WindowHandle window, const Rect* rect, BOOL erase) = 0;
    virtual BOOL UpdateWindow(WindowHandle window) = 0;
    virtual PaintContext BeginPaint(WindowHandle window) = 0;
    virtual void EndPaint(WindowHandle window, const PaintContext& paint) = 0;
    virtual Canvas* GetDC(WindowHandle window) = 0; // null when nothing records painting
    virtual void ReleaseDC(WindowHandle window, Canvas* canvas) = 0;

    // Dialogs. DialogBox runs a dialog from the program's resources by template name and returns
    // the value given to EndDialog, or -1 when it cannot be created.
    virtual INT_PTR DialogBox(std::string_view templateName, WindowHandle owner, DialogProc proc,
                              LPARAM initParam) = 0;
    // DialogBoxIndirectParam: the template as DLGTEMPLATE bytes; `name` says in reports and in
    // the transcript which dialog this is (e.g. "CHOICE", "WIN_RESTART").
    virtual INT_PTR DialogBoxIndirect(std::span<const BYTE> templateBytes, std::string_view name,
                                      WindowHandle owner, DialogProc proc, LPARAM initParam) = 0;
    // CreateDialogParam: a modeless dialog; it lives until DestroyWindow.
    virtual WindowHandle CreateDialog(std::string_view templateName, WindowHandle owner,
                                      DialogProc proc, LPARAM initParam) = 0;
    // The DialogWindow behind a dialog's handle (modal or modeless), or null.
    virtual DialogWindow* FindDialog(WindowHandle dialog) = 0;

    // The thread's message-filter hook (WH_MSGFILTER only).
    virtual HookHandle SetWindowsHookEx(int hookType, HookProc proc) = 0;
    virtual BOOL UnhookWindowsHookEx(HookHandle hook) = 0;
    virtual LRESULT CallNextHookEx(HookHandle hook, int code, WPARAM wParam,
                                   const Message& message) = 0;

    // MessageBoxA plus `key`, which names the message in answers and the transcript: the id of
    // its principal string-table text ("139"), or a short name for the few fixed English texts
    // ("Error", "Warning", "cannot create dialogbox"). Returns IDOK, IDCANCEL, IDYES or IDNO.
    virtual int MessageBox(WindowHandle owner, std::string_view text, std::string_view caption,
                           UINT type, std::string_view key) = 0;
};

// The key of a message whose principal text is string-table entry `id`.
inline std::string MessageKey(unsigned id) {
    return std::to_string(id);
}

} // namespace tl
