// Finding the install disk that holds a font: the tag file that identifies a disk, the
// insert-disk message, and the SELECTDRIVE dialog in which the user names another place.
#pragma once

#include "platform/dialog_window.h"
#include "platform/window_types.h"
#include "resources/control_ids.h"
#include "resources/text_id.h"

#include <string>
#include <string_view>

namespace tl {

struct Installer;

inline constexpr std::string_view kSelectDriveTemplate = "SelectDrive";
// The string-table entry that names disk n's section ("DISK1" ... "DISK9") is this + n.

// "Insert <label> into the disk drive", the label taken from field `field` of the first line of
// the disk section that string `sectionTextId` names in the current setup script; in another
// language than English only the label's number part follows the language's word for a disk.
// The message box's result, or 0 without a message when the section is missing.
int PromptForDisk(Installer& installer, WindowHandle owner, int field, unsigned sectionTextId);

// The directory that the SELECTDRIVE edit shows for a tag path: "a:\TAG" shows "a:\",
// "D:\FONTS\TAG" shows "D:\FONTS", a path without "\" shows nothing.
std::string SelectDriveEditText(std::string_view tagPath);

// SELECTDRIVE: ends with 1 once the user typed a path that exists (kept as the alternative font
// source's path) or 0 on Cancel.
INT_PTR SelectDrvProc(Installer& installer, DialogWindow& dialog, UINT message, WPARAM wParam,
                      LPARAM lParam);

// Makes sure the disk of a font entry (index `index` in the copy list, disk `disk`) is at hand,
// updating the run's `currentDisk`, the disk in drive and the disk counter. True to go on; false
// for the cancellation exit (the user cancelled, or the disk is not described).
[[nodiscard]] bool CheckFontDisk(Installer& installer, WindowHandle owner, int index, int disk,
                                 int& currentDisk);

} // namespace tl
