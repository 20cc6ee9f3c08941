// The font directory a user types: resolved against the Windows and system directories, its
// drive checked, and every missing level of it created.
#pragma once

#include "platform/dialog_window.h"
#include "resources/control_ids.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tl {

struct Installer;

// The longest resolved font directory: room is left for "\", an 8.3 font name and the NUL
// within the system's 260-byte paths.
inline constexpr std::size_t kMaxFontDirLength = 246;

// The longest font directory that holds `longestName` and the copy's temporary name for it
// ("NAME.TMP") within the system's paths, and never more than kMaxFontDirLength.
std::size_t MaxFontDirLength(std::size_t longestName);

// A typed directory as the installer reads it: empty is the system directory; "\TTF" lies on
// the Windows directory's drive; a text without a drive ("TTF") lies under the system
// directory; anything with a drive stays as typed.
std::string ResolveFontDirectory(std::string_view typed, std::string_view windowsDir,
                                 std::string_view systemDir);

// Reads edit control 117 of `dialog`, resolves it into the font directory, checks its drive
// (room for 1 KB, writable) and creates its levels, leaving the current directory there.
// True, or false after a message (the levels made before a failure stay, and so does the font
// directory in force before: a refused one never is).
[[nodiscard]] bool AcceptFontDirectory(Installer& installer, DialogWindow& dialog);

// "Cannot create the directory; enter the full path" and the font directory.
void ReportCannotCreateDirectory(Installer& installer, WindowHandle owner);

// Puts the font directory into edit control 117, focuses it and selects all of it.
void SelectWholeDirectoryText(Installer& installer, DialogWindow& dialog);

} // namespace tl
