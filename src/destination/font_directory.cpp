#include "destination/font_directory.h"

#include "destination/disk_space.h"
#include "dialogs/dialog_utils.h"
#include "state/inf_query.h"
#include "state/installer.h"
#include "text/disk_name.h"

#include <algorithm>

namespace tl {

namespace {

// More than any acceptable directory, so that a longer one is seen and refused, never cut.
constexpr int kEditReadLimit = 1024;
// The longest path the system's ANSI file calls take (MAX_PATH less the NUL).
constexpr std::size_t kMaxPathLength = 259;
// What the copy adds to a font's name for the file it writes first.
constexpr std::size_t kTemporarySuffixLength = 4; // ".TMP"

// Makes every level of `path` from the first one below the root on: a level that cannot be
// entered is created, then entered, so that the current directory ends at the last level.
// Empty levels (two "\" in a row, a trailing "\") are passed over.
bool CreateDirectoryLevels(Storage& storage, std::string_view path) {
    for (std::size_t end = 3; end <= path.size(); ++end) {
        if (end < path.size() && path[end] != '\\') {
            continue;
        }
        if (path[end - 1] == '\\') {
            continue;
        }
        const std::string_view level = path.substr(0, end);
        if (storage.SetCurrentDirectory(level)) {
            continue;
        }
        if (!storage.CreateDirectory(level)) {
            return false;
        }
        storage.SetCurrentDirectory(level);
    }
    return true;
}

// The longest font file name the setup script offers: every "d:file" field of the sections
// "<font>.TrueType" of the fonts in TRUETYPEFONTS.FONTLIST ("_" there stands for a blank, as in
// the section names).
std::size_t LongestFontFileName(const SetupScripts& scripts) {
    std::string fonts;
    GetInfDotted(scripts, LoadTextCopy(TextId::FontListKey), fonts);
    std::size_t longest = 0;
    std::size_t start = 0;
    while (start < fonts.size()) {
        const std::size_t comma = std::min(fonts.find(',', start), fonts.size());
        std::string font = fonts.substr(start, comma - start);
        font.erase(0, font.find_first_not_of(" \t\""));
        font.erase(font.find_last_not_of(" \t\"") + 1);
        const std::string section = font + ".TrueType";
        start = comma + 1;
        for (auto line = FindInfSection(scripts, std::nullopt, section); line;
             line = NextInfLine(scripts, line)) {
            std::string field;
            for (int n = 1; GetInfField(scripts, *line, n, field); ++n) {
                if (field.size() > 2 && field[0] >= '1' && field[0] <= '9')
                    longest = std::max(longest, field.size() - 2);
            }
        }
    }
    return longest;
}

} // namespace

std::size_t MaxFontDirLength(std::size_t longestName) {
    const std::size_t needed = 1 + longestName + kTemporarySuffixLength;
    if (needed >= kMaxPathLength)
        return 0;
    return std::min(kMaxFontDirLength, kMaxPathLength - needed);
}

std::string ResolveFontDirectory(std::string_view typed, std::string_view windowsDir,
                                 std::string_view systemDir) {
    if (typed.empty()) {
        return std::string(systemDir);
    }
    if (typed[0] == '\\') {
        return std::string(windowsDir.substr(0, 2)) + std::string(typed);
    }
    if (typed.size() < 2 || typed[1] != ':') {
        return std::string(systemDir) + "\\" + std::string(typed);
    }
    return std::string(typed);
}

namespace {

// Checks the directory now in paths.fontDir, reporting why it is refused.
bool FontDirectoryUsable(Installer& installer, DialogWindow& dialog) {
    const std::string& fontDir = installer.paths.fontDir;
    // Only a path on a drive letter, with no device among its levels, can hold the fonts the
    // registry then names.
    if (!IsUsableDirectoryPath(fontDir)) {
        ReportCannotCreateDirectory(installer, dialog.Handle());
        return false;
    }
    installer.destination.spaceNeeded = "1";
    if (!CheckDriveSpace(installer, dialog.Handle(), WriteProbe::Test, SpaceCheckDir::Font)) {
        return false;
    }
    // A path without "\" ("C:FONTS") depends on the drive's current directory; a path beyond
    // the system's length cannot hold the fonts' names and the copy's temporary names.
    if (fontDir.find('\\') == std::string::npos ||
        fontDir.size() > MaxFontDirLength(LongestFontFileName(installer.scripts)) ||
        !CreateDirectoryLevels(installer.platform.storage, fontDir)) {
        ReportCannotCreateDirectory(installer, dialog.Handle());
        return false;
    }
    return true;
}

} // namespace

bool AcceptFontDirectory(Installer& installer, DialogWindow& dialog) {
    Paths& paths = installer.paths;
    std::string before = paths.fontDir;
    paths.fontDir = ResolveFontDirectory(dialog.GetItemText(kFontDirEditId, kEditReadLimit),
                                         paths.windowsDir, paths.systemDir);
    if (FontDirectoryUsable(installer, dialog)) {
        return true;
    }
    // A refused directory is never in force: a Cancel after it keeps the one before.
    paths.fontDir = std::move(before);
    return false;
}

void ReportCannotCreateDirectory(Installer& installer, WindowHandle owner) {
    const std::string text = LoadTextCopy(TextId::CannotCreateDirectory) +
                             LoadTextCopy(TextId::EnterFullPath) + installer.paths.fontDir;
    installer.windows.MessageBox(owner, text, LoadTextCopy(TextId::InstallCaption),
                                 MB_OK | MB_ICONHAND, MessageKey(TextId::CannotCreateDirectory));
}

void SelectWholeDirectoryText(Installer& installer, DialogWindow& dialog) {
    const std::string& directory = installer.paths.fontDir;
    dialog.SetItemText(kFontDirEditId, directory);
    dialog.SetFocus(kFontDirEditId);
    dialog.SelectText(kFontDirEditId, 0, static_cast<int>(directory.size()));
}

} // namespace tl
