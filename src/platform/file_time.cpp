// Calendar arithmetic for FileTimeToSystemTime and SystemTimeToFileTime: the proleptic
// Gregorian calendar counted in days from 1 January 1601, which was a Monday.
#include "platform/clock.h"

namespace tl {
namespace {

constexpr std::uint64_t kUnitsPerMillisecond = 10000;
constexpr std::uint64_t kUnitsPerDay = 864000000000ULL;

// Days from 1 March of year 0 style civil arithmetic (H. Hinnant's days_from_civil), shifted so
// that day 0 is 1 January 1601.
std::int64_t DaysFrom1601(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t daysFrom1970 = era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
    return daysFrom1970 + 134774;
}

bool IsLeap(unsigned year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned DaysInMonth(unsigned year, unsigned month) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

} // namespace

std::optional<SYSTEMTIME> FileTimeToSystemTime(const FILETIME& time) {
    const std::uint64_t value = FileTimeValue(time);
    if (value >= 0x8000000000000000ULL) {
        return std::nullopt;
    }
    const auto days = static_cast<std::int64_t>(value / kUnitsPerDay);
    std::uint64_t rest = value % kUnitsPerDay;

    // civil_from_days, from days since 1970.
    const std::int64_t z = days - 134774 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(z - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned mp = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2);

    SYSTEMTIME result;
    result.wYear = static_cast<WORD>(year);
    result.wMonth = static_cast<WORD>(month);
    result.wDay = static_cast<WORD>(day);
    result.wDayOfWeek = static_cast<WORD>((days + 1) % 7); // 1601-01-01 was a Monday
    result.wHour = static_cast<WORD>(rest / (3600 * 1000 * kUnitsPerMillisecond));
    rest %= 3600 * 1000 * kUnitsPerMillisecond;
    result.wMinute = static_cast<WORD>(rest / (60 * 1000 * kUnitsPerMillisecond));
    rest %= 60 * 1000 * kUnitsPerMillisecond;
    result.wSecond = static_cast<WORD>(rest / (1000 * kUnitsPerMillisecond));
    rest %= 1000 * kUnitsPerMillisecond;
    result.wMilliseconds = static_cast<WORD>(rest / kUnitsPerMillisecond);
    return result;
}

std::optional<FILETIME> SystemTimeToFileTime(const SYSTEMTIME& time) {
    if (time.wYear < 1601 || time.wYear > 30827 || time.wMonth < 1 || time.wMonth > 12 ||
        time.wDay < 1 || time.wDay > DaysInMonth(time.wYear, time.wMonth) || time.wHour > 23 ||
        time.wMinute > 59 || time.wSecond > 59 || time.wMilliseconds > 999) {
        return std::nullopt;
    }
    const auto days = static_cast<std::uint64_t>(DaysFrom1601(time.wYear, time.wMonth, time.wDay));
    const std::uint64_t milliseconds =
        ((std::uint64_t{time.wHour} * 60 + time.wMinute) * 60 + time.wSecond) * 1000 +
        time.wMilliseconds;
    return MakeFileTime(days * kUnitsPerDay + milliseconds * kUnitsPerMillisecond);
}

} // namespace tl
