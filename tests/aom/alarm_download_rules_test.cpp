// How an alarm event is dated and the day's file named: the module keeps no
// year, so the year comes from the date of the download.
#include "AlarmDownload.h"

#include <gtest/gtest.h>

namespace {

std::tm Day(int year, int month, int day)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = 10;
    return t;
}

struct DateCase {
    const char* name;
    AlarmRecord record;  // output, active, mask, month, day, hour, minute, second
    std::tm now;
    const char* text;
};

class EventDate : public ::testing::TestWithParam<DateCase> {};

TEST_P(EventDate, IsWrittenAs)
{
    EXPECT_EQ(EventDateText(GetParam().record, GetParam().now), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Rules, EventDate, ::testing::Values(
    DateCase{"DecemberInJanuaryIsLastYear", {0, true, 1, 12, 31, 23, 5, 9}, Day(2027, 1, 3),
             "Date: 12/31/26  Time: 11:05:09 PM"},
    DateCase{"CurrentMonthStays", {0, true, 1, 6, 1, 0, 0, 0}, Day(2027, 6, 30),
             "Date: 06/01/27  Time: 12:00:00 AM"},
    DateCase{"NoonIsPm", {0, true, 1, 5, 9, 12, 0, 1}, Day(2027, 6, 30),
             "Date: 05/09/27  Time: 12:00:01 PM"},
    DateCase{"LeapDayOfALeapYear", {0, true, 1, 2, 29, 9, 0, 0}, Day(2028, 3, 1),
             "Date: 02/29/28  Time: 09:00:00 AM"},
    // Impossible dates keep the module's numbers, marked, rather than moving to a real day.
    DateCase{"MonthZero", {0, true, 1, 0, 12, 13, 14, 15}, Day(2027, 1, 3),
             "Date: 00/12/27  Time: 13:14:15  (not a valid date)"},
    DateCase{"DayThirtyTwo", {0, true, 1, 1, 32, 1, 2, 3}, Day(2027, 1, 3),
             "Date: 01/32/27  Time: 01:02:03  (not a valid date)"},
    DateCase{"LeapDayOfACommonYear", {0, true, 1, 2, 29, 9, 0, 0}, Day(2027, 3, 1),
             "Date: 02/29/27  Time: 09:00:00  (not a valid date)"},
    DateCase{"HourTwentyFive", {0, true, 1, 3, 1, 25, 0, 0}, Day(2027, 3, 1),
             "Date: 03/01/27  Time: 25:00:00  (not a valid date)"}),
    [](const ::testing::TestParamInfo<DateCase>& info) { return std::string(info.param.name); });

TEST(AlarmFile, NamedAfterTheDayOfTheDownload)
{
    EXPECT_EQ(AlarmFileName(Day(2010, 3, 7)), "Alarm Download 03-07-10.txt");
    EXPECT_EQ(AlarmFileName(Day(2100, 12, 31)), "Alarm Download 12-31-00.txt");
}

}  // namespace
