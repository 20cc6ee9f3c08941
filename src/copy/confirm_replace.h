// The question before a font file replaces one that is already in the font directory: CONFIRMDLG,
// with Yes, Yes to all, No and Cancel. What each answer does is the copy engine's business.
#pragma once

#include "platform/dialog_window.h"
#include "platform/window_system.h"
#include "resources/control_ids.h"
#include "state/copy_list.h"

#include <cstddef>
#include <string_view>

namespace tl {

struct Installer;

inline constexpr std::string_view kConfirmReplaceTemplate = "CONFIRMDLG";
inline constexpr int kConfirmYes = IDOK;
inline constexpr int kConfirmYesToAll = 1004;
inline constexpr int kConfirmNo = 4;
inline constexpr int kConfirmCancel = IDCANCEL;

// The file asked about (the destination's file name) and its font entry's index in the list.
struct ConfirmContext {
    WindowSystem& windows;
    const CopyList& list;
    std::string_view fileName;
    std::size_t index = 0;
};

// True when a font entry (flag "5" exactly) follows entry `index` before the list ends: only then
// can "Yes to all" answer for more than this file.
bool HasLaterFont(const CopyList& list, std::size_t index);

// CONFIRMDLG's dialog procedure: it ends with the id of the button pressed (1, 1004, 4, or 2 for
// Cancel and Escape).
INT_PTR ConfirmDlgProc(const ConfirmContext& context, DialogWindow& dialog, UINT message,
                       WPARAM wParam, LPARAM lParam);

// Runs CONFIRMDLG over `owner`: the button pressed, or -1 when the dialog cannot be opened.
INT_PTR ConfirmReplace(const ConfirmContext& context, WindowHandle owner);
// The same for entry `index` of the installer's copy list, whose destination is `fileName`.
INT_PTR ConfirmReplace(Installer& installer, WindowHandle owner, std::string_view fileName,
                       std::size_t index);

} // namespace tl
