#include "selection/driver_select.h"
#include "resources/control_ids.h"

#include "dialogs/dialog_utils.h"
#include "resources/string_table.h"
#include "selection/catalogue.h"
#include "state/installer.h"

namespace tl {
namespace {

constexpr int kInstallButtonId = 1;

// Counted item by item: the single-selection list answers no selection count.
int SelectedCount(const DialogWindow& dialog) {
    int selected = 0;
    const int items = dialog.ListCount(kModelListId);
    for (int i = 0; i < items; ++i) {
        if (dialog.ListGetSel(kModelListId, i))
            ++selected;
    }
    return selected;
}

bool EndsIn600(std::string_view name) {
    return name.size() >= 3 && name.substr(name.size() - 3) == "600";
}

void Open(Installer& installer, DialogWindow& dialog) {
    CentreWindow(installer.windows, dialog.Handle());
    installer.dialogUtils.f3Dialog = dialog.Handle();
    InstallF3Hook(installer.windows, installer.dialogUtils);
    dialog.ListReset(kModelListId);
    for (const ModelEntry& model : installer.catalogue.models) {
        if (model.name.empty())
            break;
        dialog.ListAdd(kModelListId, model.name);
    }
    dialog.ListSetCurSel(kModelListId, 0);
    dialog.SetCaption(LoadTextCopy(TextId::SelectDriveCaption));
    dialog.SetItemText(kModelListLabelId, LoadTextCopy(TextId::PrinterListLabel));
    dialog.SetItemText(kSelectDriverPromptId, LoadTextCopy(TextId::SelectDrivePrompt));
    dialog.SetItemText(kInstallButtonId, LoadTextCopy(TextId::InstallButton));
    dialog.SetItemText(kF3ExitButtonId, LoadTextCopy(TextId::CancelButton));
}

void Install(Installer& installer, DialogWindow& dialog) {
    bool warn = false;
    const int listed = dialog.ListCount(kModelListId);
    for (int i = 0; i < listed && i < static_cast<int>(kMaxModels); ++i) {
        ModelEntry& model = installer.catalogue.models[static_cast<std::size_t>(i)];
        const bool selected = dialog.ListGetSel(kModelListId, i);
        model.selected = selected;
        warn = warn || (selected && EndsIn600(model.name));
    }
    if (warn) {
        const std::string text =
            LoadTextCopy(TextId::MemoryWarning) + LoadTextCopy(176) + LoadTextCopy(177);
        installer.windows.MessageBox(dialog.Handle(), text, LoadTextCopy(TextId::CautionCaption),
                                     MB_OK | MB_ICONEXCLAMATION, MessageKey(TextId::MemoryWarning));
    }
    dialog.EndDialog(1);
    RemoveF3Hook(installer.windows, installer.dialogUtils);
}

} // namespace

INT_PTR SelectDriver(Installer& installer, DialogWindow& dialog, UINT message, WPARAM wParam,
                     LPARAM) {
    if (message == WM_INITDIALOG) {
        Open(installer, dialog);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LoWord(wParam)) {
    case kModelListId:
        dialog.EnableItem(kInstallButtonId, SelectedCount(dialog) > 0);
        return TRUE;
    case kF3ExitButtonId:
        if (ConfirmCancel(installer.windows, dialog.Handle(), installer.installationState) ==
            IDYES) {
            dialog.EndDialog(0);
            RemoveF3Hook(installer.windows, installer.dialogUtils);
        }
        return TRUE;
    case kInstallButtonId:
        Install(installer, dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

DialogProc MakeSelectDriver(Installer& installer) {
    return [&installer](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        return SelectDriver(installer, dialog, message, wParam, lParam);
    };
}

} // namespace tl
