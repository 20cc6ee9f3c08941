#include "selection/language.h"

#include "dialogs/dialog_utils.h"
#include "dialogs/memory_dialogs.h"
#include "dialogs/memory_dialogs_layout.h"
#include "platform/dialog_window.h"
#include "resources/string_table.h"
#include "state/installer.h"

#include <algorithm>

namespace tl {
namespace {

constexpr int kQuestionStatic = 3;
constexpr std::size_t kLabelMax = 127;

int UsedCount(const LanguageState& state) {
    return static_cast<int>(std::min(state.table.size(), kMaxLanguages));
}

std::string Label(unsigned id) {
    const auto text = LookupString(id);
    if (!text)
        return {};
    std::string_view view = *text;
    view = view.substr(0, std::min(view.find('\0'), kLabelMax));
    return std::string(view);
}

void OpenDialog(Installer& installer, DialogWindow& dialog) {
    CentreWindow(installer.windows, dialog.Handle());
    const auto& table = installer.language.table;
    const int count = UsedCount(installer.language);
    const int english = MovedEnglishPosition(table);

    dialog.SetItemText(kQuestionStatic, Label(Id(TextId::LanguageQuestion)));
    for (int choice = 0; choice < count; ++choice) {
        const auto& entry = table[static_cast<std::size_t>(EntryOfChoice(choice, english))];
        dialog.SetItemText(kFirstChoiceButton + choice, LanguageName(entry.language));
    }
    dialog.SetCaption(Label(Id(TextId::LanguageCaption)));
    dialog.SetItemText(IDOK, Label(Id(TextId::OkButton)));
    dialog.SetItemText(IDCANCEL, Label(Id(TextId::CancelButton)));

    // The saved language's entry is the default, the last one when several editions share it;
    // the first entry when the table lacks it.
    int defaultEntry = 0;
    for (int position = 0; position < count; ++position) {
        if (table[static_cast<std::size_t>(position)].language == installer.languageIndex)
            defaultEntry = position;
    }
    dialog.CheckRadioButton(kFirstChoiceButton, kFirstChoiceButton + count,
                            kFirstChoiceButton + ChoiceOfEntry(defaultEntry, english));
    dialog.SetTimer(kLanguageTimer, kLanguageTimerMs);
}

INT_PTR Accept(Installer& installer, DialogWindow& dialog) {
    const auto& table = installer.language.table;
    const int count = UsedCount(installer.language);
    if (count == 0) {
        dialog.Invalidate();
        dialog.EndDialog(0);
        return TRUE;
    }
    installer.languageIndex = 0;
    int choice = 0; // an automatic radio group always has one checked; the first if not
    for (int candidate = 0; candidate < count; ++candidate) {
        if (dialog.IsButtonChecked(kFirstChoiceButton + candidate) == BST_CHECKED) {
            choice = candidate;
            break;
        }
    }
    const auto& entry =
        table[static_cast<std::size_t>(EntryOfChoice(choice, MovedEnglishPosition(table)))];
    installer.language.manufacturerLine = entry.manufacturerLine;
    installer.languageIndex = entry.language;
    dialog.Invalidate();
    dialog.EndDialog(1);
    return TRUE;
}

} // namespace

std::string LanguageName(int language) {
    if (language < 0 || language >= static_cast<int>(kMaxLanguages))
        return {};
    return Label(Id(TextId::FirstLanguageName) + static_cast<unsigned>(language));
}

std::string LanguageNames(const std::vector<LanguageEntry>& table) {
    std::string names;
    const std::size_t count = std::min(table.size(), kMaxLanguages);
    for (std::size_t i = 0; i < count; ++i) {
        names += LanguageName(table[i].language);
        names += '\0';
    }
    names += '\0';
    return names;
}

int MovedEnglishPosition(const std::vector<LanguageEntry>& table) {
    const std::size_t count = std::min(table.size(), kMaxLanguages);
    if (count == 0 || table[0].language == 0)
        return -1;
    for (std::size_t i = 1; i < count; ++i) {
        if (table[i].language == 0)
            return static_cast<int>(i);
    }
    return -1;
}

int EntryOfChoice(int choice, int englishPosition) {
    if (englishPosition < 0)
        return choice;
    if (choice == 0)
        return englishPosition;
    return choice <= englishPosition ? choice - 1 : choice;
}

int ChoiceOfEntry(int entry, int englishPosition) {
    if (englishPosition < 0)
        return entry;
    if (entry == englishPosition)
        return 0;
    return entry < englishPosition ? entry + 1 : entry;
}

INT_PTR SelLangProc(Installer& installer, DialogWindow& dialog, UINT message, WPARAM wParam,
                    LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        OpenDialog(installer, dialog);
        return TRUE;
    case WM_TIMER:
        // Once, to come in front of the full-screen main window.
        dialog.BringToTop();
        dialog.KillTimer(kLanguageTimer);
        return TRUE;
    case WM_COMMAND:
        if (LoWord(wParam) == IDOK)
            return Accept(installer, dialog);
        if (LoWord(wParam) == IDCANCEL) {
            dialog.Invalidate();
            dialog.EndDialog(0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR RunLanguageDialog(Installer& installer, WindowHandle owner) {
    return RunChoiceDialog(
        installer.windows, installer.platform.codePage, owner,
        LanguageNames(installer.language.table), kAutoRadioButton,
        [&installer](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
            return SelLangProc(installer, dialog, message, wParam, lParam);
        });
}

} // namespace tl
