// Language selection: when the catalogue holds several language editions, the user picks one
// with a radio button in the choice dialog built in memory. The answer fixes the manufacturer
// line (which model list the catalogue reads) and the language index.
#pragma once

#include "platform/window_types.h"
#include "resources/text_id.h"
#include "state/language_state.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tl {

struct Installer;
class DialogWindow;

inline constexpr std::size_t kMaxLanguages = 9;
inline constexpr int kFirstChoiceButton = 20;
inline constexpr UINT_PTR kLanguageTimer = 1;
inline constexpr UINT kLanguageTimerMs = 800;

// The radio button's label for language k: its name text up to the first NUL, at most 127
// bytes; empty for a k the installer does not know.
std::string LanguageName(int language);

// The table's names as consecutive NUL-terminated texts, ended by an empty one.
std::string LanguageNames(const std::vector<LanguageEntry>& table);

// The table position shown by choice `choice` (0-based), given the number of entries used and
// English's position when it was moved to the front (-1: nothing moved); and the inverse.
int EntryOfChoice(int choice, int englishPosition);
int ChoiceOfEntry(int entry, int englishPosition);

// The position of the first English entry when the table does not start with English, else -1.
int MovedEnglishPosition(const std::vector<LanguageEntry>& table);

// The dialog procedure: fills every text, checks the saved language's choice and starts the
// timer that brings the dialog to the front once. OK stores the choice and ends with 1; Cancel
// ends with 0.
INT_PTR SelLangProc(Installer& installer, DialogWindow& dialog, UINT message, WPARAM wParam,
                    LPARAM lParam);

// Runs the language dialog over the main window. Above 0: the manufacturer line and the
// language index are set; 0 or less: cancelled or the dialog could not be built.
INT_PTR RunLanguageDialog(Installer& installer, WindowHandle owner);

} // namespace tl
