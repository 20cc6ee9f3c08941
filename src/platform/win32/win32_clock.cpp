#include "platform/win32/win32_clock.h"

#include "platform/win32/win32_api.h"

namespace tl::win32 {
namespace {

// GetDateFormatA and GetTimeFormatA write at most 80 characters for any picture the installer
// uses; a longer answer is asked for again at its size.
constexpr int kFirstBuffer = 128;

::SYSTEMTIME ToNative(const SYSTEMTIME& time) {
    return ::SYSTEMTIME{time.wYear, time.wMonth,  time.wDayOfWeek, time.wDay,
                        time.wHour, time.wMinute, time.wSecond,    time.wMilliseconds};
}

SYSTEMTIME FromNative(const ::SYSTEMTIME& time) {
    return SYSTEMTIME{time.wYear, time.wMonth,  time.wDayOfWeek, time.wDay,
                      time.wHour, time.wMinute, time.wSecond,    time.wMilliseconds};
}

using FormatCall = int(WINAPI*)(::LCID, ::DWORD, const ::SYSTEMTIME*, LPCSTR, LPSTR, int);

// Formats with the system's call into a buffer of its own, then applies the caller's size, so
// the answer and the error codes follow the port whatever size the caller gave.
std::optional<std::string> Format(FormatCall call, LCID locale, DWORD flags, const SYSTEMTIME& time,
                                  std::string_view picture, int bufferSize, DWORD* error) {
    const ::SYSTEMTIME native = ToNative(time);
    const std::string format(picture);
    std::string text(kFirstBuffer, '\0');
    int length = call(locale, flags, &native, format.c_str(), text.data(), kFirstBuffer);
    if (length == 0 && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        length = call(locale, flags, &native, format.c_str(), nullptr, 0);
        if (length > 0) {
            text.assign(static_cast<std::size_t>(length), '\0');
            length = call(locale, flags, &native, format.c_str(), text.data(), length);
        }
    }
    if (length == 0) {
        if (error != nullptr) {
            *error = static_cast<DWORD>(::GetLastError());
        }
        return std::nullopt;
    }
    text.resize(static_cast<std::size_t>(length - 1)); // without the NUL
    if (bufferSize > 0 && length > bufferSize) {
        if (error != nullptr) {
            *error = kErrorInsufficientBuffer;
        }
        return std::nullopt;
    }
    return text;
}

} // namespace

BOOL Win32Clock::FileTimeToLocalFileTime(const FILETIME& utc, FILETIME* local) const {
    const ::FILETIME in{utc.dwLowDateTime, utc.dwHighDateTime};
    ::FILETIME out{};
    if (!::FileTimeToLocalFileTime(&in, &out)) {
        return FALSE;
    }
    if (local != nullptr) {
        *local =
            FILETIME{static_cast<DWORD>(out.dwLowDateTime), static_cast<DWORD>(out.dwHighDateTime)};
    }
    return TRUE;
}

BOOL Win32Clock::LocalFileTimeToFileTime(const FILETIME& local, FILETIME* utc) const {
    const ::FILETIME in{local.dwLowDateTime, local.dwHighDateTime};
    ::FILETIME out{};
    if (!::LocalFileTimeToFileTime(&in, &out)) {
        return FALSE;
    }
    if (utc != nullptr) {
        *utc =
            FILETIME{static_cast<DWORD>(out.dwLowDateTime), static_cast<DWORD>(out.dwHighDateTime)};
    }
    return TRUE;
}

SYSTEMTIME Win32Clock::GetLocalTime() const {
    ::SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return FromNative(now);
}

LCID Win32Clock::GetUserDefaultLCID() const {
    return static_cast<LCID>(::GetUserDefaultLCID());
}

std::optional<std::string> Win32Clock::GetDateFormat(LCID locale, DWORD flags,
                                                     const SYSTEMTIME& date,
                                                     std::string_view picture, int bufferSize,
                                                     DWORD* error) const {
    return Format(::GetDateFormatA, locale, flags, date, picture, bufferSize, error);
}

std::optional<std::string> Win32Clock::GetTimeFormat(LCID locale, DWORD flags,
                                                     const SYSTEMTIME& time,
                                                     std::string_view picture, int bufferSize,
                                                     DWORD* error) const {
    return Format(::GetTimeFormatA, locale, flags, time, picture, bufferSize, error);
}

} // namespace tl::win32
