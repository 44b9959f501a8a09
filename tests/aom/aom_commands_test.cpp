// The alarm output module's commands, line by line against a scripted port.
#include "AomCommands.h"
#include "AlarmParameterTable.h"
#include "FakeLink.h"
#include "TestSupport.h"
#include "WaitCursor.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using Lines = std::vector<std::string>;
using Pauses = std::vector<int>;

class AomCommands : public ::testing::Test {
protected:
    AomCommands()
    {
        link.Respond("\n", "\n\r");
        // Every write is taken unless a test says otherwise.
        link.RespondWith([](const std::string& line) -> std::optional<std::string> {
            if (line.rfind("MOD", 0) == 0 && line.find(" |") == std::string::npos &&
                line.rfind("MOD21", 0) != 0 && line.rfind("MOD22", 0) != 0)
                return std::string("OK\n\r");
            return std::nullopt;
        });
    }

    Lines ModuleLines() const
    {
        Lines lines;
        for (const auto& line : link.Lines())
            if (line != "\n") lines.push_back(line);
        return lines;
    }

    static AomCondition Condition(int parameter, int checkType, std::string value1 = "",
                                  std::string value2 = "")
    {
        AomCondition c;
        c.parameter = parameter;
        c.checkType = checkType;
        c.value1 = std::move(value1);
        c.value2 = std::move(value2);
        return c;
    }

    InstantPauses pauses;
    FakeLink link;
    CAomSettings record{nullptr, "AOM     100", "60", true};
};

TEST_F(AomCommands, ConditionsOfEveryCheckType)
{
    AomCondition trending = Condition(17, CheckTrending, "600", "650");
    trending.trendPeriod = "30";
    AomCondition minus = Condition(17, CheckMinus, "65486");
    minus.secondParameter = 2;
    record.AppendCondition(1, trending);
    record.AppendCondition(1, minus);
    record.AppendCondition(1, Condition(4, CheckTrue));
    record.AppendCondition(1, Condition(kMissingSensor, CheckGreaterOrEqual, "140"));
    record.AppendCondition(1, Condition(21, CheckBetween, "350", "10"));
    record.AppendCondition(1, Condition(18, CheckMissing));
    record.AppendCondition(1, Condition(1, CheckEqual, "29921"));
    record.outputLogic = 2;

    EXPECT_TRUE(SendOutputConditions(record, 1));
    EXPECT_EQ(link.Lines(),
              (Lines{"\n", "MOD15 1\n", "\n",
                     "MOD16 1 17 4 30\n", "MOD17 1 17 600 650\n",
                     "MOD16 1 17 7 2\n", "MOD17 1 17 65486\n",
                     "MOD16 1 4 5\n", "MOD17 1 4 0\n",
                     "MOD16 1 21 2\n", "MOD17 1 21 350 10\n",
                     "MOD16 1 18 8\n", "MOD17 1 18 0\n",
                     "MOD16 1 1 6\n", "MOD17 1 1 29921\n",
                     "MOD18 1 2\n"}));
    Pauses expected{1000};
    expected.insert(expected.end(), 12, 100);
    expected.push_back(100);
    EXPECT_EQ(pauses.Durations(), expected);
}

TEST_F(AomCommands, OnlyMissingSensorConditionsStillSendTheLogic)
{
    record.AppendCondition(0, Condition(kMissingSensor, CheckLessOrEqual, "150"));
    EXPECT_TRUE(SendOutputConditions(record, 0));
    EXPECT_EQ(ModuleLines(), (Lines{"MOD15 0\n", "MOD18 0 0\n"}));
}

TEST_F(AomCommands, RefusedConditionStopsTheOutput)
{
    record.AppendCondition(2, Condition(18, CheckGreaterOrEqual, "80"));
    record.AppendCondition(2, Condition(3, CheckLessOrEqual, "20"));
    link.Respond("MOD17 2 18 80\n", "ERR\n\r");
    EXPECT_FALSE(SendOutputConditions(record, 2));
    EXPECT_EQ(ModuleLines(), (Lines{"MOD15 2\n", "MOD16 2 18 0\n", "MOD17 2 18 80\n"}));
}

TEST_F(AomCommands, RefusedClearSendsNothingElse)
{
    record.AppendCondition(0, Condition(18, CheckGreaterOrEqual, "80"));
    link.Respond("MOD15 0\n", "ERR\n\r");
    EXPECT_FALSE(SendOutputConditions(record, 0));
    EXPECT_EQ(ModuleLines(), (Lines{"MOD15 0\n"}));
    EXPECT_TRUE(pauses.Durations().empty());
}

TEST_F(AomCommands, OutputOptionsWriteCircuitFlag)
{
    record.releaseDelay = "5";
    record.reactivationDelay = "10";
    record.pulseWidth = "250";
    record.normallyOpen = true;
    EXPECT_TRUE(WriteOutputOptions(record, 0));
    record.normallyOpen = false;
    record.pulseWidth = "0";
    EXPECT_TRUE(WriteOutputOptions(record, 3));
    EXPECT_EQ(ModuleLines(), (Lines{"MOD19 0 5 10\n", "MOD20 0 250 0\n", "MOD19 3 5 10\n",
                                    "MOD20 3 0 1\n"}));
}

TEST_F(AomCommands, OutputOptionsRead)
{
    const struct {
        const char* delays;
        const char* pulse;
        const char* release;
        const char* reactivation;
        const char* width;
        bool normallyOpen;
    } cases[] = {
        {"5 10", "250", "5", "10", "250", true},
        {"15", "0 1", "15", "", "0", false},
        {"", "100 0", "", "", "100", true},
        {"1 2", "100 x", "1", "2", "100", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pulse);
        FakeLink fake;
        fake.Respond("\n", "\n\r");
        fake.Respond("MOD19 2 |\n", std::string(c.delays) + "\n\r");
        fake.Respond("MOD20 2 |\n", std::string(c.pulse) + "\n\r");
        record.normallyOpen = !c.normallyOpen;
        EXPECT_TRUE(ReadOutputOptions(record, 2));
        EXPECT_EQ(record.releaseDelay, c.release);
        EXPECT_EQ(record.reactivationDelay, c.reactivation);
        EXPECT_EQ(record.pulseWidth, c.width);
        EXPECT_EQ(record.normallyOpen, c.normallyOpen);
        EXPECT_EQ(fake.Lines(), (Lines{"\n", "MOD19 2 |\n", "MOD20 2 |\n"}));
    }
}

TEST_F(AomCommands, EmptyPulseReplyFailsAfterDelaysWereReplaced)
{
    link.Respond("MOD19 1 |\n", "3 4\n\r");
    record.pulseWidth = "77";
    EXPECT_FALSE(ReadOutputOptions(record, 1));
    EXPECT_EQ(record.releaseDelay, "3");
    EXPECT_EQ(record.reactivationDelay, "4");
    EXPECT_EQ(record.pulseWidth, "77");
    EXPECT_EQ(WaitCursorDepth(), 0);
}

TEST_F(AomCommands, AlarmRecordCount)
{
    link.Respond("MOD21\n", "12\n\r", 1);
    link.Respond("MOD21\n", "none\n\r", 1);
    EXPECT_EQ(GetAlarmRecordCount(), 12);
    EXPECT_EQ(GetAlarmRecordCount(), 0);
    EXPECT_EQ(ModuleLines(), (Lines{"MOD21\n", "MOD21\n"}));
}

TEST_F(AomCommands, AlarmRecordQueryTriedThreeTimes)
{
    link.SetPutStringResult(1);
    AlarmRecord r;
    EXPECT_FALSE(ReadAlarmRecord(0, r));
    int tries = 0;
    for (const auto& e : link.Events()) tries += e == "PutString failed MOD22 0\\n";
    EXPECT_EQ(tries, 3);
}

TEST(AlarmRecordDecode, BitFields)
{
    const struct {
        long a, b, c;
        AlarmRecord expected;
    } cases[] = {
        {4146, 2305, 60, {0, true, 3, 2, 1, 4, 1, 15}},
        // Bits above the fields are ignored.
        {4146 + 0x10000, 2305 + 0x30000, 60 + 0x103, {0, true, 3, 2, 1, 4, 1, 15}},
        {0xFFFF, 0xFFFF, 0xFF, {7, true, 255, 15, 31, 31, 63, 63}},
        {0x6C5C, (28 << 11) | (23 << 6) | 59, 59 << 2, {3, false, 0xC5, 12, 28, 23, 59, 59}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a);
        const AlarmRecord r = DecodeAlarmRecord(c.a, c.b, c.c);
        EXPECT_EQ(r.output, c.expected.output);
        EXPECT_EQ(r.active, c.expected.active);
        EXPECT_EQ(r.conditionMask, c.expected.conditionMask);
        EXPECT_EQ(r.month, c.expected.month);
        EXPECT_EQ(r.day, c.expected.day);
        EXPECT_EQ(r.hour, c.expected.hour);
        EXPECT_EQ(r.minute, c.expected.minute);
        EXPECT_EQ(r.second, c.expected.second);
    }
    const AlarmRecord shortReply = ParseAlarmRecordReply("4146 2305");
    EXPECT_EQ(shortReply.minute, 1);
    EXPECT_EQ(shortReply.second, 0);
    EXPECT_EQ(ParseAlarmRecordReply("").month, 0);
}

TEST_F(AomCommands, ClearAlarmLogUnderWaitCursor)
{
    EXPECT_TRUE(ClearAlarmLog());
    link.Respond("MOD23\n", "ERR\n\r");
    EXPECT_FALSE(ClearAlarmLog());
    EXPECT_EQ(ModuleLines(), (Lines{"MOD23\n", "MOD23\n"}));
    EXPECT_EQ(WaitCursorDepth(), 0);
}

TEST_F(AomCommands, OutputStateSet)
{
    SetOutputState(2, 1);
    SetOutputState(0, 0);
    SetOutputState(4, 1);
    EXPECT_EQ(link.Lines(), (Lines{"\n", "MOD11 2 1\n", "\n", "MOD11 0 0\n", "\n"}));
    EXPECT_EQ(pauses.Durations(), (Pauses{100, 100}));
}

TEST_F(AomCommands, OutputStateExchangesNeverInterleave)
{
    auto worker = [] {
        for (int i = 0; i < 50; ++i) SetOutputState(1, i % 2);
    };
    std::thread a(worker);
    std::thread b(worker);
    a.join();
    b.join();
    const Lines lines = link.Lines();
    ASSERT_EQ(lines.size(), 200u);
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        EXPECT_EQ(lines[i], "\n");
        EXPECT_EQ(lines[i + 1].rfind("MOD11 1 ", 0), 0u);
    }
}

TEST_F(AomCommands, OutputStateRead)
{
    const struct {
        const char* reply;
        int state;
    } cases[] = {{"10", 0}, {"1", 1}, {"0", 0}, {"state?", -1}, {"", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        FakeLink fake;
        fake.Respond("\n", "\n\r");
        fake.Respond("MOD11 3 |\n", std::string(c.reply) + "\n\r");
        InstantPauses instant;
        EXPECT_EQ(ReadOutputState(3), c.state);
        EXPECT_EQ(fake.Lines(), (Lines{"\n", "MOD11 3 |\n"}));
        EXPECT_EQ(instant.Durations(), (Pauses{250, 100}));
    }
}

TEST_F(AomCommands, OutputStateReadOfNoOutputOrUnsendableQuery)
{
    EXPECT_EQ(ReadOutputState(4), -1);
    EXPECT_EQ(link.Lines(), (Lines{"\n"}));
    link.SetPutStringResult(1);
    EXPECT_EQ(ReadOutputState(0), -1);
    int tries = 0;
    for (const auto& e : link.Events()) tries += e == "PutString failed MOD11 0 |\\n";
    EXPECT_EQ(tries, 3);
}

}  // namespace
