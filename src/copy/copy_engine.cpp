#include "copy/copy_engine.h"

#include "copy/backup.h"
#include "copy/confirm_replace.h"
#include "copy/disk_prompt.h"
#include "copy/ensure_directory.h"
#include "copy/file_name.h"
#include "copy/font_registration.h"
#include "copy/progress_display.h"
#include "copy/removal_copy.h"
#include "copy/safe_replace.h"
#include "copy/system_ini_device.h"
#include "dialogs/dialog_utils.h"
#include "platform/error_event.h"
#include "platform/file_system.h"
#include "platform/lz.h"
#include "platform/profile.h"
#include "platform/recorded_profile.h"
#include "platform/system.h"
#include "platform/window_system.h"
#include "state/installer.h"

#include <cstdio>
#include <optional>
#include <tuple>

namespace tl {

namespace {

constexpr LONG kRegistryFileNotFound = 2;

// How one entry ended.
enum class Step { Next, Failed, DirectoryFailed, Cancelled };

std::string RecordKey(const char* prefix, int diskCounter, std::size_t index) {
    char key[32];
    std::snprintf(key, sizeof key, "%s%02d%02d", prefix, diskCounter, static_cast<int>(index));
    return key;
}

// Where a file is written before it takes the place of `destination`.
std::string CopyTemporaryPath(std::string_view destination) {
    return std::string(destination) + ".TMP";
}

// The text with its "%s" replaced by `value`.
std::string FillIn(std::string text, std::string_view value) {
    const std::size_t at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, value);
    }
    return text;
}

class CopyRun {
public:
    CopyRun(Installer& installer, WindowHandle owner, const CopyCallback& notify)
        : installer_(installer), owner_(owner), notify_(notify),
          renames_(installer.renames.Read()) {}

    CopyOutcome Run();

private:
    Step CopyEntry(std::size_t index);
    std::optional<std::string> FindSource(std::size_t index, int kind);
    Step FontChecks(std::size_t index, const std::string& destination, bool& copy);
    Step CopyInto(LzHandle source, const std::string& destination, std::size_t index,
                  std::string_view name);
    bool Record(const char* prefix, std::size_t index, const std::string& value);
    void Notify(int code, int value, std::string_view name) {
        if (notify_) {
            notify_(owner_, code, value, name);
        }
    }
    std::string ValueName(std::size_t index) const {
        const CopyList& list = installer_.copyList;
        return FontValueName(index + 1 < kCopyListEntries ? list.Name(index + 1) : "");
    }

    Installer& installer_;
    WindowHandle owner_;
    const CopyCallback& notify_;
    RenameList::Reader renames_;
    int currentDisk_ = 0;
};

CopyOutcome CopyRun::Run() {
    const CopyList& list = installer_.copyList;
    const std::size_t count = list.Count();
    std::size_t ranged = 0;
    for (std::size_t i = 0; i < count; ++i) {
        ranged += list.Flag(i) != kFlagSkipped ? 1 : 0;
    }
    SetProgressRange(installer_.windows, installer_.progress, static_cast<WORD>(ranged));
    Notify(kNotifyStart, 0, {});
    installer_.copyEngine.altSourceState = AltSource::Unused;

    CopyOutcome outcome = CopyOutcome::Done;
    for (std::size_t i = 0; i < count && outcome == CopyOutcome::Done; ++i) {
        switch (CopyEntry(i)) {
        case Step::Next:
            break;
        case Step::Failed:
            installer_.installationState = InstallationState::Failed;
            outcome = CopyOutcome::Failed;
            break;
        case Step::DirectoryFailed:
            outcome = CopyOutcome::Failed;
            break;
        case Step::Cancelled:
            outcome = CopyOutcome::Cancelled;
            break;
        }
    }
    Notify(kNotifyFinish, 0, {});
    return outcome;
}

std::optional<std::string> CopyRun::FindSource(std::size_t index, int kind) {
    CopyEngineState& engine = installer_.copyEngine;
    std::string path = installer_.paths.sourceDir + "\\";
    if (kind == kKindFont && engine.altSourceState != AltSource::Unused) {
        if (engine.altSourceState == AltSource::TagPath) {
            const std::size_t slash = engine.altSourcePath.rfind('\\');
            engine.altSourcePath =
                engine.altSourcePath.substr(0, slash == std::string::npos ? 0 : slash);
            engine.altSourceState = AltSource::Directory;
        }
        path = engine.altSourcePath + "\\";
    }
    path += installer_.copyList.Name(index);
    const DWORD attributes = installer_.platform.files.GetFileAttributes(path);
    if (attributes != kInvalidFileAttributes && (attributes & kFileAttributeDirectory) == 0) {
        return path;
    }
    path.back() = '_';
    OfStruct of;
    if (installer_.platform.lz.LZOpenFile(path, of, kOfExist | kOfPrompt) < 0) {
        RecordError(installer_.platform, "LZOpenFile", path, of.nErrCode);
        return std::nullopt;
    }
    return path;
}

Step CopyRun::CopyEntry(std::size_t index) {
    const CopyList& list = installer_.copyList;
    const int kind = list.Kind(index);
    const int disk = list.DiskNumber(index);
    if (kind == kKindSkipped || kind > kKindRenamed) {
        return Step::Next;
    }
    if (kind == kKindFont &&
        !CheckFontDisk(installer_, owner_, static_cast<int>(index), disk, currentDisk_)) {
        return Step::Cancelled;
    }
    const std::optional<std::string> source = FindSource(index, kind);
    if (!source) {
        return Step::Failed;
    }

    const std::string_view name = list.Name(index);
    std::string directory;
    if (disk == 2 || kind == kKindFont) {
        directory = installer_.paths.fontDir;
    } else {
        directory = installer_.paths.systemDir;
        if (kind == kKindDevice) {
            if (!AddSystemIniDevice(installer_, name)) {
                return Step::Failed;
            }
            installer_.installationState = InstallationState::RestartNeeded;
        }
    }
    if (!EnsureDirectory(installer_, owner_, directory)) {
        return Step::DirectoryFailed;
    }
    std::string destination = directory + "\\";
    if (kind == kKindRenamed) {
        // A renamed entry without a name left in the rename list has nowhere to go.
        const std::optional<std::string_view> newName = renames_.Next();
        if (!newName) {
            // The script gave this two-name line no name to keep: nothing was called.
            RecordError(installer_.platform, "RenameList", name, kErrorFileNotFound);
            return Step::Failed;
        }
        destination += *newName;
    } else {
        destination += name;
    }
    if (kind == kKindDevice) {
        std::string planned;
        if (!MakeBackupName(installer_, destination, planned))
            planned.clear();
        if (!RecordInstalledFile(installer_, kind, destination, planned))
            return Step::Failed;
        // A new file has nothing to keep (its record names the first free backup name), and
        // with no free name the record is empty: the copy goes on either way.
        std::string backupName;
        std::ignore = BackupFile(installer_, destination, backupName);
        Record("BFile", index, backupName);
    }

    LzExpand& lz = installer_.platform.lz;
    OfStruct sourceOf;
    const LzHandle sourceFile = lz.LZOpenFile(*source, sourceOf, kOfRead | kOfPrompt);
    if (sourceFile < 0) {
        RecordError(installer_.platform, "LZOpenFile", *source, sourceOf.nErrCode);
        return Step::Failed;
    }
    if (kind == kKindFont) {
        bool copy = false;
        const Step checked = FontChecks(index, destination, copy);
        if (!copy) {
            lz.LZClose(sourceFile);
            return checked;
        }
    }
    if (kind != kKindDevice && !RecordInstalledFile(installer_, kind, destination)) {
        lz.LZClose(sourceFile);
        return Step::Failed;
    }
    const Step copied = CopyInto(sourceFile, destination, index, name);
    if (copied != Step::Next) {
        return copied;
    }
    if (kind == kKindFont && !RegisterFont(installer_, destination, ValueName(index))) {
        return Step::Failed;
    }
    return Step::Next;
}

// Expands the open `source` into `destination` and closes it. The data goes to a temporary file
// beside the destination first, which takes the destination's place only once it is complete:
// a copy that breaks off leaves the file that was there before (or none) and never a part.
Step CopyRun::CopyInto(LzHandle source, const std::string& destination, std::size_t index,
                       std::string_view name) {
    LzExpand& lz = installer_.platform.lz;
    FileSystem& files = installer_.platform.files;
    const std::string temporary = CopyTemporaryPath(destination);
    OfStruct temporaryOf;
    const LzHandle target = lz.LZOpenFile(temporary, temporaryOf, kOfCreate);
    if (target < 0) {
        RecordError(installer_.platform, "LZOpenFile", temporary, temporaryOf.nErrCode);
        lz.LZClose(source);
        return Step::Failed;
    }
    if (!Record("File", index, destination)) {
        // Without its record the file could never be removed again: it is not copied.
        lz.LZClose(source);
        lz.LZClose(target);
        files.DeleteFile(temporary);
        return Step::Failed;
    }
    installer_.progress.currentFileName = std::string(name);
    Notify(kNotifyFile, kNotifyFileName, name);
    Notify(kNotifyFile, kNotifyFileStep, name);
    const LONG copied = lz.LZCopy(source, target);
    lz.LZClose(source);
    lz.LZClose(target);
    if (copied < 0) {
        RecordError(installer_.platform, "LZCopy", destination, LzCopyErrorCode(copied));
        files.DeleteFile(temporary);
        return Step::Failed;
    }
    // SafeReplace records its own failures.
    if (SafeReplace(installer_.platform, temporary, destination) != ReplaceOutcome::Replaced) {
        files.DeleteFile(temporary);
        return Step::Failed;
    }
    return Step::Next;
}

// Sets `copy` when the font is to be copied; otherwise the result says how the entry ends.
Step CopyRun::FontChecks(std::size_t index, const std::string& destination, bool& copy) {
    const std::string valueName = ValueName(index);
    const LONG registered = QueryFontRegistration(installer_, valueName);
    if (registered == 0) {
        const std::string text = FillIn(LoadTextCopy(TextId::FontAlreadyInstalled), valueName);
        const int answer = installer_.windows.MessageBox(
            owner_, text, LoadTextCopy(TextId::CautionCaption), MB_OKCANCEL | MB_ICONEXCLAMATION,
            MessageKey(TextId::FontAlreadyInstalled));
        return answer == IDCANCEL ? Step::Cancelled : Step::Next;
    }
    if (registered != kRegistryFileNotFound) {
        return Step::Cancelled;
    }
    CopyEngineState& engine = installer_.copyEngine;
    const DWORD attributes = installer_.platform.files.GetFileAttributes(destination);
    if (!engine.askBeforeReplacing || attributes == kInvalidFileAttributes) {
        copy = true;
        return Step::Next;
    }
    for (;;) {
        const INT_PTR answer = ConfirmReplace(installer_, owner_, FileNamePart(destination), index);
        if (answer == kConfirmYes) {
            copy = true;
            return Step::Next;
        }
        if (answer == kConfirmYesToAll) {
            engine.askBeforeReplacing = false;
            copy = true;
            return Step::Next;
        }
        if (answer == kConfirmNo) {
            if (!installer_.destination.fontDirKept &&
                !RegisterFont(installer_, destination, valueName)) {
                return Step::Failed;
            }
            return Step::Next;
        }
        if (answer != kConfirmCancel) {
            // The dialog could not be shown: without the user's answer the file is neither
            // replaced nor kept on their behalf, and asking again would fail the same way.
            return Step::Cancelled;
        }
        if (ConfirmCancel(installer_.windows, owner_, installer_.installationState) == IDYES) {
            return Step::Cancelled;
        }
    }
}

bool CopyRun::Record(const char* prefix, std::size_t index, const std::string& value) {
    const std::string key = RecordKey(prefix, installer_.copyEngine.diskCounter, index);
    return WriteProfileRecorded(installer_.platform, "Install", key.c_str(), value.c_str(),
                                installer_.paths.privateSettingsFile);
}

} // namespace

int CopyNotify(Installer& installer, WindowHandle, int code, int value, std::string_view) {
    switch (code) {
    case kNotifyStart:
        if (value == 0) {
            installer.platform.system.SetErrorMode(kSemFailCriticalErrors);
        }
        break;
    case kNotifyFinish:
        if (value == 0) {
            installer.platform.system.SetErrorMode(0);
        }
        break;
    case kNotifyFile:
        if (value == kNotifyFileName) {
            RedrawFileName(installer.windows, installer.progress);
        } else if (value == kNotifyFileStep) {
            AdvanceProgress(installer.windows, installer.progress, 1);
        }
        break;
    default:
        break;
    }
    return 1;
}

CopyOutcome RunCopyList(Installer& installer, WindowHandle owner, const CopyCallback& notify) {
    CopyRun run(installer, owner, notify);
    return run.Run();
}

} // namespace tl
