// A profile write whose failure goes on record: WritePrivateProfileString with the error event
// (the call, the file as the installer named it, GetLastError's code) when it is refused, so
// that a refused INI line is never silent.
#pragma once

#include "platform/error_event.h"
#include "platform/platform.h"

#include <string_view>

namespace tl {

// True when the value is written (or was already there); false, with the error recorded, when
// the file could not be written.
inline bool WriteProfileRecorded(const Platform& platform, const char* section, const char* key,
                                 const char* value, std::string_view fileName) {
    if (platform.profile.WritePrivateProfileString(section, key, value, fileName)) {
        return true;
    }
    RecordError(platform, "WritePrivateProfileString", fileName, platform.files.GetLastError());
    return false;
}

} // namespace tl
