// Makes sure every directory along a destination path exists before a file is copied there.
#pragma once

#include "platform/window_types.h"

#include <string_view>

namespace tl {

struct Installer;

// Creates each missing level of `path` (drive roots and a leading "\" are passed over).
// 1 when the whole path exists or was created; 0 after a level could not be created, which has
// been reported in a message box owned by `owner`.
int EnsureDirectory(Installer& installer, WindowHandle owner, std::string_view path);

} // namespace tl
