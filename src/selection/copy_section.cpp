#include "selection/copy_section.h"

#include "copy/disk_name_report.h"
#include "dialogs/dialog_utils.h"
#include "platform/error_event.h"
#include "resources/string_table.h"
#include "selection/catalogue.h"
#include "state/copy_list.h"
#include "state/inf_query.h"
#include "state/installer.h"
#include "state/paths.h"

#include <string>

namespace tl {
namespace {

// Room the rename list gets per line of the copy section that first needs it.
constexpr std::size_t kRenameBytesPerLine = 256;

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

bool HasExtension(std::string_view name, std::string_view extension) {
    const std::optional<std::string_view> own = FileExtension(name);
    return own && SameLetters(*own, extension);
}

bool NameListedBefore(const CopyList& list, std::size_t count, std::string_view name) {
    for (std::size_t i = 0; i < count; ++i) {
        if (list.Name(i) == name)
            return true;
    }
    return false;
}

void ShowInUse(Installer& installer, WindowHandle owner) {
    const std::string text =
        LoadTextCopy(TextId::DriverInUse) + LoadTextCopy(TextId::DriverInUseAdvice);
    installer.windows.MessageBox(owner, text, LoadTextCopy(TextId::WarningCaption),
                                 MB_OK | MB_ICONEXCLAMATION, MessageKey(TextId::DriverInUse));
}

// Fixed English texts name the fault; `key` is their fixed part, for answers and transcripts.
void ShowError(Installer& installer, WindowHandle owner, const std::string& text,
               std::string_view key) {
    installer.windows.MessageBox(owner, text, "Error", MB_OK | MB_ICONHAND, std::string(key));
}

// Appends a destination name, giving the list more room when it is full: the n-th name must
// stay with the n-th renamed entry, so none may be dropped.
bool AddRename(Installer& installer, std::string_view name, std::size_t sectionLines) {
    RenameList& renames = installer.renames;
    if (!renames.Held())
        renames.Create(kRenameBytesPerLine * sectionLines);
    RenameListError error = renames.Append(name);
    if (error == RenameListError::Full) {
        renames.Grow(kRenameBytesPerLine * sectionLines + name.size() + 1);
        error = renames.Append(name);
    }
    return error == RenameListError::None;
}

} // namespace

std::optional<std::string_view> FileExtension(std::string_view name) {
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    return name.substr(dot + 1);
}

bool IsSystemFileInUse(Installer& installer, std::string_view fileName) {
    FileSystem& files = installer.platform.files;
    const std::string path = JoinPath(installer.paths.systemDir, fileName);
    const FileHandle file = files.CreateFile(path, kGenericRead, kFileShareNone, kOpenExisting);
    if (file) {
        files.CloseHandle(file);
        return false;
    }
    if (files.GetLastError() != kErrorSharingViolation)
        return false;
    RecordError(installer.platform, "CreateFile", path, kErrorSharingViolation);
    return true;
}

bool AddCopySection(Installer& installer, WindowHandle owner, std::string_view sectionName) {
    std::optional<InfLine> line = FindInfSection(installer.scripts, std::nullopt, sectionName);
    if (!line) {
        ReportInfNotFound(installer, owner, sectionName, MissingSection(sectionName));
        return false;
    }
    const auto lines = static_cast<std::size_t>(CountInfLines(installer.scripts, line));
    const std::string sourceDisks = LoadTextCopy(TextId::SourceDisksFilesSection);
    if (!FindInfSection(installer.scripts, std::nullopt, sourceDisks)) {
        ReportInfNotFound(installer, owner, "", MissingSection(sourceDisks));
        return false;
    }
    CopyList& list = installer.copyList;
    for (; line; line = NextInfLine(installer.scripts, line)) {
        const std::string text(InfLineText(installer.scripts, *line).value_or(""));
        const std::size_t comma = text.find(',');
        const bool twoNames = comma != std::string::npos;
        const std::string firstName = text.substr(0, comma);
        const std::string fileName = twoNames ? text.substr(comma + 1) : text;
        // Both names become paths: the first on the target (and the [SourceDisksFiles] key),
        // the second on the disk. A bad one stops the whole driver.
        const std::string lineText = std::string(sectionName) + ": " + text;
        if (!AcceptDiskName(installer, owner, firstName, lineText) ||
            (twoNames && !AcceptDiskName(installer, owner, fileName, lineText))) {
            installer.installationState = InstallationState::Failed;
            return false;
        }

        std::string disk;
        GetInfKey(installer.scripts, std::nullopt, sourceDisks, firstName, disk);
        if (disk.empty()) {
            ReportInfNotFound(installer, owner, firstName,
                              MissingLine("GetInfKey", sourceDisks, firstName));
            return false;
        }
        std::uint8_t flag = twoNames ? kFlagRenamed : kFlagSystemFile;
        bool testInUse = false;
        if (HasExtension(firstName, "drv")) {
            flag |= kFlagVersionCheck;
            testInUse = true;
        } else if (HasExtension(firstName, "386")) {
            flag = kFlagDevice;
        } else if (HasExtension(firstName, "prn")) {
            flag = kFlagSkipped;
        } else if (HasExtension(firstName, "exe") || HasExtension(firstName, "dll")) {
            testInUse = true;
        }
        // The file a program holds is the installed one, under its destination name.
        if (testInUse && IsSystemFileInUse(installer, firstName)) {
            // Not the user's choice: the driver cannot be installed while Windows uses it.
            ShowInUse(installer, owner);
            installer.installationState = InstallationState::Failed;
            return false;
        }
        const std::size_t count = list.Count();
        if (NameListedBefore(list, count, fileName))
            flag = kFlagSkipped;
        const CopyListError error = list.Append(flag, disk[0], fileName);
        if (error != CopyListError::None) {
            ShowError(installer, owner,
                      std::string(CopyListErrorText(error)) + "\n" + std::string(sectionName) +
                          ": " + fileName,
                      CopyListErrorText(error));
            return false;
        }
        // Only renamed entries (kind 6) take a name: the n-th name belongs to the n-th of them.
        if (CopyKind(flag) == kKindRenamed && !AddRename(installer, firstName, lines)) {
            list.Truncate(count);
            ShowError(installer, owner, "Cannot keep the target name " + firstName + ".",
                      "Cannot keep the target name");
            return false;
        }
    }
    return true;
}

} // namespace tl
