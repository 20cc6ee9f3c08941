#include "platform/host/machine_clock.h"

#include <chrono>

namespace tl::host {
namespace {

constexpr std::int64_t kUnitsPerMinute = 600000000LL;

// The names Korean Windows prints (UTF-8 here, code page 949 once converted).
LocaleNames KoreanNames(const CodePage& codePage) {
    LocaleNames names;
    const char* days[] = {"일", "월", "화", "수", "목", "금", "토"};
    for (std::size_t i = 0; i < 7; ++i) {
        names.abbreviatedDays[i] = codePage.FromUtf8(days[i]);
        names.days[i] = codePage.FromUtf8(std::string(days[i]) + "요일");
    }
    for (std::size_t i = 0; i < 12; ++i) {
        names.abbreviatedMonths[i] = codePage.FromUtf8(std::to_string(i + 1) + "월");
        names.months[i] = names.abbreviatedMonths[i];
    }
    names.am = codePage.FromUtf8("오전");
    names.pm = codePage.FromUtf8("오후");
    names.era = codePage.FromUtf8("서기");
    return names;
}

LocaleNames EnglishNames() {
    return LocaleNames{
        {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
        {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
        {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
        {"January", "February", "March", "April", "May", "June", "July", "August", "September",
         "October", "November", "December"},
        "AM",
        "PM",
        "A.D.",
    };
}

BOOL Shift(const FILETIME& in, std::int64_t units, FILETIME* out) {
    auto value = static_cast<std::int64_t>(FileTimeValue(in));
    if (FileTimeValue(in) >= 0x8000000000000000ULL || value + units < 0) {
        return 0;
    }
    *out = MakeFileTime(static_cast<std::uint64_t>(value + units));
    return 1;
}

std::optional<std::string> Finish(std::string text, int bufferSize, DWORD* error) {
    if (bufferSize > 0 && text.size() + 1 > static_cast<std::size_t>(bufferSize)) {
        if (error) {
            *error = kErrorInsufficientBuffer;
        }
        return std::nullopt;
    }
    return text;
}

std::optional<std::string> Refuse(DWORD reason, DWORD* error) {
    if (error) {
        *error = reason;
    }
    return std::nullopt;
}

} // namespace

MachineClock::MachineClock(const MachineConfig& config, const CodePage& codePage)
    : locale_(config.locale), offsetUnits_(std::int64_t{config.utcOffsetMinutes} * kUnitsPerMinute),
      korean_(KoreanNames(codePage)), english_(EnglishNames()) {}

BOOL MachineClock::FileTimeToLocalFileTime(const FILETIME& utc, FILETIME* local) const {
    return Shift(utc, offsetUnits_, local);
}

BOOL MachineClock::LocalFileTimeToFileTime(const FILETIME& local, FILETIME* utc) const {
    return Shift(local, -offsetUnits_, utc);
}

SYSTEMTIME MachineClock::GetLocalTime() const {
    using namespace std::chrono;
    auto sinceUnix = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
    std::int64_t units = sinceUnix * 10 + 116444736000000000LL + offsetUnits_;
    return FileTimeToSystemTime(MakeFileTime(static_cast<std::uint64_t>(units)))
        .value_or(SYSTEMTIME{});
}

const LocaleNames* MachineClock::Names(LCID locale) const {
    if (locale == kLocaleUserDefault || locale == kLocaleSystemDefault) {
        locale = locale_;
    }
    if (locale == kLocaleKorean) {
        return &korean_;
    }
    if (locale == kLocaleEnglishUs) {
        return &english_;
    }
    return nullptr;
}

std::optional<std::string> MachineClock::GetDateFormat(LCID locale, DWORD flags,
                                                       const SYSTEMTIME& date,
                                                       std::string_view picture, int bufferSize,
                                                       DWORD* error) const {
    const LocaleNames* names = Names(locale);
    if (!names || !SystemTimeToFileTime(date)) {
        return Refuse(kErrorInvalidParameter, error);
    }
    if (flags != 0) {
        return Refuse(kErrorInvalidFlags, error);
    }
    // The day of the week comes from the date itself, as Windows recomputes it.
    SYSTEMTIME checked = *FileTimeToSystemTime(*SystemTimeToFileTime(date));
    return Finish(FormatDatePicture(*names, checked, picture), bufferSize, error);
}

std::optional<std::string> MachineClock::GetTimeFormat(LCID locale, DWORD flags,
                                                       const SYSTEMTIME& time,
                                                       std::string_view picture, int bufferSize,
                                                       DWORD* error) const {
    const LocaleNames* names = Names(locale);
    if (!names || time.wHour > 23 || time.wMinute > 59 || time.wSecond > 59) {
        return Refuse(kErrorInvalidParameter, error);
    }
    if (flags != 0) {
        return Refuse(kErrorInvalidFlags, error);
    }
    return Finish(FormatTimePicture(*names, time, picture), bufferSize, error);
}

} // namespace tl::host
