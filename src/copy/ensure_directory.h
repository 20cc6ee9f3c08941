// Makes sure every directory along a destination path exists before a file is copied there.
#pragma once

#include "platform/window_types.h"

#include <string_view>

namespace tl {

struct Installer;

// Creates each missing level of `path` (drive roots and a leading "\" are passed over).
// True when the whole path exists or was created; false after a level could not be created, which
// has been reported in a message box owned by `owner`.
[[nodiscard]] bool EnsureDirectory(Installer& installer, WindowHandle owner, std::string_view path);

} // namespace tl
