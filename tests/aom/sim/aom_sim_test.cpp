// The alarm output module's commands and the transmitter list read, through
// the real serial code against the simulated console and module.
#include "aom/AlarmParameterTable.h"
#include "aom/AomCommands.h"
#include "SimOnPortTest.h"

#include <gtest/gtest.h>

namespace {

using Pauses = std::vector<int>;

class AomOnSim : public SimOnPortTest {
protected:
    AomOnSim() { device.ClearLines(); }

    CAomSettings record{nullptr, "AOM     100", "60", true};
};

TEST_F(AomOnSim, ModuleSettingsAndRefusedSets)
{
    ASSERT_TRUE(WriteModuleSettings(record));
    EXPECT_EQ(device.Param(1) + " " + device.Param(24), "60 1");
    // Each operation stops at the first refusal.
    device.SetFault(SimFault::ErrorSets);
    EXPECT_FALSE(WriteModuleSettings(record));
    EXPECT_FALSE(SendOutputConditions(record, 0));
    EXPECT_FALSE(ClearAlarmLog());
    EXPECT_EQ(device.ModuleLines(),
              (Lines{"MOD01 60\n", "MOD24 1\n", "MOD01 60\n", "MOD15 0\n", "MOD23\n"}));
}

TEST_F(AomOnSim, ConditionsOfTwoOutputs)
{
    for (const AomCondition& c :
         {AomCondition{3, 17, 2, CheckMinus, "65486", "", ""}, {3, 4, 0, CheckTrue, "", "", ""},
          {3, kMissingSensor, 0, CheckGreaterOrEqual, "140", "", ""}, {3, 17, 0, CheckTrending, "600", "650", "30"},
          {3, 21, 0, CheckNotBetween, "350", "10", ""}, {3, 18, 0, CheckMissing, "", "", ""}})
        record.AppendCondition(3, c);
    record.outputLogic = 2;
    ASSERT_TRUE(SendOutputConditions(record, 3));
    EXPECT_EQ(device.Conditions(3), "17 7 2 65486;4 5;17 4 30 600 650;21 3 350 10;18 8");
    // Output 1 had conditions; with none in the record it is cleared and gets its logic.
    ASSERT_TRUE(SendOutputConditions(record, 0));
    EXPECT_EQ(device.ModuleLines(),
              (Lines{"MOD15 3\n", "MOD16 3 17 7 2\n", "MOD17 3 17 65486\n", "MOD16 3 4 5\n",
                     "MOD17 3 4 0\n", "MOD16 3 17 4 30\n", "MOD17 3 17 600 650\n",
                     "MOD16 3 21 3\n", "MOD17 3 21 350 10\n", "MOD16 3 18 8\n", "MOD17 3 18 0\n",
                     "MOD18 3 2\n", "MOD15 0\n", "MOD18 0 2\n"}));
    Pauses expected(14, 100);
    expected[0] = expected[12] = 1000;
    EXPECT_EQ(pauses.Durations(), expected);
}

TEST_F(AomOnSim, OutputOptionsAndRelays)
{
    record.releaseDelay = "5", record.reactivationDelay = "10", record.pulseWidth = "250";
    ASSERT_TRUE(WriteOutputOptions(record, 2));  // normally closed
    record.normallyOpen = true;
    ASSERT_TRUE(WriteOutputOptions(record, 1));
    CAomSettings read(nullptr, "AOM     100", "60", true);
    ASSERT_TRUE(ReadOutputOptions(read, 1));
    EXPECT_EQ(std::tie(read.releaseDelay, read.reactivationDelay, read.pulseWidth, read.normallyOpen),
              std::make_tuple("5", "10", "250", true));
    // The relays themselves are set and read by the CLI and output test forms.
    SetOutputState(4, 1);  // no such output: only the wake-up goes out
    EXPECT_EQ(ReadOutputState(4), -1);
    EXPECT_EQ(device.ModuleLines(), (Lines{"MOD19 2 5 10\n", "MOD20 2 250 1\n", "MOD19 1 5 10\n",
                                        "MOD20 1 250 0\n", "MOD19 1 |\n", "MOD20 1 |\n"}));
    EXPECT_EQ(pauses.Durations(), (Pauses{250, 250}));
}

TEST_F(AomOnSim, TransmitterListReadAndKeptWhenTheBlockFails)
{
    ConsoleTransmitters().Clear();
    device.SetParam(1, "45");
    device.SetTransmitters({3, 0, 0, 0, 0x41});  // the kind is the low four bits
    ReadTransmitterList();
    EXPECT_EQ(device.Lines(), (Lines{"\n", "MOD01 |\n", "MOD01 1\n", "\n", "EEBRD 19 10\n", "\n",
                                  "MOD01 45\n"}));
    EXPECT_EQ(pauses.Durations(), (Pauses{250, 1000}));
    const ConsoleTransmitterList& read = ConsoleTransmitters();
    EXPECT_TRUE(read.At(1).hasTemperature && read.At(1).hasHumidity && read.At(3).hasTemperature);
    EXPECT_FALSE(read.At(3).hasHumidity || read.At(2).hasTemperature);

    // A refused or corrupt block, or a time-out that cannot be lowered, keeps it.
    device.SetTransmitters({});
    for (SimFault fault : {SimFault::NakEebrd, SimFault::BadCrc, SimFault::ErrorSets}) {
        device.ClearFaults(), device.SetFault(fault);
        ReadTransmitterList();
        EXPECT_TRUE(read.At(3).hasTemperature);
        EXPECT_EQ(device.Param(1), "45");  // the time-out goes back all the same
    }
    ConsoleTransmitters().Clear();
}

}  // namespace
