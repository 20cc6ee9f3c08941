#include "destination/font_directory.h"

#include "destination/disk_space.h"
#include "dialogs/dialog_utils.h"
#include "state/installer.h"
#include "text/disk_name.h"

namespace tl {

namespace {

constexpr unsigned kCannotCreateText = 125;
constexpr unsigned kEnterFullPathText = 126;
constexpr unsigned kInstallCaption = 161;
// More than any acceptable directory, so that a longer one is seen and refused, never cut.
constexpr int kEditReadLimit = 1024;

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

} // namespace

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
    if (!CheckDriveSpace(installer, dialog.Handle(), true, SpaceCheckDir::Font)) {
        return false;
    }
    // A path without "\" ("C:FONTS") depends on the drive's current directory; a path beyond
    // the system's length cannot hold the fonts' names.
    if (fontDir.find('\\') == std::string::npos || fontDir.size() > kMaxFontDirLength ||
        !CreateDirectoryLevels(installer.platform.storage, fontDir)) {
        ReportCannotCreateDirectory(installer, dialog.Handle());
        return false;
    }
    return true;
}

} // namespace

int AcceptFontDirectory(Installer& installer, DialogWindow& dialog) {
    Paths& paths = installer.paths;
    std::string before = paths.fontDir;
    paths.fontDir = ResolveFontDirectory(dialog.GetItemText(kFontDirEditId, kEditReadLimit),
                                         paths.windowsDir, paths.systemDir);
    if (FontDirectoryUsable(installer, dialog)) {
        return 1;
    }
    // A refused directory is never in force: a Cancel after it keeps the one before.
    paths.fontDir = std::move(before);
    return 0;
}

void ReportCannotCreateDirectory(Installer& installer, WindowHandle owner) {
    const std::string text = LoadTextCopy(kCannotCreateText) + LoadTextCopy(kEnterFullPathText) +
                             installer.paths.fontDir;
    installer.windows.MessageBox(owner, text, LoadTextCopy(kInstallCaption), MB_OK | MB_ICONHAND,
                                 MessageKey(kCannotCreateText));
}

void SelectWholeDirectoryText(Installer& installer, DialogWindow& dialog) {
    const std::string& directory = installer.paths.fontDir;
    dialog.SetItemText(kFontDirEditId, directory);
    dialog.SetFocus(kFontDirEditId);
    dialog.SelectText(kFontDirEditId, 0, static_cast<int>(directory.size()));
}

} // namespace tl
