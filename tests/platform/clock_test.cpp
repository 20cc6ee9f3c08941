// File times and the simulated PC's clock beyond the port contract: calendar limits, the
// machine's offset from UTC and the corners of the Windows date and time pictures.
#include "platform/host/iconv_code_page.h"
#include "platform/host/machine_clock.h"

#include <gtest/gtest.h>

namespace tl::host {
namespace {

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

TEST(MachineClockTest, OffsetAndPicturesFollowWindowsRules) {
    IconvCodePage codePage;
    MachineConfig config;
    config.locale = kLocaleEnglishUs;
    config.utcOffsetMinutes = -300;
    const MachineClock english(config, codePage);
    config.locale = kLocaleKorean;
    config.utcOffsetMinutes = 540;
    const MachineClock korean(config, codePage);
    // 31 December 1995, 23:50:00 UTC: 18:50 in New York, already 1996 in Seoul.
    FILETIME local;
    ASSERT_TRUE(english.FileTimeToLocalFileTime(MakeFileTime(124649274000000000ULL), &local));
    EXPECT_EQ(FileTimeToSystemTime(local)->wHour, 18);
    ASSERT_TRUE(korean.FileTimeToLocalFileTime(MakeFileTime(124649274000000000ULL), &local));
    EXPECT_EQ(FileTimeToSystemTime(local)->wYear, 1996);
    EXPECT_EQ(FileTimeToSystemTime(local)->wHour, 8);
    EXPECT_FALSE(english.FileTimeToLocalFileTime(MakeFileTime(0), &local)); // before 1601 locally

    SYSTEMTIME t = Date(2005, 3, 7, 0, 5, 9); // a Monday
    const std::pair<const char*, const char*> dates[] = {
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
    // Locales other than the two the PC knows are refused.
    DWORD error = 0;
    EXPECT_FALSE(korean.GetDateFormat(0x0411, 0, t, "d", 80, &error));
    EXPECT_EQ(error, kErrorInvalidParameter);
    EXPECT_FALSE(korean.GetTimeFormat(kLocaleUserDefault, 0, Date(1995, 1, 1, 25), "H", 80));
}

} // namespace
} // namespace tl::host
