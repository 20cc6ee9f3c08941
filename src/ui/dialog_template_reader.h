// Reads a dialog template in the Win32 in-memory form (a DLGTEMPLATE header followed by
// DLGITEMTEMPLATE items, each on a 4-byte boundary, with UTF-16 menu, class, caption, font and
// item texts) into the template data the host dialog manager makes dialogs from.
#pragma once

#include "resources/dialog_templates.h"

#include <functional>
#include <optional>
#include <span>
#include <string>

namespace tl::ui {

// Turns UTF-16 text into ANSI (code page 949); nullopt when it cannot be represented.
using Utf16ToAnsi = std::function<std::optional<std::string>(std::u16string_view)>;

// Keeps ASCII and refuses anything else: enough for templates without texts of their own.
std::optional<std::string> AsciiOnly(std::u16string_view text);

// nullopt for bytes that are not a complete, well-formed DLGTEMPLATE (truncated, an extended
// DLGTEMPLATEEX, more items than bytes, a text without its terminating NUL, an unknown class
// ordinal). Menu and class ordinals are kept as "#<number>".
std::optional<DialogTemplate> ReadDialogTemplate(std::span<const BYTE> bytes,
                                                 const Utf16ToAnsi& toAnsi = AsciiOnly);

} // namespace tl::ui
