// The alarm output module's commands and the transmitter list read, through
// the real serial code against the simulated console and module.
#include "AlarmParameterTable.h"
#include "AomCommands.h"
#include "AomStation.h"
#include "SerialLink.h"
#include "SimFixture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

class AomOnSim : public ::testing::Test {
protected:
    AomOnSim()
    {
        sim.UseAsPort(dir);
        opened = LinkOpen(1, 19200) == 0;
    }
    ~AomOnSim() override { LinkClose(); }

    void SetUp() override
    {
        ASSERT_TRUE(opened);
        sim.ClearLines();
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

    TempWorkDir dir;
    InstantPauses pauses;
    SimFixture sim{SimKind::Aom};
    bool opened = false;
    CAomSettings record{nullptr, "AOM     100", "60", true};
};

TEST_F(AomOnSim, ModuleSettings)
{
    ASSERT_TRUE(WriteModuleSettings(record));
    EXPECT_EQ(sim.ModuleLines(), (Lines{"MOD01 60\n", "MOD24 1\n"}));
    EXPECT_EQ(sim.Param(1), "60");
    EXPECT_EQ(sim.Param(24), "1");
}

TEST_F(AomOnSim, RefusedSetStopsTheSequence)
{
    sim.SetFault(SimFault::ErrorSets);
    EXPECT_FALSE(WriteModuleSettings(record));
    EXPECT_EQ(sim.ModuleLines(), (Lines{"MOD01 60\n"}));
}

TEST_F(AomOnSim, ConditionsOfAnOutput)
{
    AomCondition minus = Condition(17, CheckMinus, "65486");
    minus.secondParameter = 2;
    AomCondition trending = Condition(17, CheckTrending, "600", "650");
    trending.trendPeriod = "30";
    record.AppendCondition(3, minus);
    record.AppendCondition(3, Condition(4, CheckTrue));
    record.AppendCondition(3, Condition(kMissingSensor, CheckGreaterOrEqual, "140"));
    record.AppendCondition(3, trending);
    record.AppendCondition(3, Condition(21, CheckNotBetween, "350", "10"));
    record.outputLogic = 2;

    ASSERT_TRUE(SendOutputConditions(record, 3));
    EXPECT_EQ(sim.ModuleLines(),
              (Lines{"MOD15 3\n", "MOD16 3 17 7 2\n", "MOD17 3 17 65486\n", "MOD16 3 4 5\n",
                     "MOD17 3 4 0\n", "MOD16 3 17 4 30\n", "MOD17 3 17 600 650\n",
                     "MOD16 3 21 3\n", "MOD17 3 21 350 10\n", "MOD18 3 2\n"}));
    EXPECT_EQ(sim.Conditions(3), "17 7 2 65486;4 5;17 4 30 600 650;21 3 350 10");
    EXPECT_EQ(sim.Output(3).logic, 2);
}

TEST_F(AomOnSim, OutputWithoutConditionsIsClearedAndGetsItsLogic)
{
    ASSERT_FALSE(sim.Output(0).conditions.empty());
    record.outputLogic = 0;
    ASSERT_TRUE(SendOutputConditions(record, 0));
    EXPECT_EQ(sim.ModuleLines(), (Lines{"MOD15 0\n", "MOD18 0 0\n"}));
    EXPECT_TRUE(sim.Output(0).conditions.empty());
    EXPECT_EQ(sim.Output(0).logic, 0);
    EXPECT_EQ(pauses.Durations(), (std::vector<int>{1000, 100}));
}

TEST_F(AomOnSim, OutputOptionsWrittenAndReadBack)
{
    record.releaseDelay = "5";
    record.reactivationDelay = "10";
    record.pulseWidth = "250";
    record.normallyOpen = false;
    ASSERT_TRUE(WriteOutputOptions(record, 1));

    CAomSettings read(nullptr, "AOM     100", "60", true);
    read.normallyOpen = true;
    ASSERT_TRUE(ReadOutputOptions(read, 1));
    EXPECT_EQ(sim.ModuleLines(),
              (Lines{"MOD19 1 5 10\n", "MOD20 1 250 1\n", "MOD19 1 |\n", "MOD20 1 |\n"}));
    EXPECT_EQ(read.releaseDelay, "5");
    EXPECT_EQ(read.reactivationDelay, "10");
    EXPECT_EQ(read.pulseWidth, "250");
    EXPECT_FALSE(read.normallyOpen);
}

TEST_F(AomOnSim, AlarmLogReadAndCleared)
{
    sim.SetAlarms({{4146, 2305, 60}, EncodeAlarmRecord(3, false, 0x81, 12, 31, 23, 59, 58)});
    EXPECT_EQ(GetAlarmRecordCount(), 2);
    AlarmRecord first;
    AlarmRecord second;
    ASSERT_TRUE(ReadAlarmRecord(0, first));
    ASSERT_TRUE(ReadAlarmRecord(1, second));
    EXPECT_EQ(first.output, 0);
    EXPECT_TRUE(first.active);
    EXPECT_EQ(first.conditionMask, 3);
    EXPECT_EQ(first.month, 2);
    EXPECT_EQ(first.day, 1);
    EXPECT_EQ(first.hour, 4);
    EXPECT_EQ(first.minute, 1);
    EXPECT_EQ(first.second, 15);
    EXPECT_EQ(second.output, 3);
    EXPECT_FALSE(second.active);
    EXPECT_EQ(second.conditionMask, 0x81);
    EXPECT_EQ(second.day, 31);
    EXPECT_EQ(second.second, 58);

    ASSERT_TRUE(ClearAlarmLog());
    EXPECT_TRUE(sim.Alarms().empty());
    EXPECT_EQ(sim.ModuleLines(), (Lines{"MOD21\n", "MOD22 0\n", "MOD22 1\n", "MOD23\n"}));
}

TEST_F(AomOnSim, RelayStates)
{
    SetOutputState(2, 1);
    EXPECT_EQ(sim.Switch(2), 1);
    EXPECT_EQ(ReadOutputState(2), 1);
    SetOutputState(2, 0);
    EXPECT_EQ(ReadOutputState(2), 0);
    EXPECT_EQ(sim.ModuleLines(),
              (Lines{"MOD11 2 1\n", "MOD11 2 |\n", "MOD11 2 0\n", "MOD11 2 |\n"}));
}

TEST_F(AomOnSim, TransmitterListRead)
{
    ConsoleTransmitters().Clear();
    sim.SetParam(1, "45");
    std::array<std::uint8_t, kSimTransmitterBytes> block{};
    block[0] = 3;
    block[4] = 1;
    sim.SetTransmitters(block);

    ReadTransmitterList();
    EXPECT_EQ(sim.Lines(), (Lines{"\n", "MOD01 |\n", "MOD01 1\n", "\n", "EEBRD 19 10\n", "\n",
                                  "MOD01 45\n"}));
    EXPECT_EQ(sim.Param(1), "45");
    EXPECT_TRUE(ConsoleTransmitters().At(1).hasTemperature);
    EXPECT_TRUE(ConsoleTransmitters().At(1).hasHumidity);
    EXPECT_TRUE(ConsoleTransmitters().At(3).hasTemperature);
    EXPECT_FALSE(ConsoleTransmitters().At(3).hasHumidity);

    // A refused or corrupt block leaves the list as it was read.
    sim.SetTransmitters({});
    for (SimFault fault : {SimFault::NakEebrd, SimFault::BadCrc}) {
        sim.ClearFaults();
        sim.SetFault(fault);
        ReadTransmitterList();
        EXPECT_TRUE(ConsoleTransmitters().At(3).hasTemperature);
        EXPECT_EQ(sim.Param(1), "45");
    }
    ConsoleTransmitters().Clear();
}

}  // namespace
