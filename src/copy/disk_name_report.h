// A name from the setup script checked where it is read: an unusable one is reported with the
// script line it came from and recorded as an error event.
#pragma once

#include "platform/window_types.h"

#include <string_view>

namespace tl {

struct Installer;

// The fixed part of the report, also the message's key for answers and transcripts.
inline constexpr std::string_view kBadDiskNameText =
    "The setup script names a file that cannot be used";

// True when `name` is one plain path component (see text/disk_name.h). Otherwise shows
// "<fixed text> (<why>):\n<lineText>" with the caption "Error", records
// {"event":"error","operation":"CheckDiskName","file":name,"code":123} and returns false.
[[nodiscard]] bool AcceptDiskName(Installer& installer, WindowHandle owner, std::string_view name,
                                  std::string_view lineText);

// Shows "<fixed text> (<why>):\n<lineText>" and records the error event, for a name refused for
// a reason of the caller's own.
void ReportBadDiskName(Installer& installer, WindowHandle owner, std::string_view name,
                       std::string_view lineText, std::string_view why);

// The name behind a disk or place prefix of `prefixLength` bytes ("0:TLPM.386" with 2,
// "20:SYSTEM.INI" with 3); empty when the text is not longer than the prefix.
std::string_view NameAfterPrefix(std::string_view text, std::size_t prefixLength);

} // namespace tl
