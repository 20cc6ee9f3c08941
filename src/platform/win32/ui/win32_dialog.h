// A dialog window of the system's dialog manager, as the installer's dialog procedures see it
// (DialogWindow: the dialog-manager calls on a real HWND) and as an unattended frontend acts on
// it (DialogDriver: clicks, typing and selections sent as the messages a user's actions cause).
#pragma once

#include "platform/dialog_window.h"
#include "platform/frontend.h"
#include "platform/win32/ui/win32_api.h"

#include <map>
#include <optional>
#include <string>

namespace tl::win32ui {

class Win32WindowSystem;

class Win32Dialog final : public DialogWindow, public ui::DialogDriver {
public:
    Win32Dialog(Win32WindowSystem& system, HWND window, DialogProc proc, std::string name,
                int occurrence, bool modal);

    INT_PTR CallProc(UINT message, WPARAM wParam, LPARAM lParam);
    HWND Window() const { return window_; }
    bool Modal() const { return modal_; }
    bool Ended() const { return ended_; }
    std::optional<int> Pressed() const { return pressed_; }
    // A button of the dialog reported a click (by a person or a driver).
    void NotePressed(int id) { pressed_ = id; }
    ui::DialogSnapshot& Opened() { return opened_; }
    // True while a timer the procedure set has not fired yet: a person would have seen it fire
    // before acting, so the driver waits for it.
    bool TimerPending() const;
    void TimerFired(UINT_PTR id);

    // DialogWindow
    WindowHandle Handle() const override { return ToHandle(window_); }
    WindowHandle Item(int id) const override;
    BOOL SetItemText(int id, std::string_view text) override;
    std::string GetItemText(int id, int maxCount) const override;
    void SetCaption(std::string_view text) override;
    std::string GetCaption() const override;
    void EnableItem(int id, bool enable) override;
    bool IsItemEnabled(int id) const override;
    void ShowItem(int id, bool show) override;
    void CheckRadioButton(int first, int last, int check) override;
    void CheckButton(int id, UINT state) override;
    UINT IsButtonChecked(int id) const override;
    void ListReset(int id) override;
    int ListAdd(int id, std::string_view text) override;
    int ListCount(int id) const override;
    std::string ListText(int id, int index) const override;
    int ListSetCurSel(int id, int index) override;
    int ListGetCurSel(int id) const override;
    int ListSetSel(int id, bool select, int index) override;
    bool ListGetSel(int id, int index) const override;
    int ListSelCount(int id) const override;
    std::vector<int> ListSelItems(int id) const override;
    void LimitText(int id, int limit) override;
    void SelectText(int id, int start, int end) override;
    int DirList(std::string& pathSpec, int listId, int staticId, UINT fileType) override;
    void SetFocus(int id) override;
    int FocusedItem() const override;
    void SetTimer(UINT_PTR timerId, UINT elapseMs) override;
    void KillTimer(UINT_PTR timerId) override;
    void BringToTop() override;
    void Invalidate() override;
    void EndDialog(INT_PTR result) override;
    LRESULT SendItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) override;

    // DialogDriver
    const std::string& Name() const override { return name_; }
    int Occurrence() const override { return occurrence_; }
    ui::DialogSnapshot Snapshot() const override;
    bool TypeText(int id, std::string_view text) override;
    bool SelectItems(int id, const std::vector<int>& indexes) override;
    bool SetCheck(int id, bool checked) override;
    bool Click(int id) override;
    void PressKey(UINT virtualKey) override;
    std::optional<int> DefaultButton() const override;

private:
    HWND Control(int id) const;
    // A control a user can reach: it exists, is visible and enabled, and so is the dialog.
    HWND Reachable(int id) const;
    ::LRESULT Send(int id, UINT message, ::WPARAM wParam = 0, ::LPARAM lParam = 0) const;
    void Notify(HWND control, WORD code);

    Win32WindowSystem& system_;
    HWND window_;
    DialogProc proc_;
    std::string name_;
    int occurrence_;
    bool modal_;
    bool ended_ = false;
    std::optional<int> pressed_;
    ui::DialogSnapshot opened_;
    std::map<UINT_PTR, bool> timers_; // id -> fired at least once
};

// What a control is, for snapshots and for what a user can do to it.
ui::ControlType ControlTypeOf(HWND control);

} // namespace tl::win32ui
