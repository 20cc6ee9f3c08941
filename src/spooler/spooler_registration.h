// Making the installed driver known to the print spooler: the model's print processor and language
// monitor when its catalogue names them, the printer driver, then one printer on LPT1:.
#pragma once

#include "platform/window_types.h"

#include <string>
#include <string_view>

namespace tl {

struct Installer;
class CopyList;
class RenameList;

// The port the new printer is added on.
inline constexpr std::string_view kPrinterPort = "LPT1:";

// The driver's dependent files as the spooler takes them (each name NUL-terminated, an empty name
// at the end): one name for every copy-list entry, skipped ones included, in list order. A
// two-name entry lists the name it was stored under, the next name of the rename list; every
// other entry (and a two-name entry whose rename name is missing) lists its own file name.
std::string DependentFiles(const CopyList& copyList, const RenameList& renames);

// Registers everything with the spooler for "Windows 4.0" and consumes the catalogue's driver data
// block (it is released whatever the outcome). True when the installation goes on; false when
// there was no driver data block, when the printer's name was taken and the user cancelled the
// installation in the PRINTERNAME dialog, or when the spooler refused the print processor, the
// language monitor (other than as already installed), the driver or the printer (other than for a
// taken name): each refusal is an error event naming the call, the name and the error code, and
// nothing after it is registered. What was registered before stays.
[[nodiscard]] bool RegisterWithSpooler(Installer& installer, WindowHandle owner);

} // namespace tl
