// Event-log entries, byte for byte.

#include "EventLog.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

std::tm At(int year, int month, int day, int hour, int min, int sec)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = min;
    t.tm_sec = sec;
    return t;
}

const std::string kStars(64, '*');

TEST(EventLogClock, TwelveHourClock)
{
    const std::pair<int, const char*> cases[] = {{0, "00:05:09 AM"}, {11, "11:05:09 AM"},
                                                 {12, "12:05:09 PM"}, {13, "01:05:09 PM"},
                                                 {23, "11:05:09 PM"}};
    for (const auto& [hour, shown] : cases)
        EXPECT_EQ(EventLog::FormatEntry(At(2009, 12, 1, hour, 5, 9), "O", "M"),
                  kStars + "\n2009/12/1  " + shown + "  {O}  \n\t\t\tM  \n\n");
}

TEST(EventLogFile, AppendsEntriesToWorkingDirectoryOrWithoutOneToTheCurrentDirectory)
{
    TempWorkDir dir("WORKING_DIRECTORY=sub\n");
    std::filesystem::create_directory(dir.Path() / "sub");
    dir.Restart();
    dir.Log().SetClock([] { return At(2026, 3, 7, 13, 0, 0); });
    dir.Log().WriteError("DBConfigParser::Parse", "first");
    dir.Log().WriteError("X", "second");
    const std::string one = kStars + "\n2026/3/7  01:00:00 PM  {DBConfigParser::Parse}  \n\t\t\tfirst  \n\n";
    const std::string two = kStars + "\n2026/3/7  01:00:00 PM  {X}  \n\t\t\tsecond  \n\n";
    EXPECT_EQ(dir.ReadFile("sub/eventLog.txt"), one + two);
    // Without the key the log goes to the current directory, never to "/".
    dir.WriteFile("config.txt", "SERIAL_PORT=1\n");
    dir.Restart();
    EXPECT_EQ(dir.Log().Path(), dir.Path() / "eventLog.txt");
    dir.Log().WriteError("o", "m");
    EXPECT_TRUE(dir.Exists("eventLog.txt"));
}

}  // namespace
