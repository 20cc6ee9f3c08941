#include "copy/backup.h"

#include "platform/error_event.h"
#include "platform/file_system.h"
#include "platform/lz.h"
#include "platform/profile.h"
#include "platform/recorded_profile.h"
#include "state/installer.h"
#include "state/removal_log.h"

namespace tl {

namespace {

constexpr int kBackupNames = 100;
constexpr std::size_t kExtensionLength = 3;

bool FileExists(Installer& installer, std::string_view path) {
    return installer.platform.files.GetFileAttributes(path) != kInvalidFileAttributes;
}

std::string* RunRecord(RunBackups& backups, std::string_view key) {
    if (key == kSystemIniBackupKey)
        return &backups.systemIni;
    if (key == kWinIniBackupKey)
        return &backups.winIni;
    return nullptr;
}

} // namespace

bool RecordFirstBackup(Installer& installer, const char* key, std::string_view backupPath) {
    std::string* record = RunRecord(installer.backups, key);
    if (record == nullptr || !record->empty())
        return false;
    *record = std::string(backupPath);
    WriteProfileRecorded(installer.platform, "Install", key, record->c_str(),
                         installer.paths.privateSettingsFile);
    return true;
}

std::string RecordedBackup(const Installer& installer, std::string_view key) {
    if (key == kSystemIniBackupKey)
        return installer.backups.systemIni;
    if (key == kWinIniBackupKey)
        return installer.backups.winIni;
    return {};
}

bool RecordPlannedBackup(Installer& installer, std::string_view path) {
    std::string planned;
    if (!MakeBackupName(installer, path, planned))
        return true;
    return WriteRemovalRecord(installer, {removal_record::kBackup, planned});
}

bool MakeBackupName(Installer& installer, std::string_view path, std::string& backupName) {
    backupName.assign(path);
    const std::size_t windowsDirLength = installer.paths.windowsDir.size();
    const std::size_t searchFrom = path.size() > windowsDirLength ? windowsDirLength + 1 : 0;
    const std::size_t dot = backupName.find('.', searchFrom);
    if (dot == std::string::npos) {
        return false;
    }
    if (backupName.size() < dot + 1 + kExtensionLength) {
        backupName.resize(dot + 1 + kExtensionLength);
    }
    backupName[dot + 1] = 'B';
    for (int number = 0; number < kBackupNames; ++number) {
        backupName[dot + 2] = static_cast<char>('0' + number / 10);
        backupName[dot + 3] = static_cast<char>('0' + number % 10);
        if (!FileExists(installer, backupName)) {
            return true;
        }
    }
    backupName.clear();
    return false;
}

bool BackupFile(Installer& installer, std::string_view path, std::string& backupName) {
    if (MakeBackupName(installer, path, backupName) == 0) {
        // Every backup name is taken (or the name has no extension to number).
        RecordError(installer.platform, "BackupFile", path, kErrorFileExists);
        return false;
    }
    if (!FileExists(installer, path)) {
        return false;
    }
    LzExpand& lz = installer.platform.lz;
    OfStruct sourceOf;
    const LzHandle source = lz.LZOpenFile(path, sourceOf, kOfRead);
    if (source < 0) {
        RecordError(installer.platform, "LZOpenFile", path, sourceOf.nErrCode);
        return false;
    }
    OfStruct backupOf;
    const LzHandle backup = lz.LZOpenFile(backupName, backupOf, kOfCreate);
    if (backup < 0) {
        RecordError(installer.platform, "LZOpenFile", backupName, backupOf.nErrCode);
        lz.LZClose(source);
        return false;
    }
    const LONG copied = lz.LZCopy(source, backup);
    lz.LZClose(source);
    lz.LZClose(backup);
    if (copied < 0) {
        RecordError(installer.platform, "LZCopy", backupName, kErrorWriteFault);
        OfStruct deleteOf;
        lz.LZOpenFile(backupName, deleteOf, kOfDelete);
        return false;
    }
    return true;
}

} // namespace tl
