// Date and time pictures as GetDateFormat and GetTimeFormat read them:
//   date: d dd (day), ddd (abbreviated day name), dddd (day name), M MM, MMM (abbreviated month
//         name), MMMM (month name), y (year in the century, no leading zero), yy, yyyy (and
//         longer: the whole year), g gg (era);
//   time: h hh (12-hour), H HH (24-hour), m mm, s ss, t (first character of the AM/PM
//         designator), tt (the designator);
//   'text' is copied as it stands ('' inside it is one quote); any other character is copied.
#pragma once

#include "platform/clock.h"

#include <array>
#include <string>
#include <string_view>

namespace tl::host {

// A locale's names, ANSI (code page 949).
struct LocaleNames {
    std::array<std::string, 7> abbreviatedDays; // Sunday first, as wDayOfWeek counts
    std::array<std::string, 7> days;
    std::array<std::string, 12> abbreviatedMonths;
    std::array<std::string, 12> months;
    std::string am;
    std::string pm;
    std::string era;
};

std::string FormatDatePicture(const LocaleNames& names, const SYSTEMTIME& date,
                              std::string_view picture);
std::string FormatTimePicture(const LocaleNames& names, const SYSTEMTIME& time,
                              std::string_view picture);

} // namespace tl::host
