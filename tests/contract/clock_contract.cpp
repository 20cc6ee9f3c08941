#include "port_contract.h"

namespace tl::test {
namespace {

constexpr LCID kKorean = 0x0412;
constexpr LCID kEnglish = 0x0409;

// Sunday, 31 December 1995, 08:50:07.
SYSTEMTIME NewYearsEve() {
    return *FileTimeToSystemTime(MakeFileTime(124648734070000000ULL));
}

TEST_P(ClockContract, FormatsDatesAndTimesByPicture) {
    Clock& clock = Ports().clock;
    const SYSTEMTIME eve = NewYearsEve();
    ASSERT_EQ(eve.wDayOfWeek, 0);
    EXPECT_EQ(clock.GetDateFormat(kEnglish, 0, eve, "ddd MMM d yyyy", 64), "Sun Dec 31 1995");
    EXPECT_EQ(clock.GetDateFormat(kEnglish, 0, eve, "dddd, MMMM dd", 64), "Sunday, December 31");
    EXPECT_EQ(clock.GetDateFormat(kKorean, 0, eve, "yyyy-MM-dd", 64), "1995-12-31");
    // The Korean day name, in code page 949.
    EXPECT_EQ(clock.GetDateFormat(kKorean, 0, eve, "ddd", 64), "\xC0\xCF");
    EXPECT_EQ(clock.GetTimeFormat(kEnglish, 0, eve, "HH':'mm':'ss", 64), "08:50:07");
    EXPECT_EQ(clock.GetTimeFormat(kKorean, 0, eve, "H'h' m'm'", 64), "8h 50m");

    DWORD error = 0;
    EXPECT_EQ(clock.GetDateFormat(kEnglish, 0, eve, "yyyy", 4, &error), std::nullopt);
    EXPECT_EQ(error, kErrorInsufficientBuffer);
    EXPECT_EQ(clock.GetDateFormat(kEnglish, 0, eve, "yyyy", 5), "1995");
    EXPECT_EQ(clock.GetDateFormat(kEnglish, 1, eve, "yyyy", 64, &error), std::nullopt);
    EXPECT_EQ(error, kErrorInvalidFlags);
    SYSTEMTIME bad = eve;
    bad.wMonth = 13;
    EXPECT_EQ(clock.GetDateFormat(kEnglish, 0, bad, "yyyy", 64, &error), std::nullopt);
    EXPECT_EQ(error, kErrorInvalidParameter);
}

TEST_P(ClockContract, LocalTimesRoundTrip) {
    Clock& clock = Ports().clock;
    const FILETIME utc = MakeFileTime(124648734070000000ULL);
    FILETIME local, back;
    ASSERT_TRUE(clock.FileTimeToLocalFileTime(utc, &local));
    ASSERT_TRUE(clock.LocalFileTimeToFileTime(local, &back));
    EXPECT_EQ(back, utc);
    const SYSTEMTIME now = clock.GetLocalTime();
    EXPECT_GE(now.wYear, 2000);
    EXPECT_TRUE(SystemTimeToFileTime(now));
}

} // namespace
} // namespace tl::test
