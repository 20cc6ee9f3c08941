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

int AcceptFontDirectory(Installer& installer, DialogWindow& dialog) {
    Paths& paths = installer.paths;
    paths.fontDir = ResolveFontDirectory(dialog.GetItemText(kFontDirEditId, kEditReadLimit),
                                         paths.windowsDir, paths.systemDir);
    // Only a path on a drive letter, with no device among its levels, can hold the fonts the
    // registry then names.
    if (!IsUsableDirectoryPath(paths.fontDir)) {
        ReportCannotCreateDirectory(installer, dialog.Handle());
        return 0;
    }

    installer.destination.spaceNeeded = "1";
    if (!CheckDriveSpace(installer, dialog.Handle(), true, SpaceCheckDir::Font)) {
        return 0;
    }
    // A path without "\" ("C:FONTS") depends on the drive's current directory; a path beyond
    // the system's length cannot hold the fonts' names.
    if (paths.fontDir.find('\\') == std::string::npos || paths.fontDir.size() > kMaxFontDirLength) {
        ReportCannotCreateDirectory(installer, dialog.Handle());
        return 0;
    }
    if (!CreateDirectoryLevels(installer.platform.storage, paths.fontDir)) {
        ReportCannotCreateDirectory(installer, dialog.Handle());
        return 0;
    }
    return 1;
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
