// The clock port on the system's time zone and locale (FileTimeToLocalFileTime,
// GetDateFormatA, GetTimeFormatA, ...).
#pragma once

#include "platform/clock.h"

namespace tl::win32 {

class Win32Clock final : public Clock {
public:
    BOOL FileTimeToLocalFileTime(const FILETIME& utc, FILETIME* local) const override;
    BOOL LocalFileTimeToFileTime(const FILETIME& local, FILETIME* utc) const override;
    SYSTEMTIME GetLocalTime() const override;
    LCID GetUserDefaultLCID() const override;
    std::optional<std::string> GetDateFormat(LCID locale, DWORD flags, const SYSTEMTIME& date,
                                             std::string_view picture, int bufferSize,
                                             DWORD* error = nullptr) const override;
    std::optional<std::string> GetTimeFormat(LCID locale, DWORD flags, const SYSTEMTIME& time,
                                             std::string_view picture, int bufferSize,
                                             DWORD* error = nullptr) const override;
};

} // namespace tl::win32
