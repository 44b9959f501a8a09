// Module lines out and reply lines back, byte for byte.

#include "FakeLink.h"
#include "ModuleCommands.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

struct LayoutCase {
    int parameter;
    const char* query;
    const char* queryArg;  // argument "7"
    const char* set;       // argument "7"
    const char* command;
};

class ModuleLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ModuleLayout, LinesOnTheWire)
{
    const LayoutCase& c = GetParam();
    InstantPauses pauses;
    FakeLink link;
    link.RespondWith([](const std::string&) { return std::string("OK\n\r"); });
    EXPECT_EQ(ModuleQuery(c.parameter), 0);
    EXPECT_EQ(ModuleQueryArg(c.parameter, "7"), 0);
    EXPECT_EQ(ModuleQueryInt(c.parameter, 7), 0);
    EXPECT_EQ(ModuleSet(c.parameter, "7"), 0);
    EXPECT_EQ(ModuleCommand(c.parameter), 0);
    EXPECT_EQ(link.Lines(), (Lines{c.query, c.queryArg, c.queryArg, c.set, c.command}));
    EXPECT_EQ(ModuleQueryLine(c.parameter), c.query);
    EXPECT_EQ(ModuleQueryArgLine(c.parameter, "7"), c.queryArg);
    EXPECT_EQ(ModuleSetLine(c.parameter, "7"), c.set);
    EXPECT_EQ(ModuleCommandLine(c.parameter), c.command);
}

INSTANTIATE_TEST_SUITE_P(
    Parameters, ModuleLayout,
    ::testing::Values(LayoutCase{0, "MOD00\n", "MOD00 7\n", "MOD00 7\n", "MOD00\n"},
                      LayoutCase{1, "MOD01 |\n", "MOD01 7 |\n", "MOD01 7\n", "MOD01\n"},
                      LayoutCase{5, "MOD05 |\n", "MOD05 7 |\n", "MOD05 7\n", "MOD05\n"},
                      LayoutCase{21, "MOD21\n", "MOD21 7\n", "MOD21 7\n", "MOD21\n"},
                      LayoutCase{22, "MOD22\n", "MOD22 7\n", "MOD22 7\n", "MOD22\n"},
                      LayoutCase{100, "MOD100 |\n", "MOD100 7 |\n", "MOD100 7\n", "MOD100\n"}));

TEST(ModuleQuery, FlushesSendsAndPausesAfterEveryQueryOnly)
{
    InstantPauses pauses;
    FakeLink link;
    link.QueueBytes("stale");
    link.Respond("MOD01 |\n", "120\n\r");
    link.Respond("MOD01 120\n", "OK\n\r");
    EXPECT_EQ(ModuleQuery(1), 0);
    EXPECT_EQ(ModuleReadLine(), "120");
    EXPECT_EQ(ModuleQueryInt(16, -3), 0);
    EXPECT_EQ(ModuleSet(1, "120"), 0);
    EXPECT_EQ(ModuleCommand(23), -1);
    EXPECT_EQ(pauses.Durations(), (std::vector<int>{250, 250}));
    const auto events = link.Events();
    EXPECT_EQ(events[0], "Flush");
    EXPECT_EQ(events[1], "PutString MOD01 |\\n");
    EXPECT_EQ(link.FlushCount(), 2);
    EXPECT_EQ(link.Lines(), (Lines{"MOD01 |\n", "MOD16 -3 |\n", "MOD01 120\n", "MOD23\n"}));
}

TEST(ModuleQuery, SendFailureIsPassedOnAndSetsFailWithoutReading)
{
    InstantPauses pauses;
    FakeLink link;
    link.SetPutStringResult(5);
    EXPECT_EQ(ModuleQuery(1), 5);
    EXPECT_EQ(ModuleQueryArg(11, "0"), 5);
    EXPECT_EQ(ModuleSet(1, "120"), -1);
    EXPECT_EQ(ModuleCommand(23), -1);
    EXPECT_EQ(link.GetCount(), 0);
}

struct ReplyCase {
    std::string bytes;
    std::string text;
    std::size_t left;  // queued bytes still unread afterwards
};

class ModuleReply : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ModuleReply, ReadLine)
{
    FakeLink link;
    link.QueueBytes(GetParam().bytes);
    EXPECT_EQ(ModuleReadLine(), GetParam().text);
    EXPECT_EQ(link.Pending(), GetParam().left);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ModuleReply,
    ::testing::Values(ReplyCase{"120\n\rnext", "120", 4},
                      ReplyCase{"", "", 0},
                      ReplyCase{"ab\xFF" "cd\n\r", "ab", 4},    // 0xFF ends it like a time-out
                      ReplyCase{"ab\nXcd\n\r", "ab\ncd", 0},     // lone LF kept, X lost
                      ReplyCase{"ab\n", "ab\n", 0},              // LF then silence
                      ReplyCase{"\n\r", "", 0}));

TEST(ModuleReadLine, SilentLoggerCostsOneTimeOut)
{
    FakeLink link;
    EXPECT_EQ(ModuleReadLine(), "");
    EXPECT_EQ(link.GetCount(), 1);
}

TEST(ModuleReadLine, EndlessReplyIsCutAndReadingStops)
{
    FakeLink link;
    link.QueueBytes(std::string(5000, 'A'));
    EXPECT_EQ(ModuleReadLine(), std::string(kMaxModuleReply, 'A'));
    EXPECT_EQ(link.GetCount(), static_cast<int>(kMaxModuleReply));

    std::string babble;
    for (int i = 0; i < 2000; ++i) babble += "A\nB";
    link.QueueBytes(babble);
    EXPECT_EQ(ModuleReadLine().size(), kMaxModuleReply);
}

TEST(ModuleSet, SucceedsOnlyWhenTheReplyHoldsUpperCaseOk)
{
    struct Case { std::string reply; int result; };
    for (const Case& c : {Case{"OK\n\r", 0}, Case{"xxOKyy\n\r", 0}, Case{"ok\n\r", -1},
                          Case{"O K\n\r", -1}, Case{"ERR 3\n\r", -1}, Case{"", -1}}) {
        FakeLink link;
        link.Respond("MOD02 17\n", c.reply);
        EXPECT_EQ(ModuleSet(2, "17"), c.result) << FakeLink::Escape(c.reply);
        EXPECT_EQ(link.FlushCount(), 0);
    }
}

TEST(ModuleLines, OverlongOrSplitLinesAreNotSent)
{
    TempWorkDir dir;
    InstantPauses pauses;
    FakeLink link;
    link.RespondWith([](const std::string&) { return std::string("OK\n\r"); });
    // 99 characters with the line feed go out; 100 do not.
    EXPECT_EQ(ModuleSet(15, std::string(92, 'x')), 0);
    EXPECT_EQ(ModuleQueryArg(16, std::string(90, 'x')), 0);
    EXPECT_EQ(link.Lines().size(), 2u);
    link.ClearRecord();
    EXPECT_EQ(ModuleSet(15, std::string(93, 'x')), -1);
    EXPECT_EQ(ModuleQueryArg(16, std::string(91, 'x')), -1);
    EXPECT_EQ(ModuleSet(1, "1\n2"), -1);
    EXPECT_EQ(ModuleSet(1, std::string("1\0" "2", 3)), -1);
    EXPECT_EQ(link.Events(), Lines{});
    EXPECT_EQ(pauses.Durations(), (std::vector<int>{250}));

    const std::string log = dir.ReadFile("eventLog.txt");
    std::size_t entries = 0;
    for (auto at = log.find("\n\t\t\tModule line "); at != std::string::npos;
         at = log.find("\n\t\t\tModule line ", at + 1))
        ++entries;
    EXPECT_EQ(entries, 4u);
    EXPECT_NE(log.find("{ModuleSet}  \n\t\t\tModule line of 100 characters not sent"), std::string::npos);
}

}  // namespace
