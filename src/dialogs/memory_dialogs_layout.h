// The layouts of the two dialogs that are built in memory because their size depends on data
// known only at run time: the choice dialog (one button per choice, 1 to 9) and the restart
// dialog WIN_RESTART (as wide as one message needs). Dialog units throughout.
#pragma once

#include "resources/dialog_template_builder.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tl {

inline constexpr DWORD kInMemoryDialogStyle = 0x10C800C4; // visible, caption, system menu,
                                                          // modal frame, DS_SETFONT, 3-D look
inline constexpr WORD kInMemoryDialogPointSize = 8;
inline constexpr DWORD kDefPushButtonStyle = 0x50010001;
inline constexpr DWORD kPushButtonStyle = 0x50010000;
inline constexpr DWORD kStaticTextStyle = 0x50000000;
inline constexpr DWORD kAutoRadioButton = 9;

inline constexpr std::size_t kMaxChoices = 9;
inline constexpr WORD kFirstChoiceId = 20;
inline constexpr WORD kChoiceQuestionId = 3;

inline constexpr WORD kRestartButtonId = 1020;
inline constexpr WORD kReturnButtonId = 1021;
inline constexpr WORD kRestartMessageId = 145;
inline constexpr std::string_view kRestartTemplateName = "WIN_RESTART";

// The choice dialog for `choices` names (1 to 9; more are cut to 9, fewer than 1 count as 1):
// OK (1), Cancel (2), the question (3), then choices 20, 21, ... with `itemStyle` added to a
// push button's style. Up to six choices stand in one column, seven to nine in two.
DialogTemplateFields ChoiceDialogTemplate(std::size_t choices, DWORD itemStyle,
                                          const std::u16string& typeface);

// The restart dialog for a return-button text of `returnTextLength` bytes; none for any
// template name other than WIN_RESTART.
std::optional<DialogTemplateFields> RestartDialogTemplate(std::string_view templateName,
                                                          std::size_t returnTextLength,
                                                          const std::u16string& typeface);

// MulDiv: a * b / c rounded to the nearest whole number (halves away from zero); -1 when c is 0.
LONG MulDiv(LONG a, LONG b, LONG c);

// Writes the header and then the items in their order.
bool BuildDialogTemplate(const DialogTemplateFields& fields, DialogTemplateBuilder& builder);

} // namespace tl
