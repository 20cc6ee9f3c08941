// The window system over USER32 and GDI: the installer's window classes with their procedures,
// the real message queue and loop, timers, capture, cursors, painting through a GDI Canvas,
// dialogs built as DLGTEMPLATE bytes from the same template data as the host's and run by the
// system's dialog manager with the installer's own procedures, the message-filter hook, and
// message boxes. Every text shown goes through the wide calls, converted from code page 949, or
// on Windows 95, 98 and Me through the ANSI ones (user_text.h).
//
// Unattended (a Frontend is set), the same real dialogs are driven by the answers: once a modal
// dialog has opened and its own timers have fired once, the frontend types, selects and presses
// through the messages a user's actions cause. Message boxes are real boxes, answered by a
// thread timer; a box the platform shows on its own (a file prompt) is recorded and cancelled.
#pragma once

#include "platform/code_page.h"
#include "platform/events.h"
#include "platform/frontend.h"
#include "platform/win32/ui/gdi_canvas.h"
#include "platform/win32/ui/user_text.h"
#include "platform/win32/ui/win32_api.h"
#include "platform/window_system.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tl::win32ui {

class Win32Dialog;
struct DialogStart;

class Win32WindowSystem final : public WindowSystem {
public:
    // One per thread: the system's window, dialog, hook and timer procedures find it through a
    // thread-local link that lives as long as the object.
    // `calls`: the wide text calls, or the ANSI ones of Windows 95, 98 and Me.
    Win32WindowSystem(HINSTANCE instance, const CodePage& codePage,
                      TextCalls calls = SystemTextCalls());
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    // Null (the default): a person answers. Otherwise every box and modal dialog is answered
    // by the frontend, and the platform's own boxes are cancelled.
    void SetFrontend(ui::Frontend* frontend);
    void SetObserver(ui::Observer* observer) { observer_ = observer; }
    // Broadcasts and the platform's own boxes are recorded here.
    void SetEventSink(EventSink* events) { events_ = events; }
    // Called once when an unattended run cannot go on; it may end the process. When it returns,
    // dialogs end with -1, boxes with their default, and GetMessage returns FALSE from then on.
    void SetStopHandler(std::function<void(const std::string& reason)> handler);
    bool Stopped() const { return stopped_; }
    // How long an unattended run's message loop may wait with nothing happening (60 s).
    void SetStallLimit(DWORD milliseconds) { stallLimitMs_ = milliseconds; }
    // Unattended runs save a picture of the screen (.BMP) into this directory as each dialog and
    // message box is about to be answered and before a modeless dialog closes: NN-NAME.bmp.
    void SetPictureDirectory(std::wstring directory) { pictureDirectory_ = std::move(directory); }
    // The text-carrying USER32 calls in the form this system takes.
    const UserText& User() const { return user_; }
    // The font objects that canvases of this window system select.
    GdiFonts& Fonts() { return fonts_; }

    // WindowSystem
    BOOL RegisterClass(const WindowClass& windowClass) override;
    WindowHandle FindWindow(std::string_view className, std::string_view title) override;
    WindowHandle CreateWindow(std::string_view className, std::string_view title, DWORD style,
                              int x, int y, int width, int height, WindowHandle parent, int id,
                              LPARAM createParam) override;
    BOOL DestroyWindow(WindowHandle window) override;
    BOOL IsWindow(WindowHandle window) const override;
    BOOL ShowWindow(WindowHandle window, int command) override;
    BOOL IsWindowVisible(WindowHandle window) const override;
    BOOL EnableWindow(WindowHandle window, BOOL enable) override;
    BOOL IsWindowEnabled(WindowHandle window) const override;
    WindowHandle GetParent(WindowHandle window) const override;
    BOOL SetWindowText(WindowHandle window, std::string_view text) override;
    std::string GetWindowText(WindowHandle window) const override;
    LONG GetWindowLong(WindowHandle window, int index) const override;
    LONG SetWindowLong(WindowHandle window, int index, LONG value) override;
    BOOL GetClientRect(WindowHandle window, Rect& rect) const override;
    BOOL GetWindowRect(WindowHandle window, Rect& rect) const override;
    BOOL SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int width,
                      int height, UINT flags) override;
    BOOL MoveWindow(WindowHandle window, int x, int y, int width, int height,
                    BOOL repaint) override;
    BOOL BringWindowToTop(WindowHandle window) override;
    BOOL SetForegroundWindow(WindowHandle window) override;
    WindowHandle SetFocus(WindowHandle window) override;
    WindowHandle GetFocus() const override;
    int GetSystemMetrics(int index) const override;
    int GetDeviceCaps(WindowHandle window, int index) const override;

    BOOL PostMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostQuitMessage(int exitCode) override;
    BOOL GetMessage(Message& message, WindowHandle filter, UINT first, UINT last) override;
    BOOL TranslateMessage(const Message& message) override;
    LRESULT DispatchMessage(const Message& message) override;
    LRESULT DefWindowProc(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT_PTR SetTimer(WindowHandle window, UINT_PTR id, UINT elapseMs) override;
    BOOL KillTimer(WindowHandle window, UINT_PTR id) override;

    WindowHandle SetCapture(WindowHandle window) override;
    BOOL ReleaseCapture() override;
    WindowHandle GetCapture() const override;
    Cursor LoadCursor(std::uint32_t standardCursor) override;
    Cursor SetCursor(Cursor cursor) override;

    BOOL InvalidateRect(WindowHandle window, const Rect* rect, BOOL erase) override;
    BOOL UpdateWindow(WindowHandle window) override;
    PaintContext BeginPaint(WindowHandle window) override;
    void EndPaint(WindowHandle window, const PaintContext& paint) override;
    Canvas* GetDC(WindowHandle window) override;
    void ReleaseDC(WindowHandle window, Canvas* canvas) override;

    INT_PTR DialogBox(std::string_view templateName, WindowHandle owner, DialogProc proc,
                      LPARAM initParam) override;
    INT_PTR DialogBoxIndirect(std::span<const BYTE> templateBytes, std::string_view name,
                              WindowHandle owner, DialogProc proc, LPARAM initParam) override;
    WindowHandle CreateDialog(std::string_view templateName, WindowHandle owner, DialogProc proc,
                              LPARAM initParam) override;
    DialogWindow* FindDialog(WindowHandle dialog) override;

    HookHandle SetWindowsHookEx(int hookType, HookProc proc) override;
    BOOL UnhookWindowsHookEx(HookHandle hook) override;
    LRESULT CallNextHookEx(HookHandle hook, int code, WPARAM wParam,
                           const Message& message) override;

    int MessageBox(WindowHandle owner, std::string_view text, std::string_view caption, UINT type,
                   std::string_view key) override;

    // Entered from the system's procedures (the thunks).
    ::LRESULT WindowMessage(HWND window, UINT message, ::WPARAM wParam, ::LPARAM lParam);
    ::INT_PTR DialogMessage(HWND window, UINT message, ::WPARAM wParam, ::LPARAM lParam);
    ::LRESULT FilterMessage(int code, ::WPARAM wParam, ::LPARAM lParam);
    void AnswerBoxes();
    void Stop(const std::string& reason);
    // Records a WM_TIMER of a timer set through this window system.
    void NoteTimer(HWND window, UINT_PTR id);

private:
    struct Hook {
        HookHandle handle;
        HHOOK system = nullptr;
        HookProc proc;
    };
    struct PaintSession {
        HWND window = nullptr;
        PAINTSTRUCT paint{};
        std::unique_ptr<GdiCanvas> canvas;
    };
    struct DcSession {
        HWND window = nullptr;
        HDC dc = nullptr;
        std::unique_ptr<GdiCanvas> canvas;
    };

    INT_PTR RunModal(const std::vector<BYTE>& templateBytes, std::string_view name,
                     WindowHandle owner, DialogProc proc, LPARAM initParam);
    std::optional<std::vector<BYTE>> BuildTemplate(std::span<const BYTE> bytes) const;
    std::vector<BYTE> BuildTemplate(std::string_view templateName, bool* found) const;
    Win32Dialog* FindWin32Dialog(HWND window) const;
    void Drive(Win32Dialog& dialog, int attempt);
    void RecordBroadcast(UINT message, LPARAM lParam);
    void StartBoxWatch();
    void StopBoxWatch();
    void TakePicture(const std::string& name, bool paintPending);

    HINSTANCE instance_;
    const CodePage& codePage_;
    UserText user_;
    ui::Frontend* frontend_ = nullptr;
    ui::Observer* observer_ = nullptr;
    EventSink* events_ = nullptr;
    std::function<void(const std::string&)> stopHandler_;
    bool stopped_ = false;
    GdiFonts fonts_;
    std::map<ATOM, WindowProc> classProcs_;
    std::map<HWND, std::unique_ptr<Win32Dialog>> dialogs_;
    std::vector<std::unique_ptr<Win32Dialog>> graveyard_; // destroyed, freed at GetMessage
    std::map<std::string, int> dialogOpenings_;
    std::map<std::string, int> messageShowings_;
    std::vector<Hook> hooks_;
    std::uint32_t nextHook_ = 1;
    std::optional<std::size_t> nextHookIndex_; // which hook CallNextHookEx hands on to
    std::vector<PaintSession> paints_;
    std::vector<DcSession> dcs_;
    std::map<std::pair<HWND, UINT_PTR>, UINT> timers_; // the delay of each timer set
    DWORD startTick_ = 0;
    std::map<std::uint32_t, HCURSOR> cursors_;
    Cursor cursor_{32512}; // IDC_ARROW
    // The answer a message box being shown unattended gets from the box timer.
    std::optional<int> boxAnswer_;
    std::set<HWND> answeredBoxes_;
    UINT_PTR boxTimer_ = 0;
    std::wstring pictureDirectory_;
    DWORD stallLimitMs_ = 60000;
    DWORD lastActivity_ = 0;
    int pictureCount_ = 0;
    std::map<HWND, DialogStart*> modalStarts_; // open modal dialogs and where their record goes

    friend class Win32Dialog;
};

// The window system of the calling thread, for the system's procedures; null when none lives.
Win32WindowSystem* CurrentWindowSystem();

} // namespace tl::win32ui
