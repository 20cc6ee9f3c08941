// Fonts, files, the parallel-port driver and what the installations made for themselves.
#include "copy/safe_replace.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/storage.h"
#include "platform/system.h"
#include "removal/ini_lines.h"
#include "removal/removal_steps.h"
#include "state/installer.h"
#include "state/removal_log.h"
#include "sysfiles/port_driver.h"
#include "text/ansi_text.h"

#include <ranges>

namespace tl {

namespace {

constexpr const char* kFontsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";
constexpr DWORD kValueSize = 1024;

bool Exists(FileSystem& files, std::string_view path) {
    return files.GetFileAttributes(path) != kInvalidFileAttributes;
}

RemovalOutcome DeleteOutcome(FileSystem& files, std::string_view path) {
    if (files.DeleteFile(path))
        return RemovalOutcome::Removed;
    const DWORD error = files.GetLastError();
    if (error == kErrorFileNotFound || error == kErrorPathNotFound)
        return RemovalOutcome::AlreadyGone;
    if (error == kErrorSharingViolation || error == kErrorAccessDenied)
        return RemovalOutcome::InUse;
    return RemovalOutcome::Failed;
}

// The font's registry value, when it still names the font file the installation registered
// (a later installation of another file keeps its registration).
RemovalOutcome RemoveFontValue(Registry& registry, const std::string& name,
                               std::string_view fontFile) {
    HKEY key{};
    if (registry.RegOpenKeyEx(kHkeyLocalMachine, kFontsKey, 0, kKeyAllAccess, &key) != 0)
        return RemovalOutcome::AlreadyGone;
    std::string value(kValueSize, '\0');
    DWORD size = kValueSize;
    DWORD type = 0;
    const LONG queried = registry.RegQueryValueEx(key, name.c_str(), &type,
                                                  reinterpret_cast<BYTE*>(value.data()), &size);
    RemovalOutcome outcome = RemovalOutcome::AlreadyGone;
    if (queried == 0) {
        value.resize(std::min<std::size_t>(size, value.size()));
        value = value.substr(0, value.find('\0'));
        if (!text::EqualsIgnoreCase(value, fontFile))
            outcome = RemovalOutcome::Left;
        else
            outcome = registry.RegDeleteValue(key, name.c_str()) == 0 ? RemovalOutcome::Removed
                                                                      : RemovalOutcome::Failed;
    }
    registry.RegCloseKey(key);
    return outcome;
}

void RemoveFile(RemovalContext& context, const RemovalRecord& record) {
    const std::string& path = record.Field(3);
    const std::string& copy = record.Field(4);
    const bool existed = record.Field(2) == "1";
    if (!IsRemovablePath(context.roots, path) ||
        (!copy.empty() && !IsRemovablePath(context.roots, copy))) {
        context.report.Add(RemovalOutcome::Refused, path);
        return;
    }
    Platform& platform = context.installer.platform;
    FileSystem& files = platform.files;
    // The copy engine's unfinished copy, when an installation stopped in the middle of one.
    const std::string unfinished = path + ".TMP";
    if (Exists(files, unfinished))
        files.DeleteFile(unfinished);
    if (!existed) {
        context.report.Add(DeleteOutcome(files, path), path);
        return;
    }
    // Without the earlier version the file stays: it may be that version itself, when the
    // installation stopped before it copied.
    if (copy.empty() || !Exists(files, copy)) {
        context.report.Add(RemovalOutcome::Left, path);
        return;
    }
    if (SafeReplace(platform, copy, path) != ReplaceOutcome::Replaced) {
        const DWORD error = files.GetLastError();
        context.report.Add(error == kErrorSharingViolation || error == kErrorAccessDenied
                               ? RemovalOutcome::InUse
                               : RemovalOutcome::Failed,
                           path);
        return;
    }
    context.report.Add(RemovalOutcome::Restored, path);
}

// lpt.vxd carries the time the installer stamps on the driver it puts in place.
bool IsInstalledPortDriver(Platform& platform, std::string_view path) {
    const FileHandle file =
        platform.files.CreateFile(path, kGenericRead, kFileShareRead, kOpenExisting);
    if (!file)
        return false;
    FILETIME written{};
    const bool read = platform.storage.GetFileTime(file, nullptr, nullptr, &written);
    platform.files.CloseHandle(file);
    const FILETIME stamped = PortDriverWriteTime();
    return read && written.dwLowDateTime == stamped.dwLowDateTime &&
           written.dwHighDateTime == stamped.dwHighDateTime;
}

} // namespace

void RemoveFonts(RemovalContext& context) {
    Platform& platform = context.installer.platform;
    bool changed = false;
    for (const RemovalRecord& record : context.records | std::views::reverse) {
        if (!record.Is(removal_record::kFont))
            continue;
        const std::string& name = record.Field(1);
        const std::string& fontFile = record.Field(2);
        if (name.empty() || !IsRemovablePath(context.roots, fontFile)) {
            context.report.Add(RemovalOutcome::Refused, name + " " + fontFile);
            continue;
        }
        const RemovalOutcome outcome = RemoveFontValue(platform.registry, name, fontFile);
        if (outcome == RemovalOutcome::Removed) {
            platform.system.RemoveFontResource(fontFile);
            changed = true;
        }
        context.report.Add(outcome, name);
    }
    if (changed)
        platform.system.BroadcastMessage(kWmFontChange, {});
}

void RemoveFiles(RemovalContext& context) {
    for (const RemovalRecord& record : context.records | std::views::reverse) {
        if (record.Is(removal_record::kFile))
            RemoveFile(context, record);
    }
}

void RestorePortDriver(RemovalContext& context) {
    Platform& platform = context.installer.platform;
    for (const RemovalRecord& record : context.records | std::views::reverse) {
        if (!record.Is(removal_record::kPortDriver))
            continue;
        const std::string& driver = record.Field(1);
        const std::string& saved = record.Field(2);
        if (!IsRemovablePath(context.roots, driver) || !IsRemovablePath(context.roots, saved)) {
            context.report.Add(RemovalOutcome::Refused, driver);
            continue;
        }
        if (!Exists(platform.files, saved)) {
            context.report.Add(RemovalOutcome::AlreadyGone, driver);
            continue;
        }
        if (!IsInstalledPortDriver(platform, driver)) {
            context.report.Add(RemovalOutcome::Left, driver);
            continue;
        }
        if (SafeReplace(platform, saved, driver) != ReplaceOutcome::Replaced) {
            context.report.Add(RemovalOutcome::Failed, driver);
            continue;
        }
        context.report.restartNeeded = true;
        context.report.Add(RemovalOutcome::Restored, driver);
    }
}

void RemoveLeftovers(RemovalContext& context) {
    Platform& platform = context.installer.platform;
    FileSystem& files = platform.files;
    // Removal copies and device drivers' backups were used up bringing the files back; one
    // still there belongs to a file that could not be brought back, and stays with it.
    for (const RemovalRecord& record : context.records | std::views::reverse) {
        std::string path;
        if (record.Is(removal_record::kBackup))
            path = record.Field(1);
        // lpt.vxz went back in place of lpt.vxd; one still there holds the earlier driver of a
        // lpt.vxd that is not the installer's, and stays. The driver the installer staged beside
        // it, left by a stop in the middle, goes.
        if (record.Is(removal_record::kPortDriver) &&
            IsRemovablePath(context.roots, record.Field(2))) {
            const std::string& saved = record.Field(2);
            const std::string staged =
                saved.substr(0, saved.rfind('\\') + 1) + std::string(kPortDriverStaging);
            if (Exists(files, staged))
                files.DeleteFile(staged);
            // Saved, but lpt.vxd was never replaced: the copy is no earlier driver.
            if (SameFileBytes(platform, saved, record.Field(1)))
                context.report.Add(DeleteOutcome(files, saved), saved);
        }
        if (path.empty() || !Exists(files, path))
            continue;
        if (!IsRemovablePath(context.roots, path)) {
            context.report.Add(RemovalOutcome::Refused, path);
            continue;
        }
        context.report.Add(DeleteOutcome(files, path), path);
    }
    // SYSTEM.INI's and WIN.INI's rewrites that an installation stopped in the middle of.
    for (const char* name : {"\\SYSTEM.INI.TMP", "\\WIN.INI.TMP"}) {
        const std::string path = context.installer.paths.windowsDir + name;
        if (Exists(files, path))
            context.report.Add(DeleteOutcome(files, path), path);
    }
    for (const RemovalRecord& record : context.records | std::views::reverse) {
        if (!record.Is(removal_record::kDirectory))
            continue;
        const std::string& path = record.Field(1);
        if (!IsRemovablePath(context.roots, path, true)) {
            context.report.Add(RemovalOutcome::Refused, path);
            continue;
        }
        if (files.GetFileAttributes(path) == kInvalidFileAttributes)
            continue;
        // A directory that holds anything else stays.
        if (platform.storage.RemoveDirectory(path))
            context.report.Add(RemovalOutcome::Removed, path);
        else
            context.report.Add(RemovalOutcome::Left, path);
    }
}

} // namespace tl
