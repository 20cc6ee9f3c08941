// FONT: the dialog in which the user picks the fonts to install from those INSTALL.INF offers.
// It shows, per drive, the space the selection needs and the space free, offers a help text,
// and on Continue checks the space, handing over to KEIKOKU when it does not suffice.
// INSTALL.INF is the current setup script while it runs.
#pragma once

#include "destination/disk_space.h"
#include "platform/dialog_window.h"
#include "resources/control_ids.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

struct Installer;

// What CheckFontSpace decided besides 0 (the user leaves).
inline constexpr int kFontsFit = 100;
inline constexpr int kChangeFontSelection = 2;

// The dialog procedure of template FONT: 1 when fonts were chosen and they fit (the
// selected-font list is filled), 0 when the user left.
INT_PTR FONT_Set(Installer& installer, DialogWindow& dialog, UINT message, WPARAM wParam,
                 LPARAM lParam);

// Fills list `listId` from "TRUETYPEFONTS.FONTLIST" ("_" shown as a blank, empty items kept, a
// final comma adding nothing) and selects every entry. The number of entries.
int FillFontList(Installer& installer, DialogWindow& dialog, int listId);

// The selected entries' names in list order, every blank written as "_".
std::vector<std::string> SelectedFontNames(const DialogWindow& dialog, int listId);

// Writes the selected-font list from the list's selection. Whole names only: the names that
// would take it past its 255 characters are left out and returned (none when all fit).
std::vector<std::string> CollectSelectedFonts(Installer& installer, DialogWindow& dialog,
                                              int listId);

// Recomputes both totals from the selection (through "NEEDED.SPACE"), shows them (one figure
// when the font and Windows directories share a drive) and disables Continue when both are 0.
void ComputeFontSpace(Installer& installer, DialogWindow& dialog, int listId);

// Reads the free space of the drive of `path`, keeps it as the font or Windows drive's and shows
// it in `controlId` (0: nowhere) in kilobytes of 1,000 bytes. True, or false when the drive cannot
// be read.
[[nodiscard]] bool ShowFreeSpace(Installer& installer, DialogWindow& dialog, std::string_view path,
                                 int controlId, SpaceCheckDir which);

// The check behind Continue: kFontsFit, kChangeFontSelection, or 0 when the user leaves (the
// dialog is then ended with 0).
int CheckFontSpace(Installer& installer, DialogWindow& dialog);

// A "NEEDED.SPACE" value "size,place[,second size]" split into its parts.
struct SpaceValue {
    std::string size;
    std::string place;
    std::string secondSize;
};
SpaceValue SplitSpaceValue(std::string_view value);

// The texts `ids` joined into one task-modal message without an icon.
void ShowFontHelp(Installer& installer, DialogWindow& dialog, std::span<const unsigned> ids);

} // namespace tl
