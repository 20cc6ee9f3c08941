// A dialog of the host window system: the DialogWindow that dialog procedures talk to, kept over
// the dialog's window and its control windows, and the DialogDriver through which a frontend acts
// on it as a user would.
#pragma once

#include "platform/dialog_window.h"
#include "platform/frontend.h"

#include <optional>
#include <string>

namespace tl::host {

class HostWindowSystem;
struct HostWindow;

class MemoryDialog final : public DialogWindow, public ui::DialogDriver {
public:
    MemoryDialog(HostWindowSystem& system, WindowHandle handle, DialogProc proc, std::string name,
                 int occurrence, bool modal);

    INT_PTR CallProc(UINT message, WPARAM wParam, LPARAM lParam);
    bool Modal() const { return modal_; }
    bool Ended() const { return ended_; }
    INT_PTR Result() const { return result_; }
    std::optional<int> Pressed() const { return pressed_; }
    ui::DialogSnapshot& Opened() { return opened_; }

    // DialogWindow
    WindowHandle Handle() const override { return handle_; }
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
    HostWindow* Control(int id) const;
    // A control a user can reach: it exists, is visible and enabled, and so is the dialog.
    HostWindow* Reachable(int id) const;
    LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    HostWindowSystem& system_;
    WindowHandle handle_;
    DialogProc proc_;
    std::string name_;
    int occurrence_;
    bool modal_;
    bool ended_ = false;
    INT_PTR result_ = 0;
    std::optional<int> pressed_;
    ui::DialogSnapshot opened_;
};

} // namespace tl::host
