// An INI value written with WritePrivateProfileStringA, a failure recorded in the transcript
// (the call, the file, the error code) whether or not anyone is told.
#pragma once

#include "platform/error_event.h"
#include "platform/platform.h"
#include "platform/profile.h"

#include <string_view>

namespace tl {

inline BOOL WriteProfileRecorded(const Platform& platform, const char* section, const char* key,
                                 const char* value, std::string_view file) {
    if (platform.profile.WritePrivateProfileString(section, key, value, file))
        return 1;
    RecordError(platform, "WritePrivateProfileString", file, platform.profile.GetLastError());
    return 0;
}

} // namespace tl
