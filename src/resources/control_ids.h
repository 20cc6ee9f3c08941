// The ids of the controls that the dialog procedures address, named once for the templates
// (resources/dialog_templates.cpp) and the code that reads and fills the controls.
#pragma once

namespace tl {

// SELECTDRV
inline constexpr int kModelListLabelId = 146;
inline constexpr int kSelectDriverPromptId = 147;
inline constexpr int kModelListId = 119;
// PRINTERNAME
inline constexpr int kPrinterNameId = 2107;
inline constexpr int kPrinterNameExplanationId = 151;
inline constexpr int kPrinterNameLabelId = 152;
inline constexpr int kQueueNameEditId = 1006;
// VER_CHECK
inline constexpr int kVersionTextId = 120;
// CONFIRMDLG
inline constexpr int kConfirmFileNameId = 2106;
inline constexpr int kConfirmExistsId = 149;
inline constexpr int kConfirmQuestionId = 150;
// DIRECTORY and CHANGE
inline constexpr int kDirectoryPromptId = 131;
inline constexpr int kLocationLabelId = 132;
inline constexpr int kFontDirEditId = 117;
inline constexpr int kChangeLocationLabelId = 139;
// FONT
inline constexpr int kFontListId = 110;
inline constexpr int kHelpButtonId = 111;
inline constexpr int kFontNeededId = 112;
inline constexpr int kWindowsNeededId = 113;
inline constexpr int kFontFreeId = 125;
inline constexpr int kWindowsFreeId = 126;
inline constexpr int kFontDriveId = 127;
inline constexpr int kWindowsDriveId = 128;
inline constexpr int kWindowsNeededUnitId = 129;
inline constexpr int kWindowsFreeUnitId = 130;
// SELECTDRIVE
inline constexpr int kSelectDrivePathId = 650;
inline constexpr int kSelectDriveListId = 651;
inline constexpr int kSelectDriveStaticId = 652;
// WAITING
inline constexpr int kWaitingTextId = 148;

} // namespace tl
