// Port: time zone and locale-dependent date and time texts, shaped like
// FileTimeToLocalFileTime, LocalFileTimeToFileTime, GetDateFormatA and GetTimeFormatA; and the
// pure conversions between file times and calendar times (FileTimeToSystemTime,
// SystemTimeToFileTime), which every adapter shares.
#pragma once

#include "platform/win_types.h"

#include <optional>
#include <string>
#include <string_view>

namespace tl {

struct SYSTEMTIME {
    WORD wYear = 0;
    WORD wMonth = 0;     // 1..12
    WORD wDayOfWeek = 0; // 0 = Sunday
    WORD wDay = 0;
    WORD wHour = 0;
    WORD wMinute = 0;
    WORD wSecond = 0;
    WORD wMilliseconds = 0;
    friend bool operator==(const SYSTEMTIME&, const SYSTEMTIME&) = default;
};

using LCID = DWORD;
inline constexpr LCID kLocaleUserDefault = 0x0400;
inline constexpr LCID kLocaleSystemDefault = 0x0800;
inline constexpr DWORD kErrorInvalidFlags = 1004;

// FileTimeToSystemTime: none for a time at or beyond 2^63 units (as Windows refuses it).
std::optional<SYSTEMTIME> FileTimeToSystemTime(const FILETIME& time);
// SystemTimeToFileTime: none for a field out of range (the day of the week is ignored).
std::optional<FILETIME> SystemTimeToFileTime(const SYSTEMTIME& time);

class Clock {
public:
    virtual ~Clock() = default;

    virtual BOOL FileTimeToLocalFileTime(const FILETIME& utc, FILETIME* local) const = 0;
    virtual BOOL LocalFileTimeToFileTime(const FILETIME& local, FILETIME* utc) const = 0;
    // GetLocalTime: the current local time.
    virtual SYSTEMTIME GetLocalTime() const = 0;
    // GetUserDefaultLCID.
    virtual LCID GetUserDefaultLCID() const = 0;

    // GetDateFormatA / GetTimeFormatA with a picture ("ddd MMM d", "HH':'mm':'ss", "yyyy"):
    // the ANSI text, or none with the reason in `error` (87 bad locale or time, 1004 flags
    // other than 0, 122 when the text and its NUL need more than `bufferSize` characters).
    virtual std::optional<std::string> GetDateFormat(LCID locale, DWORD flags,
                                                     const SYSTEMTIME& date,
                                                     std::string_view picture, int bufferSize,
                                                     DWORD* error = nullptr) const = 0;
    virtual std::optional<std::string> GetTimeFormat(LCID locale, DWORD flags,
                                                     const SYSTEMTIME& time,
                                                     std::string_view picture, int bufferSize,
                                                     DWORD* error = nullptr) const = 0;
};

} // namespace tl
