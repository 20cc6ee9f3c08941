// What the removal program needs of every file the copy engine installs: a record naming it, and
// when a file of that name was there before, a copy of that earlier file to bring back. Device
// drivers have their backup (copy/backup.h) for that; every other kind gets a removal copy beside
// the file, with the extension R00 to R99 (TLCORE.DLL gives TLCORE.R00), written like any
// other file of the installation and so counted against the free space.
#pragma once

#include <string>
#include <string_view>

namespace tl {

struct Installer;

// Records the file `destination` of copy-list kind `kind` before it is written; for a file that
// is there already, first the removal copy of it (`earlierCopy`, when the caller made one, as for
// device drivers, names it instead). False when the record or the copy could not be made (the
// error is in the transcript): the file must then not be written.
[[nodiscard]] bool RecordInstalledFile(Installer& installer, int kind, std::string_view destination,
                                       std::string_view earlierCopy = {});

// Copies `source` to the new file `target` byte for byte. False (nothing left under `target`)
// when it fails; the failed call is recorded.
[[nodiscard]] bool CopyFileBytes(Installer& installer, std::string_view source,
                                 std::string_view target);

} // namespace tl
