#include "copy/version_check.h"

#include "copy/file_version_text.h"
#include "dialogs/dialog_utils.h"
#include "state/installer.h"
#include "state/paths.h"

#include <optional>

namespace tl {

namespace {

constexpr int kGermanLanguage = 2;
constexpr int kFormatBufferSize = 80;
constexpr std::string_view kLeadingBlanks = "      ";
constexpr std::string_view kDeviceDriverExtension = "386";

// The text behind the first "." of the name; none for a name without one.
std::optional<std::string_view> Extension(std::string_view name) {
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    return name.substr(dot + 1);
}

bool IsDeviceDriver(std::string_view name) {
    return Extension(name) == kDeviceDriverExtension;
}

std::optional<FILETIME> LastWriteTime(const VersionCheckContext& context, std::string_view path) {
    const FileHandle file =
        context.files.CreateFile(path, kGenericRead, kFileShareRead, kOpenExisting);
    if (!file) {
        return std::nullopt;
    }
    FILETIME written;
    const BOOL read = context.storage.GetFileTime(file, nullptr, nullptr, &written);
    context.files.CloseHandle(file);
    if (!read) {
        return std::nullopt;
    }
    return written;
}

bool IsFile(const VersionCheckContext& context, const std::string& path) {
    const DWORD attributes = context.files.GetFileAttributes(path);
    return attributes != kInvalidFileAttributes && (attributes & kFileAttributeDirectory) == 0;
}

// The disk file: where the copy reads it, the source directory, under its own name or the
// compressed one; a disk that keeps it at its root instead is looked at there, under its own name,
// else the compressed one.
std::string DiskFilePath(const VersionCheckContext& context, std::string_view name) {
    if (!context.sourceDir.empty() && context.sourceDir != context.diskPath) {
        std::string path = JoinPath(context.sourceDir, name);
        if (IsFile(context, path)) {
            return path;
        }
        path.back() = '_';
        if (IsFile(context, path)) {
            return path;
        }
    }
    std::string path = JoinPath(context.diskPath, name);
    if (context.files.GetFileAttributes(path) == kInvalidFileAttributes) {
        path.back() = '_';
    }
    return path;
}

} // namespace

std::string FileDateLine(const VersionCheckContext& context, std::string_view path) {
    const std::optional<FILETIME> written = LastWriteTime(context, path);
    if (!written) {
        return {};
    }
    FILETIME local;
    if (!context.clock.FileTimeToLocalFileTime(*written, &local)) {
        return {};
    }
    const std::optional<SYSTEMTIME> time = FileTimeToSystemTime(local);
    if (!time) {
        return {};
    }
    const Clock& clock = context.clock;
    const auto day =
        clock.GetDateFormat(kLocaleUserDefault, 0, *time, "ddd MMM d", kFormatBufferSize);
    const auto hour =
        clock.GetTimeFormat(kLocaleUserDefault, 0, *time, "HH':'mm':'ss", kFormatBufferSize);
    const auto year = clock.GetDateFormat(kLocaleUserDefault, 0, *time, "yyyy", kFormatBufferSize);
    // A part the platform could not format would leave a line of stale text: leave it all out.
    if (!day || !hour || !year) {
        return {};
    }
    return *day + " " + *hour + " " + *year + "\n ";
}

std::string VersionComparisonText(const VersionCheckContext& context, std::string_view name) {
    return VersionComparisonText(context, name, name);
}

std::string VersionComparisonText(const VersionCheckContext& context,
                                  std::string_view installedName, std::string_view diskName) {
    std::string text(kLeadingBlanks);
    text += installedName;
    text += LoadTextCopy(TextId::ReplaceQuestion);

    const std::string installed = JoinPath(context.systemDir, installedName);
    text += FileDateLine(context, installed);
    text += FileVersionText(context.versions, installed, context.versionFormat);

    text += LoadTextCopy(TextId::VersionWith);

    const std::string disk = DiskFilePath(context, diskName);
    text += FileDateLine(context, disk);
    text += FileVersionText(context.versions, disk, context.versionFormat);

    if (context.languageIndex == kGermanLanguage) {
        text += LoadTextCopy(TextId::GermanNote);
    }
    text += "\n\n";
    return text;
}

INT_PTR VerCheck(const VersionCheckContext& context, std::string_view name, DialogWindow& dialog,
                 UINT message, WPARAM wParam, LPARAM lParam) {
    return VerCheck(context, name, name, dialog, message, wParam, lParam);
}

INT_PTR VerCheck(const VersionCheckContext& context, std::string_view installedName,
                 std::string_view diskName, DialogWindow& dialog, UINT message, WPARAM wParam,
                 LPARAM) {
    if (message == WM_INITDIALOG) {
        CentreWindow(context.windows, dialog.Handle());
        dialog.SetItemText(kVersionTextId, VersionComparisonText(context, installedName, diskName));
        dialog.SetItemText(IDOK, LoadTextCopy(TextId::OkButton));
        dialog.SetItemText(IDCANCEL, LoadTextCopy(TextId::CancelButton));
        dialog.SetCaption(LoadTextCopy(TextId::VersionCheckCaption));
        return TRUE;
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    switch (LoWord(wParam)) {
    case IDOK:
        dialog.EndDialog(1);
        return TRUE;
    case IDCANCEL:
        dialog.EndDialog(0);
        return TRUE;
    default:
        return FALSE;
    }
}

bool CheckInstalledVersion(const VersionCheckContext& context, const CopyList& list,
                           WindowHandle owner, std::size_t index,
                           std::optional<std::string_view> installedAs) {
    if (index >= kCopyListEntries) {
        return true;
    }
    // The dialog works on its own copy of the entry, as the list may change behind it.
    const std::uint8_t flag = list.Flag(index);
    const std::string diskName(list.Name(index));
    const std::string installedName(installedAs.value_or(diskName));
    if ((flag & kFlagVersionCheck) == 0) {
        return true;
    }
    if (context.files.GetFileAttributes(JoinPath(context.systemDir, installedName)) ==
        kInvalidFileAttributes) {
        return true;
    }
    context.windows.EnableWindow(owner, FALSE);
    const INT_PTR result = context.windows.DialogBox(
        kVersionCheckTemplate, owner,
        [&](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
            return VerCheck(context, installedName, diskName, dialog, message, wParam, lParam);
        },
        0);
    return result != 0;
}

void DropDeclinedEntry(CopyList& list, std::size_t index) {
    if (IsDeviceDriver(list.Name(index))) {
        list.MarkSkipped(index);
        return;
    }
    const std::size_t count = list.Count();
    for (std::size_t i = 0; i < count; ++i) {
        if (!IsDeviceDriver(list.Name(i))) {
            list.MarkSkipped(i);
        }
    }
}

void CheckInstalledVersions(const VersionCheckContext& context, CopyList& list,
                            const RenameList& renames, WindowHandle owner) {
    // A two-name entry is stored under the next name of the rename list, which is the file the
    // system directory holds; the copy run and the spooler take the names in the same order.
    RenameList::Reader names = renames.Read();
    for (std::size_t i = 0; i < list.Count(); ++i) {
        std::optional<std::string_view> installedAs;
        if (list.Kind(i) == kKindRenamed) {
            installedAs = names.Next();
        }
        if (CheckInstalledVersion(context, list, owner, i, installedAs) == 0) {
            DropDeclinedEntry(list, i);
        }
    }
}

VersionCheckContext MakeVersionCheckContext(Installer& installer) {
    Platform& platform = installer.platform;
    return VersionCheckContext{installer.windows,
                               platform.files,
                               platform.storage,
                               platform.clock,
                               platform.versionInfo,
                               installer.paths.systemDir,
                               installer.paths.diskPath,
                               installer.paths.sourceDir,
                               installer.languageIndex,
                               installer.options.versionType ? VersionFormat::Build
                                                             : VersionFormat::MajorMinor};
}

bool CheckInstalledVersion(Installer& installer, WindowHandle owner, std::size_t index) {
    return CheckInstalledVersion(MakeVersionCheckContext(installer), installer.copyList, owner,
                                 index);
}

void CheckInstalledVersions(Installer& installer, WindowHandle owner) {
    CheckInstalledVersions(MakeVersionCheckContext(installer), installer.copyList,
                           installer.renames, owner);
}

} // namespace tl
