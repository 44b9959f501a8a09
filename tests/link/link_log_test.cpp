// The link traffic kept for a support report: the transcript's lines, what
// is kept (20 minutes, 2 MB) and the report around them.

#include "link/LinkLog.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Clock = std::chrono::system_clock;

TEST(LinkLog, LinesAsTheTranscriptWritesThemAndOnlyTheLastMinutes)
{
    const Clock::time_point t0 = Clock::from_time_t(1000000000) + 123ms;
    const std::string stamp = TranscriptStamp(t0);
    ASSERT_EQ(stamp.size(), 12u);
    EXPECT_EQ(stamp.substr(8), ".123");

    LinkLog log;
    log.Add(true, "\nMOD00\n", 7, t0);
    log.Add(false, "\n\rAOM     100\n\r", 15, t0);
    log.Add(true, "MOD22 3\n", 8, t0);
    const std::string bytes("\x00\xFF\\x", 4);
    log.Add(false, bytes.data(), bytes.size(), t0);  // a reply cut short: shown as far as it came
    EXPECT_EQ(log.Text(t0), stamp + " > \\n\n" + stamp + " > MOD00\\n\n" + stamp + " < \\n\\r\n" + stamp +
                                " < AOM     100\\n\\r\n" + stamp + " > MOD22 3\\n\n" + stamp + " < \\x00\\xFF\\\\x\n");

    // Twenty minutes later only what came after the first minute is left.
    log.Add(true, "MOD21 |\n", 8, t0 + 1min);
    const std::string late = log.Text(t0 + 21min);
    EXPECT_EQ(late, TranscriptStamp(t0 + 1min) + " > MOD21 |\\n\n");

    // At most 2 MB: the oldest lines go first.
    const std::string line(1000, 'x');
    for (int i = 0; i < 3000; ++i) {
        log.Add(true, line.data(), line.size(), t0 + 2min);
        log.Add(true, "\n", 1, t0 + 2min);
    }
    const std::string full = log.Text(t0 + 2min);
    EXPECT_LE(full.size(), LinkLog::kMaxBytes);
    EXPECT_GT(full.size(), LinkLog::kMaxBytes - 2000);
    EXPECT_EQ(full.find("MOD21"), std::string::npos);
}

TEST(LinkReport, ProgramPortTrafficAndTheEndOfTheEventLog)
{
    for (auto [text, count, last] :
         {std::tuple{"a\nb\nc\n", 2, "b\nc\n"}, {"a\nb\nc", 2, "b\nc"}, {"a\nb\n", 5, "a\nb\n"}, {"a\n", 0, ""}})
        EXPECT_EQ(LastLines(text, count), last) << text << count;

    const Clock::time_point now = Clock::from_time_t(1000000000);
    const std::string text =
        FormatLinkReport({"Corvane Utility Version 2.0.0", "COM1 = /dev/ttyUSB0 at 19200 baud", "", "x"}, now);
    EXPECT_EQ(text.rfind("Corvane Utility Version 2.0.0\nLink log saved ", 0), 0u) << text;
    EXPECT_NE(text.find("\nPort: COM1 = /dev/ttyUSB0 at 19200 baud\n\nLink traffic of the last 20 minutes "
                        "(> sent to the console, < received):\n(none)\n\nEnd of eventLog.txt:\nx\n"),
              std::string::npos) << text;
}
