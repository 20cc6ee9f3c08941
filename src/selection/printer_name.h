// The printer's name: whether a driver of the chosen model's name is installed already and, when
// it is, a name for the new printer that no printer has yet, proposed with a copy number and
// confirmed or changed by the user in the PRINTERNAME dialog. The result is the printer queue
// name; empty means the printer is named after its driver.
#pragma once

#include "platform/dialog_window.h"
#include "platform/window_types.h"

#include <string>
#include <string_view>

namespace tl {

struct Installer;

// The longest name proposed or typed for a printer.
inline constexpr std::size_t kPrinterQueueNameMax = 31;

// Whether the spooler lists a printer driver of this name (case ignored). Empties the printer
// queue name either way. A failed enumeration counts as not installed.
bool IsDriverInstalled(Installer& installer, std::string_view printerName);

// Whether a local printer has this name (case ignored). A failed enumeration counts as not taken.
bool IsPrinterNameTaken(Installer& installer, std::string_view name);

// Appends " (Copy n)", first cutting the name so that both together keep to 31 characters. The
// cut never splits a double-byte character.
void AppendCopyNumber(std::string& name, int number);

// Proposes a free printer queue name and, when the printer name itself is taken, lets the user
// confirm or change it. 0 when the user cancelled the installation, else nonzero.
INT_PTR ChoosePrinterName(Installer& installer, WindowHandle owner, std::string_view printerName);

// The PRINTERNAME dialog: ends with 1 (name accepted, stored as the printer queue name) or 2.
INT_PTR PrinterNameDlgProc(Installer& installer, DialogWindow& dialog, UINT message, WPARAM wParam,
                           LPARAM lParam);

} // namespace tl
