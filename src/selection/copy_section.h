// One copy section of the driver catalogue appended to the copy list and the rename list.
#pragma once

#include "platform/window_types.h"

#include <optional>
#include <string_view>

namespace tl {

struct Installer;

// The text behind the first "." of `name`, or none.
std::optional<std::string_view> FileExtension(std::string_view name);

// Whether another program holds the file of the system directory open: only a sharing violation
// counts (recorded as an error event); a missing file is not in use.
bool IsSystemFileInUse(Installer& installer, std::string_view fileName);

// Appends every line of section `sectionName` to the copy list (and the destination names of
// two-name lines to the rename list). True, or false after a report; the list then ends behind the
// entries made before the failing line.
[[nodiscard]] bool AddCopySection(Installer& installer, WindowHandle owner,
                                  std::string_view sectionName);

} // namespace tl
