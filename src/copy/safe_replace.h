// Replacing a file by a new one written beside it: the one routine every replacement of an
// existing file goes through, so that the file's name never ends up holding neither file, on a
// Windows 95 whose MoveFileEx is a stub too.
#pragma once

#include "platform/platform.h"

#include <string_view>

namespace tl {

enum class ReplaceOutcome {
    Replaced,    // `replacement` is now under `target`
    NotReplaced, // nothing changed: the old file (if any) is under `target`, the replacement
                 // under its own name
    OldSetAside, // the replacement could not be moved in and the old file not back: the old
                 // file is whole under a name beside it, which the error event names
};

// Puts `replacement` under the name `target` (same directory). MoveFileEx with
// kMoveFileReplaceExisting first; where the system lacks it (the Windows 95 stub, error 120):
// the old file is renamed aside to a free name beside it ("<target>.~00" to "~99"), the
// replacement renamed in, and the old file renamed back when that fails; the aside copy is
// deleted only once the replacement is in place. Every failed call is recorded as an error event
// naming the call, the file and the error code.
[[nodiscard]] ReplaceOutcome SafeReplace(const Platform& platform, std::string_view replacement,
                                         std::string_view target);

} // namespace tl
