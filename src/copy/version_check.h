// The version check before a driver is copied: for each marked copy-list entry whose file is
// already in the system directory, the VER_CHECK dialog shows the installed file's date, time and
// version beside those of the file on the install disk, and the user decides whether it is
// replaced (OK) or kept (Cancel). Nothing is compared here; the user judges.
#pragma once

#include "copy/file_version_text.h"
#include "platform/clock.h"
#include "platform/dialog_window.h"
#include "platform/file_system.h"
#include "platform/storage.h"
#include "platform/version_info.h"
#include "platform/window_system.h"
#include "resources/control_ids.h"
#include "state/copy_list.h"
#include "state/rename_list.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tl {

struct Installer;

inline constexpr std::string_view kVersionCheckTemplate = "VER_CHECK";

// What the version check reads: the ports, the system directory, the install disk's root (the
// disk path, without a trailing "\"), the directory the copy reads the disk's drivers from (the
// disk path plus the driver folder, if any), the language index and the VERSION_TYPE switch.
struct VersionCheckContext {
    WindowSystem& windows;
    FileSystem& files;
    Storage& storage;
    const Clock& clock;
    VersionInfo& versions;
    std::string_view systemDir;
    std::string_view diskPath;
    std::string_view sourceDir;
    int languageIndex = 0;
    VersionFormat versionFormat = VersionFormat::MajorMinor;
};

// The installer's ports, system directory, disk path, language and VERSION_TYPE switch; the
// context refers to the installer's paths, so it lives no longer than they stay unchanged.
VersionCheckContext MakeVersionCheckContext(Installer& installer);

// The comparison text of VER_CHECK for the file `name`: the question, the installed file's date
// line and version, then the disk file's. The disk file is the one the copy will read: in the
// source directory under its own name, else under its compressed name (the last character "_");
// failing both, at the disk's root under either name. A file whose time cannot be read has no
// date line; one without a version has no version text.
std::string VersionComparisonText(const VersionCheckContext& context, std::string_view name);
// The same for a file the disk holds as `diskName` and the system directory as `installedName`.
std::string VersionComparisonText(const VersionCheckContext& context,
                                  std::string_view installedName, std::string_view diskName);

// The date line of the file at `path`: its last-write time in local time as
// "<ddd MMM d> <HH':'mm':'ss> <yyyy>\n " in the user's locale; empty when the file cannot be
// opened or its time read or shown.
std::string FileDateLine(const VersionCheckContext& context, std::string_view path);

// VER_CHECK's dialog procedure for the file `name`: OK ends it with 1 (replace), Cancel or Escape
// with 0 (keep).
INT_PTR VerCheck(const VersionCheckContext& context, std::string_view name, DialogWindow& dialog,
                 UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR VerCheck(const VersionCheckContext& context, std::string_view installedName,
                 std::string_view diskName, DialogWindow& dialog, UINT message, WPARAM wParam,
                 LPARAM lParam);

// True when entry `index` is to be copied: it carries no version-check mark, its file is not in the
// system directory, or the user chose to replace it; false when the user chose to keep the
// installed file. Before asking, the owner is disabled; the progress display of the following copy
// enables it again. A dialog that cannot be opened asks nothing and the entry is copied as before
// (true). `installedAs` is the name a two-name entry is installed under (its list name otherwise).
[[nodiscard]] bool
CheckInstalledVersion(const VersionCheckContext& context, const CopyList& list, WindowHandle owner,
                      std::size_t index,
                      std::optional<std::string_view> installedAs = std::nullopt);

// What a declined check does to the list: a virtual device driver ("386") is dropped alone (its
// flag becomes "0"); for any other file the printer driver stays as installed as a whole, so every
// entry whose extension is not "386" becomes "0" and the device drivers may still be replaced.
void DropDeclinedEntry(CopyList& list, std::size_t index);

// The version pass of the driver step: every entry from the first to the end of the list in turn
// through CheckInstalledVersion, dropping entries as the answers say. Entries already dropped are
// not asked about again. A two-name entry is checked under the name it is installed as, the
// next one of `renames`.
void CheckInstalledVersions(const VersionCheckContext& context, CopyList& list,
                            const RenameList& renames, WindowHandle owner);

// The same on the installer's copy list.
[[nodiscard]] bool CheckInstalledVersion(Installer& installer, WindowHandle owner,
                                         std::size_t index);
void CheckInstalledVersions(Installer& installer, WindowHandle owner);

} // namespace tl
