#include "selection/printer_name.h"
#include "resources/control_ids.h"

#include "dialogs/dialog_utils.h"
#include "platform/spooler.h"
#include "resources/string_table.h"
#include "state/installer.h"
#include "text/ansi_text.h"

#include <optional>
#include <vector>

namespace tl {
namespace {

constexpr std::string_view kNameTakenText =
    "Another printer already has this name.Use a different name";

// The first sizes asked with; the spooler's answer sizes any later attempt.
constexpr DWORD kDriverBufferSize = 800;
constexpr DWORD kPrinterBufferSize = 4000;
// The list can grow between two calls; a spooler that keeps asking for more is given up on.
constexpr int kEnumAttempts = 4;
constexpr int kLastCopyNumber = 99;

// Runs an enumeration, growing the buffer to what the spooler says it needs, so that a machine
// with many drivers or printers is seen whole. None when the spooler fails for another reason.
template <typename Info, typename Call>
std::optional<std::vector<Info>> Enumerate(Spooler& spooler, DWORD firstSize, Call call) {
    DWORD size = firstSize;
    for (int attempt = 0; attempt < kEnumAttempts; ++attempt) {
        std::vector<Info> found;
        DWORD needed = 0;
        DWORD returned = 0;
        if (call(&found, size, &needed, &returned)) {
            found.resize(std::min<std::size_t>(found.size(), returned));
            return found;
        }
        if (spooler.GetLastError() != kErrorInsufficientBuffer || needed <= size) {
            return std::nullopt;
        }
        size = needed;
    }
    return std::nullopt;
}

void SetTexts(DialogWindow& dialog, const Installer& installer) {
    CentreWindow(installer.windows, dialog.Handle());
    dialog.SetCaption(LoadTextCopy(TextId::PrinterNameCaption));
    dialog.SetItemText(kPrinterNameId, installer.printerName);
    dialog.SetItemText(kPrinterNameExplanationId, LoadTextCopy(TextId::PrinterNameExplanation));
    dialog.SetItemText(kPrinterNameLabelId, LoadTextCopy(TextId::PrinterNameLabel));
    dialog.SetItemText(kQueueNameEditId, installer.printerQueueName);
    dialog.LimitText(kQueueNameEditId, static_cast<int>(kPrinterQueueNameMax));
    dialog.SetItemText(IDOK, LoadTextCopy(TextId::OkButton));
    dialog.SetItemText(IDCANCEL, LoadTextCopy(TextId::CancelButton));
}

} // namespace

bool IsDriverInstalled(Installer& installer, std::string_view printerName) {
    Spooler& spooler = installer.platform.spooler;
    const auto drivers = Enumerate<DriverInfo1>(
        spooler, kDriverBufferSize,
        [&](std::vector<DriverInfo1>* found, DWORD size, DWORD* needed, DWORD* returned) {
            return spooler.EnumPrinterDrivers(std::nullopt, std::nullopt, 1, found, size, needed,
                                              returned);
        });
    installer.printerQueueName.clear();
    if (!drivers) {
        return false;
    }
    for (const DriverInfo1& driver : *drivers) {
        if (text::EqualsIgnoreCase(driver.name, printerName)) {
            return true;
        }
    }
    return false;
}

bool IsPrinterNameTaken(Installer& installer, std::string_view name) {
    Spooler& spooler = installer.platform.spooler;
    const auto printers = Enumerate<PrinterInfo5>(
        spooler, kPrinterBufferSize,
        [&](std::vector<PrinterInfo5>* found, DWORD size, DWORD* needed, DWORD* returned) {
            return spooler.EnumPrinters(kPrinterEnumLocal, std::nullopt, 5, found, size, needed,
                                        returned);
        });
    if (!printers) {
        return false;
    }
    for (const PrinterInfo5& printer : *printers) {
        if (text::EqualsIgnoreCase(printer.printerName, name)) {
            return true;
        }
    }
    return false;
}

void AppendCopyNumber(std::string& name, int number) {
    const std::string suffix = " (Copy " + std::to_string(number) + ")";
    if (name.size() + suffix.size() > kPrinterQueueNameMax) {
        const std::size_t room =
            suffix.size() < kPrinterQueueNameMax ? kPrinterQueueNameMax - suffix.size() : 0;
        name.resize(text::CharacterPrefixLength(name, room));
    }
    name += suffix;
}

INT_PTR ChoosePrinterName(Installer& installer, WindowHandle owner, std::string_view printerName) {
    installer.printerQueueName = printerName;
    if (!IsPrinterNameTaken(installer, printerName)) {
        return 1;
    }
    for (int number = 2; number <= kLastCopyNumber; ++number) {
        installer.printerQueueName = printerName;
        AppendCopyNumber(installer.printerQueueName, number);
        if (!IsPrinterNameTaken(installer, installer.printerQueueName)) {
            break;
        }
    }
    const DialogProc proc = [&installer](DialogWindow& dialog, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
        return PrinterNameDlgProc(installer, dialog, message, wParam, lParam);
    };
    for (;;) {
        const INT_PTR result = ShowModalDialog(installer.windows, owner, proc, "PRINTERNAME");
        if (result != IDCANCEL) {
            return result;
        }
        if (ConfirmCancel(installer.windows, owner, installer.installationState) == IDYES) {
            return 0;
        }
    }
}

INT_PTR PrinterNameDlgProc(Installer& installer, DialogWindow& dialog, UINT message, WPARAM wParam,
                           LPARAM) {
    if (message == WM_INITDIALOG) {
        SetTexts(dialog, installer);
        return TRUE;
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    switch (LoWord(wParam)) {
    case IDOK: {
        std::string typed = dialog.GetItemText(kQueueNameEditId, static_cast<int>(kTextBufferSize));
        if (IsPrinterNameTaken(installer, typed)) {
            installer.windows.MessageBox(dialog.Handle(), kNameTakenText, "Warning",
                                         MB_OK | MB_ICONHAND, std::string(kNameTakenText));
            return TRUE;
        }
        installer.printerQueueName = std::move(typed);
        dialog.Invalidate();
        dialog.EndDialog(IDOK);
        return TRUE;
    }
    case IDCANCEL:
        dialog.Invalidate();
        dialog.EndDialog(IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace tl
