// Backup copies: before the installer changes a file that is already there, it copies it beside
// itself under the same name with the extension B00 to B99, the first that no file has yet.
#pragma once

#include <string>
#include <string_view>

namespace tl {

struct Installer;

// The backup name of `path` into `backupName`: the three characters after the first "." of the
// name become "B" and two digits, 00 to 99, the first that does not exist (SYSTEM.INI gives
// SYSTEM.B00, then SYSTEM.B01, ...). The "." is looked for behind the Windows directory's part of
// the path, so that a "." in the Windows directory's own name is not taken. A shorter extension
// is lengthened to the three characters; a longer one keeps its tail.
// True with the name; false with `path` unchanged in `backupName` when the name has no "."; false
// with an empty `backupName` when all hundred names are taken (no backup is ever overwritten).
[[nodiscard]] bool MakeBackupName(Installer& installer, std::string_view path,
                                  std::string& backupName);

// Copies the existing file `path` to its backup name (expanding it when it is compressed).
// True when the copy was made: an untouched copy of the file is then under `backupName`. Else
// false, with `backupName` as MakeBackupName left it: the first free name when the file does not
// exist, no partial copy left behind when the copy fails, empty when no name is free.
[[nodiscard]] bool BackupFile(Installer& installer, std::string_view path, std::string& backupName);

// Records for the removal program the backup name `path` is about to get, before BackupFile
// makes it, so that a backup made by an installation that stopped right after is removed too.
// False when the record could not be written: the file must then not be changed.
[[nodiscard]] bool RecordPlannedBackup(Installer& installer, std::string_view path);

// Backup record keys of the private settings file.
inline constexpr const char* kSystemIniBackupKey = "BFileSysIni";
inline constexpr const char* kWinIniBackupKey = "BFileWinIni";

// The first backup of an INI file in the run is the one recorded: writes `backupPath` under
// `key` in section "Install" of the private settings file and keeps it as the run's backup, and
// returns true; false (nothing written) when this run already recorded a backup under `key`:
// the caller then deletes the later backup, which holds the file as this run changed it.
bool RecordFirstBackup(Installer& installer, const char* key, std::string_view backupPath);

// The backup this run recorded under `key`; empty when it recorded none.
std::string RecordedBackup(const Installer& installer, std::string_view key);

} // namespace tl
