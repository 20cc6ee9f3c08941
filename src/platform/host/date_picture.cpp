#include "platform/host/date_picture.h"

#include "text/ansi_text.h"

#include <cstdio>

namespace tl::host {
namespace {

std::string Number(unsigned value, bool twoDigits) {
    char text[16];
    std::snprintf(text, sizeof text, twoDigits ? "%02u" : "%u", value);
    return text;
}

// The first character of an ANSI text: two bytes when it starts with a code-page-949 lead byte.
std::string FirstCharacter(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    return text.substr(0, text::CharacterWidth(text, 0));
}

// Walks a picture: quoted text is copied, a run of one of `letters` goes to `field` with its
// length, anything else is copied.
template <typename Field>
std::string Walk(std::string_view picture, std::string_view letters, Field field) {
    std::string out;
    std::size_t i = 0;
    while (i < picture.size()) {
        char c = picture[i];
        if (c == '\'') {
            ++i;
            while (i < picture.size()) {
                if (picture[i] == '\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                        out += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += picture[i++];
            }
            continue;
        }
        if (letters.find(c) == std::string_view::npos) {
            out += c;
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c) {
            ++run;
        }
        out += field(c, run);
        i += run;
    }
    return out;
}

} // namespace

std::string FormatDatePicture(const LocaleNames& names, const SYSTEMTIME& date,
                              std::string_view picture) {
    return Walk(picture, "dMyg", [&](char c, std::size_t run) -> std::string {
        switch (c) {
        case 'd':
            if (run >= 4) {
                return names.days[date.wDayOfWeek % 7];
            }
            if (run == 3) {
                return names.abbreviatedDays[date.wDayOfWeek % 7];
            }
            return Number(date.wDay, run == 2);
        case 'M':
            if (run >= 4) {
                return names.months[(date.wMonth + 11) % 12];
            }
            if (run == 3) {
                return names.abbreviatedMonths[(date.wMonth + 11) % 12];
            }
            return Number(date.wMonth, run == 2);
        case 'y':
            if (run >= 3) {
                return Number(date.wYear, false);
            }
            return Number(date.wYear % 100u, run == 2);
        default: // 'g'
            return names.era;
        }
    });
}

std::string FormatTimePicture(const LocaleNames& names, const SYSTEMTIME& time,
                              std::string_view picture) {
    return Walk(picture, "hHmst", [&](char c, std::size_t run) -> std::string {
        bool two = run >= 2;
        switch (c) {
        case 'h': {
            unsigned hour = time.wHour % 12u;
            return Number(hour == 0 ? 12 : hour, two);
        }
        case 'H':
            return Number(time.wHour, two);
        case 'm':
            return Number(time.wMinute, two);
        case 's':
            return Number(time.wSecond, two);
        default: { // 't'
            const std::string& designator = time.wHour < 12 ? names.am : names.pm;
            return two ? designator : FirstCharacter(designator);
        }
        }
    });
}

} // namespace tl::host
