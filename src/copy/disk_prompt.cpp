#include "copy/disk_prompt.h"

#include "dialogs/dialog_utils.h"
#include "platform/file_system.h"
#include "platform/system.h"
#include "platform/window_system.h"
#include "state/inf_query.h"
#include "state/installer.h"
#include "text/disk_name.h"

#include <array>

namespace tl {

namespace {

constexpr unsigned kSelectDriveTexts[] = {227, 228, 229};
constexpr int kSelectDriveTextIds[] = {153, 154, 155};
constexpr int kEditLimit = 260;
constexpr int kEditReadLimit = 268;
constexpr int kTagFileField = 2;
constexpr int kFirstDisk = 1;
constexpr int kLastDisk = 9;

// The word for "disk" by language index (0 English takes the label whole and has none).
constexpr std::array<std::string_view, 9> kDiskWords = {
    "", "disquette", "diskette", "diskette", "disketten", "disketten", "", "", ""};

bool FileExists(FileSystem& files, std::string_view path) {
    const DWORD attributes = files.GetFileAttributes(path);
    return attributes != kInvalidFileAttributes && (attributes & kFileAttributeDirectory) == 0;
}

// The number part of a disk label: from the character before its first "#" ("Disk #2" gives
// " #2"), or its last character when it has no "#".
std::string_view LabelTail(std::string_view label) {
    const std::size_t hash = label.find('#');
    if (hash == std::string_view::npos) {
        return label.empty() ? label : label.substr(label.size() - 1);
    }
    return label.substr(hash == 0 ? 0 : hash - 1);
}

void Warn(Installer& installer, WindowHandle owner, unsigned textId) {
    installer.windows.MessageBox(owner, LoadTextCopy(textId), LoadTextCopy(TextId::CautionCaption),
                                 MB_OK | MB_ICONEXCLAMATION, MessageKey(textId));
}

} // namespace

int PromptForDisk(Installer& installer, WindowHandle owner, int field, unsigned sectionTextId) {
    std::string text = LoadTextCopy(TextId::InsertDisk);
    const std::optional<InfLine> line =
        FindInfSection(installer.scripts, std::nullopt, LoadTextCopy(sectionTextId));
    if (!line) {
        return 0;
    }
    std::string label;
    GetInfField(installer.scripts, line, field, label);
    const int language = installer.languageIndex;
    if (language <= 0 || static_cast<std::size_t>(language) >= kDiskWords.size()) {
        text += label;
    } else {
        text += kDiskWords[static_cast<std::size_t>(language)];
        text += LabelTail(label);
    }
    text += LoadTextCopy(TextId::IntoDrive);
    const int result = installer.windows.MessageBox(
        owner, text, LoadTextCopy(TextId::InstallCaption), MB_OK, MessageKey(TextId::InsertDisk));
    installer.windows.UpdateWindow(owner);
    return result;
}

std::string SelectDriveEditText(std::string_view tagPath) {
    const std::size_t slash = tagPath.rfind('\\');
    if (slash == std::string_view::npos) {
        return {};
    }
    if (slash != 0 && tagPath[slash - 1] != ':') {
        return std::string(tagPath.substr(0, slash));
    }
    return std::string(tagPath.substr(0, slash + 1));
}

INT_PTR SelectDrvProc(Installer& installer, DialogWindow& dialog, UINT message, WPARAM wParam,
                      LPARAM) {
    CopyEngineState& engine = installer.copyEngine;
    if (message == WM_INITDIALOG) {
        CentreWindow(installer.windows, dialog.Handle());
        dialog.SetCaption(LoadTextCopy(TextId::InstallingFontsCaption));
        for (std::size_t i = 0; i < std::size(kSelectDriveTexts); ++i) {
            dialog.SetItemText(kSelectDriveTextIds[i], LoadTextCopy(kSelectDriveTexts[i]));
        }
        dialog.SetItemText(IDOK, LoadTextCopy(TextId::OkButton));
        dialog.SetItemText(IDCANCEL, LoadTextCopy(TextId::CancelButton));
        dialog.LimitText(kSelectDrivePathId, kEditLimit);
        dialog.SetItemText(kSelectDrivePathId, SelectDriveEditText(engine.altSourcePath));
        return TRUE;
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    switch (LoWord(wParam)) {
    case IDOK: {
        engine.altSourcePath = dialog.GetItemText(kSelectDrivePathId, kEditReadLimit);
        // Listing the path into the hidden list box is the test that it exists.
        std::string spec = engine.altSourcePath;
        // A UNC path or a device is no disk drive the files can be read from.
        if (!IsUsableDirectoryPath(spec) ||
            !dialog.DirList(spec, kSelectDriveListId, kSelectDriveStaticId,
                            DDL_DRIVES | DDL_DIRECTORY)) {
            Warn(installer, dialog.Handle(), Id(TextId::PathMissing));
            return TRUE;
        }
        dialog.EndDialog(1);
        return TRUE;
    }
    case IDCANCEL:
        dialog.EndDialog(0);
        return TRUE;
    default:
        return FALSE;
    }
}

bool CheckFontDisk(Installer& installer, WindowHandle owner, int index, int disk,
                   int& currentDisk) {
    CopyEngineState& engine = installer.copyEngine;
    if (index == 0) {
        if (disk == engine.diskInDrive) {
            currentDisk = disk;
        } else if (disk < kFirstDisk) {
            return false;
        }
    }
    if (disk != currentDisk) {
        // Only DISK1 to DISK9 exist; another digit names no disk.
        if (disk < kFirstDisk || disk > kLastDisk) {
            return false;
        }
        const unsigned sectionText = Id(TextId::Disk1Section) - 1 + static_cast<unsigned>(disk);
        const std::optional<InfLine> line =
            FindInfSection(installer.scripts, std::nullopt, LoadTextCopy(sectionText));
        if (!line) {
            return false;
        }
        std::string tagName;
        GetInfField(installer.scripts, line, kTagFileField, tagName);
        const std::string tagPath = installer.paths.diskPath + "\\" + tagName;
        FileSystem& files = installer.platform.files;
        if (!FileExists(files, tagPath)) {
            const std::string tail = tagPath.substr(tagPath.rfind('\\'));
            installer.platform.system.MessageBeep(0xFFFFFFFFu);
            PromptForDisk(installer, owner, 1, sectionText);
            engine.altSourcePath = "a:" + tail;
            engine.altSourceState = AltSource::TagPath;
            bool dialogShown = false;
            while (!FileExists(files, engine.altSourcePath)) {
                if (dialogShown) {
                    Warn(installer, owner, Id(TextId::FontsNotFound));
                } else {
                    engine.altSourcePath = tagPath;
                }
                dialogShown = true;
                const INT_PTR chosen = ShowModalDialog(
                    installer.windows, owner,
                    [&installer](DialogWindow& dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
                        return SelectDrvProc(installer, dialog, msg, wParam, lParam);
                    },
                    kSelectDriveTemplate);
                if (chosen != 1) {
                    return false;
                }
                engine.altSourcePath = RemoveOneTrailingBackslash(engine.altSourcePath) + tail;
            }
        }
        ++engine.diskCounter;
    }
    currentDisk = disk;
    engine.diskInDrive = disk;
    return true;
}

} // namespace tl
