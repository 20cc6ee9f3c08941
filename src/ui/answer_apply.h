// Acting on an open dialog the way its answers say: a value for one control, then the button to
// press. Shared by the unattended frontend and the terminal one.
#pragma once

#include "platform/code_page.h"
#include "platform/frontend.h"

#include <optional>
#include <string>
#include <string_view>

namespace tl::ui {

// Applies one value (UTF-8) to control `id`: an edit gets it typed, a list box gets exactly the
// comma-separated items selected, a radio button or check box is checked by 1 and cleared by 0.
// An error says why a user could not do it.
std::optional<std::string> ApplyControlAnswer(DialogDriver& dialog, int id,
                                              std::string_view utf8Value, const CodePage& codePage);

// Presses a button by id, or "Enter" (the default button), or "Escape" (command 2). Pressing 2
// in a dialog without a control 2 is the Escape key.
std::optional<std::string> PressAnswer(DialogDriver& dialog, std::string_view press);

// The dialog's name and, from its second opening on, which opening it is: "FONT", "DIRECTORY#2".
std::string DialogLabel(const DialogDriver& dialog);

} // namespace tl::ui
