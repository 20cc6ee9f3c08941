#include "destination/font_select.h"
#include "resources/control_ids.h"

#include "destination/drive_change_dialogs.h"
#include "dialogs/dialog_utils.h"
#include "state/inf_query.h"
#include "state/installer.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

namespace tl {

namespace {

// The dialog's labels and buttons and their texts.
constexpr std::array<std::pair<int, unsigned>, 8> kFontTexts{{
    {133, 196},
    {134, 197},
    {135, 198},
    {136, 199},
    {137, 200},
    {IDOK, 201},
    {kF3ExitButtonId, 202},
    {kHelpButtonId, 203},
}};

constexpr std::array<unsigned, 8> kHelpTexts{115, 116, 117, 118, 119, 120, 121, 122};

// A help text longer than this is cut: the eight texts together are far shorter.
constexpr std::size_t kHelpLimit = 2048;

constexpr std::string_view kTooManyFontsKey = "Too many fonts are selected";

char DriveLetter(std::string_view path) {
    if (path.empty()) {
        return '\0';
    }
    const char letter = path[0];
    return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
}

bool FontAndWindowsShareDrive(const Installer& installer) {
    return DriveLetter(installer.paths.fontDir) == DriveLetter(installer.paths.windowsDir);
}

std::string Replaced(std::string text, char from, char to) {
    std::replace(text.begin(), text.end(), from, to);
    return text;
}

// a + b held at the limit: a figure that large needs more than any drive has.
std::int64_t SaturatingSum(std::int64_t a, std::int64_t b) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    return a > kMax - b ? kMax : a + b;
}

// A size from "NEEDED.SPACE" in kilobytes; a negative one frees nothing and counts as 0.
std::int64_t SizeKb(std::string_view text) {
    return std::max<std::int64_t>(ParseSpaceNeeded(text), 0);
}

// Free bytes cover `kilobytes` of 1,000 bytes.
bool Covers(std::uint64_t freeBytes, std::int64_t kilobytes) {
    return static_cast<std::uint64_t>(kilobytes) <= freeBytes / 1000;
}

void ShowInvalidDrive(Installer& installer, DialogWindow& dialog, std::string_view path) {
    const std::string text = LoadTextCopy(TextId::Drive) + std::string(path.substr(0, 1)) +
                             LoadTextCopy(TextId::InvalidDriveTail);
    installer.windows.MessageBox(dialog.Handle(), text, LoadTextCopy(TextId::WarningCaption),
                                 MB_OK | MB_ICONHAND, MessageKey(TextId::InvalidDriveTail));
}

// Reads both drives' free space again (the Windows drive only when it is another drive), with
// a message for a drive that cannot be read. False after such a message.
bool RereadFreeSpace(Installer& installer, DialogWindow& dialog) {
    const Paths& paths = installer.paths;
    if (!ShowFreeSpace(installer, dialog, paths.fontDir, kFontFreeId, SpaceCheckDir::Font)) {
        ShowInvalidDrive(installer, dialog, paths.fontDir);
        return false;
    }
    // A new font directory leaves the columns as they were shown: a Windows drive without a
    // column of its own is counted but not shown.
    const int windowsFreeId = dialog.GetItemText(kWindowsDriveId, 2).empty() ? 0 : kWindowsFreeId;
    if (!FontAndWindowsShareDrive(installer) &&
        !ShowFreeSpace(installer, dialog, paths.windowsDir, windowsFreeId,
                       SpaceCheckDir::Windows)) {
        ShowInvalidDrive(installer, dialog, paths.windowsDir);
        return false;
    }
    return true;
}

bool EnoughSpace(const Installer& installer) {
    const FontSelectionState& state = installer.fontSelection;
    // One drive holds both parts of the selection: it must hold their sum, the figure shown.
    if (FontAndWindowsShareDrive(installer)) {
        return Covers(state.fontDriveFreeBytes,
                      SaturatingSum(state.fontTotalKb, state.windowsTotalKb));
    }
    return Covers(state.fontDriveFreeBytes, state.fontTotalKb) &&
           Covers(state.windowsDriveFreeBytes, state.windowsTotalKb);
}

void EndFontDialog(Installer& installer, DialogWindow& dialog, INT_PTR result) {
    dialog.EndDialog(result);
    RemoveF3Hook(installer.windows, installer.dialogUtils);
    installer.dialogUtils.f3Dialog = WindowHandle{};
}

// Opens the dialog: labels, the drives and their free space, the fonts and what they need.
// When a drive cannot be read the dialog offers only Exit.
void OpenFontDialog(Installer& installer, DialogWindow& dialog) {
    const Paths& paths = installer.paths;
    CentreWindow(installer.windows, dialog.Handle());
    dialog.SetItemText(kFontDriveId, std::string(1, DriveLetter(paths.fontDir)) + ":");
    dialog.SetItemText(kFontNeededId, "0");
    for (const auto& [id, text] : kFontTexts) {
        dialog.SetItemText(id, LoadTextCopy(text));
    }
    dialog.SetCaption(LoadTextCopy(TextId::InstallCaption));

    installer.dialogUtils.f3Dialog = dialog.Handle();
    InstallF3Hook(installer.windows, installer.dialogUtils);

    if (!ShowFreeSpace(installer, dialog, paths.fontDir, kFontFreeId, SpaceCheckDir::Font)) {
        ShowInvalidDrive(installer, dialog, paths.fontDir);
        dialog.EnableItem(IDOK, false);
        return;
    }
    if (DriveLetter(paths.fontDir) != DriveLetter(paths.systemDir)) {
        dialog.SetItemText(kWindowsDriveId,
                           std::string(1, DriveLetter(paths.systemDir)) + ":[Windows]");
        dialog.SetItemText(kWindowsNeededId, "0");
        dialog.SetItemText(kWindowsNeededUnitId, "K");
        if (!ShowFreeSpace(installer, dialog, paths.windowsDir, kWindowsFreeId,
                           SpaceCheckDir::Windows)) {
            ShowInvalidDrive(installer, dialog, paths.windowsDir);
            dialog.EnableItem(IDOK, false);
            return;
        }
        dialog.SetItemText(kWindowsFreeUnitId, "K");
    }
    FillFontList(installer, dialog, kFontListId);
    ComputeFontSpace(installer, dialog, kFontListId);
}

// The selection must fit the selected-font list whole; names left out are named to the user,
// who deselects some fonts. True when everything fits.
bool ReportFontsLeftOut(Installer& installer, DialogWindow& dialog) {
    const std::vector<std::string> leftOut = CollectSelectedFonts(installer, dialog, kFontListId);
    if (leftOut.empty()) {
        return true;
    }
    std::string text = std::string(kTooManyFontsKey) + ". Deselect some of these fonts:";
    for (const std::string& name : leftOut) {
        text += "\n" + Replaced(name, '_', ' ');
    }
    installer.windows.MessageBox(dialog.Handle(), text, "Warning", MB_OK | MB_ICONEXCLAMATION,
                                 std::string(kTooManyFontsKey));
    return false;
}

void Continue(Installer& installer, DialogWindow& dialog) {
    if (!ReportFontsLeftOut(installer, dialog)) {
        return;
    }
    const int result = CheckFontSpace(installer, dialog);
    if (result == kFontsFit) {
        EndFontDialog(installer, dialog, 1);
        CollectSelectedFonts(installer, dialog, kFontListId);
        return;
    }
    if (result == 0) {
        EndFontDialog(installer, dialog, 0);
    }
}

} // namespace

SpaceValue SplitSpaceValue(std::string_view value) {
    SpaceValue parts;
    const std::size_t first = value.find(',');
    parts.size = std::string(value.substr(0, first));
    if (first == std::string_view::npos) {
        return parts;
    }
    const std::string_view rest = value.substr(first + 1);
    const std::size_t second = rest.find(',');
    parts.place = std::string(rest.substr(0, second));
    if (second != std::string_view::npos) {
        parts.secondSize = std::string(rest.substr(second + 1));
    }
    return parts;
}

int FillFontList(Installer& installer, DialogWindow& dialog, int listId) {
    std::string fonts;
    GetInfDotted(installer.scripts, LoadTextCopy(TextId::FontListKey), fonts);
    std::size_t start = 0;
    while (start < fonts.size()) {
        const std::size_t comma = std::min(fonts.find(',', start), fonts.size());
        dialog.ListAdd(listId, Replaced(fonts.substr(start, comma - start), '_', ' '));
        start = comma + 1;
    }
    dialog.ListSetSel(listId, true, -1);
    return dialog.ListCount(listId);
}

std::vector<std::string> SelectedFontNames(const DialogWindow& dialog, int listId) {
    std::vector<std::string> names;
    const int count = dialog.ListCount(listId);
    for (int index = 0; index < count; ++index) {
        if (dialog.ListGetSel(listId, index)) {
            names.push_back(Replaced(dialog.ListText(listId, index), ' ', '_'));
        }
    }
    return names;
}

std::vector<std::string> CollectSelectedFonts(Installer& installer, DialogWindow& dialog,
                                              int listId) {
    std::string& list = installer.fontSelection.selectedFonts;
    list.clear();
    std::vector<std::string> leftOut;
    bool first = true;
    for (std::string& name : SelectedFontNames(dialog, listId)) {
        const std::size_t length = list.size() + (first ? 0 : 1) + name.size();
        if (!leftOut.empty() || length > kMaxSelectedFontsLength) {
            leftOut.push_back(std::move(name));
            continue;
        }
        if (!first) {
            list += ',';
        }
        list += name;
        first = false;
    }
    return leftOut;
}

void ComputeFontSpace(Installer& installer, DialogWindow& dialog, int listId) {
    FontSelectionState& state = installer.fontSelection;
    state.fontTotalKb = 0;
    state.windowsTotalKb = 0;
    CollectSelectedFonts(installer, dialog, listId);

    // Every selected font counts, also one left out of a selected-font list that is too long:
    // the figures describe the selection the user sees.
    const std::string section = LoadTextCopy(TextId::NeededSpaceSection);
    for (const std::string& name : SelectedFontNames(dialog, listId)) {
        std::string value;
        if (!GetInfKey(installer.scripts, std::nullopt, section, name, value)) {
            continue; // needs nothing
        }
        const SpaceValue parts = SplitSpaceValue(value);
        const std::int64_t size = SizeKb(parts.size);
        if (parts.place == "0") {
            state.fontTotalKb = SaturatingSum(state.fontTotalKb, size);
        } else if (parts.place == "1") {
            state.windowsTotalKb = SaturatingSum(state.windowsTotalKb, size);
        } else if (parts.place == "2") {
            state.fontTotalKb = SaturatingSum(state.fontTotalKb, size);
            state.windowsTotalKb = SaturatingSum(state.windowsTotalKb, SizeKb(parts.secondSize));
        }
    }

    if (FontAndWindowsShareDrive(installer)) {
        dialog.SetItemText(kFontNeededId,
                           std::to_string(SaturatingSum(state.fontTotalKb, state.windowsTotalKb)));
    } else {
        dialog.SetItemText(kFontNeededId, std::to_string(state.fontTotalKb));
        dialog.SetItemText(kWindowsNeededId, std::to_string(state.windowsTotalKb));
    }
    if (state.fontTotalKb == 0 && state.windowsTotalKb == 0) {
        dialog.EnableItem(IDOK, false);
    }
}

bool ShowFreeSpace(Installer& installer, DialogWindow& dialog, std::string_view path, int controlId,
                   SpaceCheckDir which) {
    std::string root(path.substr(0, 3));
    if (root.size() >= 2 && root[1] == ':') {
        root = root.substr(0, 2) + "\\";
    }
    const std::optional<std::uint64_t> freeBytes = GetDriveFreeSpace(installer.platform, root);
    if (!freeBytes) {
        return false;
    }
    FontSelectionState& state = installer.fontSelection;
    (which == SpaceCheckDir::Font ? state.fontDriveFreeBytes : state.windowsDriveFreeBytes) =
        *freeBytes;
    if (controlId != 0) {
        dialog.SetItemText(controlId, std::to_string(*freeBytes / 1000));
    }
    return true;
}

int CheckFontSpace(Installer& installer, DialogWindow& dialog) {
    for (bool firstPass = true;; firstPass = false) {
        if (!firstPass && !RereadFreeSpace(installer, dialog)) {
            return 0;
        }
        if (EnoughSpace(installer)) {
            return kFontsFit;
        }
        const INT_PTR answer = ShowModalDialog(
            installer.windows, dialog.Handle(),
            [&installer](DialogWindow& warning, UINT message, WPARAM wParam, LPARAM lParam) {
                return Enough_Size(installer, warning, message, wParam, lParam);
            },
            "KEIKOKU");
        if (answer == kChangeFonts) {
            return kChangeFontSelection;
        }
        if (answer != kNewFontDirectory) {
            dialog.EndDialog(0);
            return 0;
        }
    }
}

void ShowFontHelp(Installer& installer, DialogWindow& dialog, std::span<const unsigned> ids) {
    std::string text;
    for (const unsigned id : ids) {
        text += LoadTextCopy(id);
    }
    text.resize(std::min(text.size(), kHelpLimit - 1));
    installer.windows.MessageBox(dialog.Handle(), text, LoadTextCopy(TextId::InstallCaption),
                                 MB_OK | MB_TASKMODAL, MessageKey(ids.empty() ? 0 : ids[0]));
}

INT_PTR FONT_Set(Installer& installer, DialogWindow& dialog, UINT message, WPARAM wParam,
                 LPARAM /*lParam*/) {
    if (message == WM_INITDIALOG) {
        OpenFontDialog(installer, dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    switch (LoWord(wParam)) {
    case kFontListId:
        if (HiWord(wParam) != LBN_SELCHANGE) {
            return FALSE;
        }
        dialog.EnableItem(IDOK, true);
        ComputeFontSpace(installer, dialog, kFontListId);
        return TRUE;
    case IDOK:
        Continue(installer, dialog);
        return TRUE;
    case kHelpButtonId:
        ShowFontHelp(installer, dialog, kHelpTexts);
        return TRUE;
    case kF3ExitButtonId:
    case IDCANCEL:
        if (ConfirmCancel(installer.windows, dialog.Handle(), installer.installationState) ==
            IDYES) {
            EndFontDialog(installer, dialog, 0);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace tl
