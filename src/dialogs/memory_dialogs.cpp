#include "dialogs/memory_dialogs.h"

#include "dialogs/dialog_utils.h"
#include "dialogs/memory_dialogs_layout.h"
#include "resources/string_table.h"

#include <array>
#include <span>

namespace tl {

namespace {

constexpr std::size_t kResourceMessageSize = 128;
constexpr DWORD kLogOffReserved = 0xFFFFFFFFu;

std::u16string DialogTypeface(const CodePage& codePage) {
    return Utf8ToUtf16(codePage.ToUtf8(LoadTextCopy(TextId::Typeface)));
}

std::size_t CountNames(std::string_view names) {
    std::size_t count = 0;
    std::size_t at = 0;
    while (at < names.size() && names[at] != '\0') {
        ++count;
        const std::size_t end = names.find('\0', at);
        if (end == std::string_view::npos) {
            break;
        }
        at = end + 1;
    }
    return count;
}

INT_PTR RunTemplate(WindowSystem& windows, WindowHandle owner, const DialogTemplateFields& fields,
                    std::string_view name, DialogProc proc) {
    DialogTemplateBuilder builder;
    if (!BuildDialogTemplate(fields, builder)) {
        ShowResourceMessage(windows, owner, Id(TextId::OutOfMemory));
        return -1;
    }
    const INT_PTR result =
        windows.DialogBoxIndirect(builder.Block(), name, owner, std::move(proc), 0);
    if (result == -1) {
        windows.MessageBox(owner, kCannotCreateDialog, "error", MB_OK, kCannotCreateDialog);
    }
    return result;
}

} // namespace

INT_PTR RunChoiceDialog(WindowSystem& windows, const CodePage& codePage, WindowHandle owner,
                        std::string_view names, DWORD itemStyle, DialogProc proc) {
    const DialogTemplateFields fields =
        ChoiceDialogTemplate(CountNames(names), itemStyle, DialogTypeface(codePage));
    return RunTemplate(windows, owner, fields, kChoiceDialogName, std::move(proc));
}

INT_PTR RunRestartDialog(WindowSystem& windows, const CodePage& codePage, WindowHandle owner,
                         DialogProc proc, std::string_view templateName) {
    const auto fields = RestartDialogTemplate(
        templateName, LoadTextCopy(TextId::ReturnButton).size(), DialogTypeface(codePage));
    if (!fields) {
        // A dialog without controls could never be closed: refuse it as the system refuses a
        // template it cannot make.
        windows.MessageBox(owner, kCannotCreateDialog, "error", MB_OK, kCannotCreateDialog);
        return -1;
    }
    return RunTemplate(windows, owner, *fields, templateName, std::move(proc));
}

INT_PTR SelWinRestart(RestartContext& context, DialogWindow& dialog, UINT message, WPARAM wParam,
                      LPARAM) {
    if (message == WM_INITDIALOG) {
        CentreWindow(context.windows, dialog.Handle());
        dialog.SetItemText(kRestartButtonId, LoadTextCopy(TextId::RestartButton));
        dialog.SetItemText(kReturnButtonId, LoadTextCopy(TextId::ReturnButton));
        dialog.SetItemText(kRestartMessageId, LoadTextCopy(TextId::RestartNeeded));
        dialog.SetCaption(LoadTextCopy(TextId::InstallCaption));
        return TRUE;
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    switch (LoWord(wParam)) {
    case kRestartButtonId:
        // Refusal is not reported: the installer ends either way.
        if (context.exitWindows && context.rebootMode == 1) {
            context.exitWindows(kExitLogOff, kLogOffReserved);
        } else if (context.exitWindows) {
            context.exitWindows(kExitReboot, 0);
        }
        dialog.Invalidate();
        dialog.EndDialog(1);
        return TRUE;
    case kReturnButtonId:
        dialog.Invalidate();
        dialog.EndDialog(0);
        return TRUE;
    default:
        return FALSE;
    }
}

DialogProc MakeSelWinRestart(RestartContext& context) {
    return [&context](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        return SelWinRestart(context, dialog, message, wParam, lParam);
    };
}

void ShowResourceMessage(WindowSystem& windows, WindowHandle owner, unsigned id) {
    std::array<char, kResourceMessageSize> text{};
    const std::size_t length = LoadStringInto(id, std::span<char>(text));
    const std::string caption = LoadTextCopy(TextId::WarningCaption);
    windows.MessageBox(owner, std::string_view(text.data(), length), caption,
                       MB_OK | MB_ICONASTERISK | MB_SYSTEMMODAL, MessageKey(id));
}

} // namespace tl
