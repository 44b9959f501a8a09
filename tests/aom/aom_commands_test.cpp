// The alarm output module's commands against a scripted port: the replies
// and failures the simulator cannot give, and the relay lock.
#include "aom/AomCommands.h"
#include "aom/AlarmParameterTable.h"
#include "FakeLink.h"
#include "TestSupport.h"
#include "base/WaitCursor.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

struct ScriptedModule : FakeLink {
    explicit ScriptedModule(std::initializer_list<std::pair<const char*, const char*>> replies = {})
    {
        Respond("\n", "\n\r");
        for (const auto& [line, reply] : replies) Respond(line, std::string(reply) + "\n\r");
    }
    InstantPauses pauses;
};

TEST(AomCommands, OutputOptionsRead)
{
    const struct { const char *delays, *pulse, *release, *react, *width; bool open, ok; } cases[] = {
        {"15", "0 1", "15", "", "0", false, true},
        {"1 2", "100 x", "1", "2", "100", true, true},
        // The delays are already replaced when the pulse reply turns out empty.
        {"3 4", "", "3", "4", "77", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pulse);
        ScriptedModule link({{"MOD19 2 |\n", c.delays}, {"MOD20 2 |\n", c.pulse}});
        CAomSettings record{nullptr, "AOM     100", "60", true};
        record.pulseWidth = "77";
        record.normallyOpen = !c.open;
        EXPECT_EQ(ReadOutputOptions(record, 2), c.ok);
        EXPECT_EQ(std::tie(record.releaseDelay, record.reactivationDelay, record.pulseWidth),
                  std::tie(c.release, c.react, c.width));
        EXPECT_EQ(record.normallyOpen, c.open == c.ok);  // a failed read leaves it
        EXPECT_EQ(link.Lines(), (Lines{"\n", "MOD19 2 |\n", "MOD20 2 |\n"}));
        EXPECT_EQ(WaitCursorDepth(), 0);
    }
}

TEST(AomCommands, OutputStateRead)
{
    const std::pair<const char*, int> cases[] = {{"10", 0}, {"1", 1}, {"state?", -1}, {"", -1}};
    for (const auto& [reply, state] : cases) {
        ScriptedModule link({{"MOD11 3 |\n", reply}});
        EXPECT_EQ(ReadOutputState(3), state) << reply;
        EXPECT_EQ(link.Lines(), (Lines{"\n", "MOD11 3 |\n"}));
        EXPECT_EQ(link.pauses.Durations(), (std::vector<int>{250, 100}));
    }
}

TEST(AomCommands, LogRepliesThatAreNoRecordOrCountAndUnsendableQueries)
{
    // A lost reply is an empty line; none of these is a value.
    for (const char* line : {"", " ", "1 2", "1 2 3 4", "1 x 3", "-1 2 3", "1 2 3x",
                             "99999999999999999999 4 5"})
        EXPECT_FALSE(ParseAlarmRecordReply(line)) << '"' << line << '"';
    EXPECT_EQ(ParseAlarmRecordReply(" 4096  2  8")->second, 2);
    for (const char* line : {"", "none", "6 7", "-1", "99999999999"})
        EXPECT_FALSE(ParseAlarmCountReply(line)) << '"' << line << '"';
    EXPECT_EQ(ParseAlarmCountReply("0"), 0);
    EXPECT_EQ(ParseAlarmCountReply("2147483647"), 2147483647);
    ScriptedModule link({{"MOD21\n", "none"}, {"MOD22 1\n", ""}});
    EXPECT_EQ(GetAlarmRecordCount(), std::nullopt);
    AlarmRecord r;
    // Every attempt's reply is empty: three queries, then no record.
    EXPECT_FALSE(ReadAlarmRecord(1, r));
    const Lines lines = link.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "MOD22 1\n"), 3);
    link.SetPutStringResult(1);
    EXPECT_FALSE(ReadAlarmRecord(0, r));
    EXPECT_EQ(ReadOutputState(0), -1);
    const auto events = link.Events();
    EXPECT_EQ(std::count(events.begin(), events.end(), "PutString failed MOD22 0\\n"), 3);
    EXPECT_EQ(std::count(events.begin(), events.end(), "PutString failed MOD11 0 |\\n"), 3);
}

TEST(AomCommands, OutputStateFromTwoThreadsNeverInterleaves)
{
    ScriptedModule link;
    auto worker = [] {
        for (int i = 0; i < 50; ++i) SetOutputState(1, i % 2);
    };
    { std::jthread a(worker), b(worker); }  // both joined here
    const Lines lines = link.Lines();
    ASSERT_EQ(lines.size(), 200u);
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        EXPECT_EQ(lines[i], "\n");
        EXPECT_EQ(lines[i + 1].rfind("MOD11 1 ", 0), 0u);
    }
}

}  // namespace
