// Between the dialog templates as data (ANSI texts, control classes) and the fields of a
// DLGTEMPLATE in memory (UTF-16 texts, class ordinals or names): the host's dialog manager makes
// dialogs built in memory from their bytes this way, and the Win32 build writes the named
// templates as DLGTEMPLATE bytes the other way.
#pragma once

#include "platform/code_page.h"
#include "resources/dialog_template_builder.h"
#include "resources/dialog_templates.h"

#include <optional>
#include <span>
#include <string_view>

namespace tl::ui {

// nullopt when the bytes are not a well-formed DLGTEMPLATE or a control names an ordinal class
// that is not one of the predefined ones.
std::optional<DialogTemplate> DialogTemplateFromBytes(std::span<const BYTE> bytes,
                                                      const CodePage& codePage);
std::optional<DialogTemplate> DialogTemplateFromFields(const DialogTemplateFields& fields,
                                                       const CodePage& codePage);
DialogTemplateFields FieldsFromDialogTemplate(const DialogTemplate& dialog,
                                              const CodePage& codePage);

} // namespace tl::ui
