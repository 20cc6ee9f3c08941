// The host's window system: an in-memory model of windows, the message queue, timers on a
// simulated clock, painting, dialogs with their controls, and message boxes, driven by a Frontend
// that stands in for the user. Nothing here waits in real time or for input: timers fire in
// due-time order as soon as nothing else is pending (their delays advance the simulated clock),
// and a run that would wait for ever stops through the stop handler.
#pragma once

#include "platform/code_page.h"
#include "platform/events.h"
#include "platform/frontend.h"
#include "platform/window_system.h"
#include "resources/dialog_templates.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tl::host {

struct HostWindow;
class MemoryDialog;

// What a directory listing for DlgDirList found: the directory (ANSI, as shown), its files and
// subdirectories, and the drive letters of the machine. The lister makes the directory current.
struct DirectoryListing {
    std::string directory;
    std::string pattern = "*.*";
    std::vector<std::string> files;
    std::vector<std::string> directories;
    std::vector<char> drives;
};
using DirectoryLister = std::function<std::optional<DirectoryListing>(std::string_view pathSpec)>;

struct ScreenSettings {
    int width = 1024;
    int height = 768;
};

class HostWindowSystem final : public WindowSystem {
public:
    // Texts of templates built in memory are UTF-16; codePage turns them into ANSI.
    HostWindowSystem(ui::Frontend& frontend, const CodePage& codePage, ScreenSettings screen = {});
    ~HostWindowSystem() override;
    HostWindowSystem(const HostWindowSystem&) = delete;
    HostWindowSystem& operator=(const HostWindowSystem&) = delete;

    // Host-only wiring.
    void SetObserver(ui::Observer* observer) { observer_ = observer; }
    // Broadcasts (HWND_BROADCAST) are recorded here as "broadcast" events.
    void SetEventSink(EventSink* events) { events_ = events; }
    // Called once when the run cannot go on (a refused answer, a stall); it may end the process.
    // When it returns, dialogs end with -1, message boxes with their default, and GetMessage
    // returns WM_QUIT from then on.
    void SetStopHandler(std::function<void(const std::string& reason)> handler);
    void SetCanvasSource(std::function<Canvas*(WindowHandle)> source);
    // Without a lister, DlgDirList finds no directory.
    void SetDirectoryLister(DirectoryLister lister) { directoryLister_ = std::move(lister); }
    const DirectoryLister& Lister() const { return directoryLister_; }
    bool Stopped() const { return stopped_; }
    const std::string& StopReason() const { return stopReason_; }
    std::uint64_t Now() const { return now_; }
    bool IsInvalid(WindowHandle window) const;
    Cursor CurrentCursor() const { return cursor_; }
    int ExitCodeOfQuit() const { return quitCode_; }
    // Windows held, destroyed ones not yet freed included.
    std::size_t WindowCount() const { return windows_.size() + graveyard_.size(); }

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
    WindowHandle GetFocus() const override { return focus_; }
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
    WindowHandle GetCapture() const override { return capture_; }
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

    // Used by the in-memory dialogs and their driver.
    HostWindow* Find(WindowHandle window) const;
    // Runs the message-filter hooks on a message inside a dialog; true when one consumed it.
    bool RunMessageFilter(const Message& message);
    // Delivers what is pending (posted messages, paints) and fires, once each, the pending
    // timers of `dialog` and its controls, as happens while a user looks at a dialog.
    void DeliverWhileShown(WindowHandle dialog);
    // Delivers what is pending (posted messages, paints), as the loop of a message box does
    // while it waits.
    void DeliverWhileWaiting();
    void Stop(const std::string& reason);

private:
    struct Timer {
        WindowHandle window;
        UINT_PTR id = 0;
        UINT elapse = 0;
        std::uint64_t due = 0;
        std::uint64_t serial = 0; // order of setting, for equal due times
    };
    struct Hook {
        HookHandle handle;
        HookProc proc;
    };

    void RegisterBuiltInClasses();
    void RecordBroadcast(UINT message, LPARAM lParam);
    WindowHandle CreateDialogFromTemplate(const DialogTemplate& dialogTemplate,
                                          std::string_view name, WindowHandle owner,
                                          DialogProc proc, LPARAM initParam, bool modal);
    INT_PTR RunModal(const DialogTemplate& dialogTemplate, std::string_view name,
                     WindowHandle owner, DialogProc proc, LPARAM initParam);
    void RecordClosedDialog(MemoryDialog& dialog);
    void DestroyTree(WindowHandle window);
    bool DeliverOnePending(WindowHandle filter);
    std::optional<std::size_t> NextTimer(const std::function<bool(const Timer&)>& accept) const;
    void FireTimer(std::size_t index, Message& message);
    int DialogOccurrence(const std::string& name);
    LRESULT DefDialogProc(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam);

    ui::Frontend& frontend_;
    const CodePage& codePage_;
    ui::Observer* observer_ = nullptr;
    EventSink* events_ = nullptr;
    ScreenSettings screen_;
    std::function<void(const std::string&)> stopHandler_;
    std::function<Canvas*(WindowHandle)> canvasSource_;
    DirectoryLister directoryLister_;
    std::map<std::string, WindowClass, std::less<>> classes_; // by upper-cased name
    std::map<std::uint32_t, std::shared_ptr<HostWindow>> windows_;
    std::vector<std::shared_ptr<HostWindow>> graveyard_; // destroyed, freed at GetMessage
    std::vector<WindowHandle> zOrder_;                   // top-level windows, topmost last
    std::deque<Message> posted_;
    std::vector<Timer> timers_;
    std::vector<Hook> hooks_;
    std::map<std::string, int> dialogOpenings_;
    std::map<std::string, int> messageShowings_;
    std::uint32_t nextHandle_ = 0x100;
    std::uint32_t nextHook_ = 1;
    std::uint64_t timerSerial_ = 0;
    std::uint64_t now_ = 0;
    WindowHandle focus_;
    WindowHandle capture_;
    Cursor cursor_{IDC_ARROW};
    bool quitPosted_ = false;
    int quitCode_ = 0;
    bool stopped_ = false;
    std::string stopReason_;
};

} // namespace tl::host
