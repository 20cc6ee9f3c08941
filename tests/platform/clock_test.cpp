// File times and the simulated PC's clock: calendar conversion, the machine's offset from UTC
// and the Windows date and time pictures in English and Korean.
#include "platform/host/iconv_code_page.h"
#include "platform/host/machine_clock.h"

#include <gtest/gtest.h>

namespace tl::host {
namespace {

// 31 December 1995, 08:50:00 UTC, a Sunday.
constexpr std::uint64_t kStamp = 124648734000000000ULL;

SYSTEMTIME Date(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0) {
    SYSTEMTIME time;
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

TEST(FileTime, ConvertsToAndFromCalendarTime) {
    SYSTEMTIME eve = Date(1995, 12, 31, 8, 50);
    eve.wDayOfWeek = 0;
    EXPECT_EQ(FileTimeToSystemTime(MakeFileTime(kStamp)), eve);
    EXPECT_EQ(FileTimeValue(*SystemTimeToFileTime(eve)), kStamp);
    EXPECT_EQ(FileTimeToSystemTime(MakeFileTime(0))->wDayOfWeek, 1); // 1601-01-01, a Monday
    EXPECT_EQ(FileTimeToSystemTime(*SystemTimeToFileTime(Date(2000, 2, 29)))->wDayOfWeek, 2);
    // The epoch itself, a leap day, a date before 1970, milliseconds.
    for (SYSTEMTIME t : {Date(1601, 1, 1), Date(2000, 2, 29, 23, 59, 59), Date(1900, 3, 1, 12),
                         Date(2038, 1, 19, 3, 14, 8)}) {
        t.wMilliseconds = 999;
        auto back = FileTimeToSystemTime(*SystemTimeToFileTime(t));
        ASSERT_TRUE(back);
        back->wDayOfWeek = 0;
        EXPECT_EQ(*back, t) << t.wYear;
    }
    for (const SYSTEMTIME& bad :
         {Date(1999, 2, 29), Date(1600, 12, 31), Date(1999, 13, 1), Date(1999, 1, 1, 24)}) {
        EXPECT_FALSE(SystemTimeToFileTime(bad)) << bad.wYear << "-" << bad.wMonth;
    }
    EXPECT_FALSE(FileTimeToSystemTime(MakeFileTime(0x8000000000000000ULL)));
}

class ClockTest : public ::testing::Test {
protected:
    MachineClock Make(WORD locale, int offsetMinutes) {
        MachineConfig config;
        config.locale = locale;
        config.utcOffsetMinutes = offsetMinutes;
        return MachineClock(config, codePage);
    }
    // The installer's date line for a UTC file time, in UTF-8.
    std::string DateLine(const Clock& clock, std::uint64_t utc) {
        FILETIME local;
        EXPECT_TRUE(clock.FileTimeToLocalFileTime(MakeFileTime(utc), &local));
        SYSTEMTIME time = *FileTimeToSystemTime(local);
        return codePage.ToUtf8(
            *clock.GetDateFormat(kLocaleUserDefault, 0, time, "ddd MMM d", 80) + " " +
            *clock.GetTimeFormat(kLocaleUserDefault, 0, time, "HH':'mm':'ss", 80) + " " +
            *clock.GetDateFormat(kLocaleUserDefault, 0, time, "yyyy", 80));
    }
    IconvCodePage codePage;
};

TEST_F(ClockTest, DateLineInKoreanAndEnglishWithTheMachinesOffset) {
    EXPECT_EQ(DateLine(Make(kLocaleKorean, 0), kStamp), "일 12월 31 08:50:00 1995");
    // Seoul is nine hours ahead: the same instant is already the next year there.
    EXPECT_EQ(DateLine(Make(kLocaleKorean, 540), kStamp + 15 * 36000000000ULL),
              "월 1월 1 08:50:00 1996");
    EXPECT_EQ(DateLine(Make(kLocaleEnglishUs, -300), kStamp), "Sun Dec 31 03:50:00 1995");
    MachineClock clock = Make(kLocaleEnglishUs, -300);
    FILETIME local;
    EXPECT_FALSE(clock.FileTimeToLocalFileTime(MakeFileTime(0), &local)); // before 1601 locally
}

TEST_F(ClockTest, PicturesFollowWindowsRules) {
    MachineClock english = Make(kLocaleEnglishUs, 0);
    MachineClock korean = Make(kLocaleKorean, 0);
    SYSTEMTIME t = Date(2005, 3, 7, 0, 5, 9); // a Monday
    const std::pair<const char*, const char*> dates[] = {
        {"d dd ddd dddd", "7 07 Mon Monday"},
        {"M MM MMM MMMM", "3 03 Mar March"},
        {"y yy yyyy yyyyy gg", "5 05 2005 2005 A.D."},
        {"'dd''MM' dd/MM", "dd'MM 07/03"},
        {"'unclosed d", "unclosed d"}};
    for (const auto& [picture, text] : dates) {
        EXPECT_EQ(english.GetDateFormat(0x0409, 0, t, picture, 80), text);
    }
    EXPECT_EQ(english.GetTimeFormat(0x0409, 0, t, "h:mm:ss tt|H|t", 80), "12:05:09 AM|0|A");
    t.wHour = 13;
    EXPECT_EQ(english.GetTimeFormat(0x0409, 0, t, "hh HH tt", 80), "01 13 PM");
    EXPECT_EQ(codePage.ToUtf8(*korean.GetTimeFormat(kLocaleUserDefault, 0, t, "tt h t", 80)),
              "오후 1 오");
    EXPECT_EQ(codePage.ToUtf8(*korean.GetDateFormat(kLocaleSystemDefault, 0, t, "dddd MMMM", 80)),
              "월요일 3월");
    // An explicit locale wins over the user's; others are refused.
    EXPECT_EQ(*korean.GetDateFormat(0x0409, 0, t, "ddd", 80), "Mon");
    DWORD error = 0;
    EXPECT_FALSE(korean.GetDateFormat(0x0411, 0, t, "d", 80, &error));
    EXPECT_EQ(error, kErrorInvalidParameter);
    EXPECT_FALSE(korean.GetDateFormat(kLocaleUserDefault, 0, Date(1995, 2, 30), "d", 80, &error));
    EXPECT_EQ(error, kErrorInvalidParameter);
    EXPECT_FALSE(korean.GetTimeFormat(kLocaleUserDefault, 0, Date(1995, 1, 1, 25), "H", 80));
}

} // namespace
} // namespace tl::host
