// The irrigation rules without widgets: units, ranges, wire values and the
// write sequences, byte for byte.

#include "FakeLink.h"
#include "IrrigationConfig.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

struct RainCase {
    const char* text;
    bool inches;
    bool rate;  // the cut-off's limits rather than the quantities'
    const char* stored;  // nullptr: refused
};

class IrrigationRainField : public ::testing::TestWithParam<RainCase> {};

TEST_P(IrrigationRainField, RangeOfShownUnitThenInchesWithTwoDecimals)
{
    const auto& c = GetParam();
    const auto stored = c.rate ? RainFieldToRecord(c.text, c.inches, kMaxRateInches, kMaxRateMm)
                               : RainFieldToRecord(c.text, c.inches, kMaxRainInches, kMaxRainMm);
    if (c.stored)
        EXPECT_EQ(stored, std::optional<std::string>(c.stored));
    else
        EXPECT_FALSE(stored);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IrrigationRainField,
    ::testing::Values(RainCase{"9.99", true, false, "9.99"},
                      RainCase{"9.991", true, false, nullptr},
                      RainCase{"253.746", false, false, "9.99"},
                      RainCase{"253.75", false, false, nullptr},
                      RainCase{"25.4", false, false, "1.00"},
                      RainCase{"0", false, false, "0.00"},
                      RainCase{"-0.01", true, false, nullptr},
                      RainCase{"1.2.3", true, false, "1.20"},
                      RainCase{"", true, false, nullptr},
                      RainCase{"1,5", true, false, nullptr},
                      RainCase{"0.29", true, true, "0.29"},
                      RainCase{"0.99", true, true, "0.99"},
                      RainCase{"1.00", true, true, nullptr},
                      RainCase{"25.146", false, true, "0.99"},
                      RainCase{"25.15", false, true, nullptr}));

TEST(IrrigationMessages, LimitsShownWithTwoDecimals)
{
    EXPECT_EQ(RainRangeMessage(kAmountMessage, false, kMaxRainInches, kMaxRainMm),
              "Invalid Irrigation Amount! Must be between 0.00 and 253.75");
    EXPECT_EQ(RainRangeMessage(kMaxDailyRainMessage, true, kMaxRainInches, kMaxRainMm),
              "Invalid Maximum Effective Daily Rain! Must be between 0.00 and 9.99");
    EXPECT_EQ(RainRangeMessage(kMaxRainTotalMessage, false, kMaxRainInches, kMaxRainMm),
              "Invalid Maximum Effective Rain Total! Must be between 0.00 and 253.75");
    EXPECT_EQ(RainRangeMessage(kCutoffMessage, false, kMaxRateInches, kMaxRateMm),
              "Invalid Rain Cutoff! Must be between 0.00 and 25.15");
    EXPECT_EQ(RainRangeMessage(kCutoffMessage, true, kMaxRateInches, kMaxRateMm),
              "Invalid Rain Cutoff! Must be between 0.00 and 0.99");
}

TEST(IrrigationWireValues, HundredthsRoundedInSinglePrecision)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1.00", "100"}, {"0.29", "29"}, {"0.57", "57"}, {"9.99", "999"},
        {"0.00", "0"},   {"", "0"},      {"2.55", "255"}};
    for (auto [inches, wire] : cases) EXPECT_EQ(HundredthsOnWire(inches), wire) << inches;
    EXPECT_EQ(CutoffOnWire("255"), "255");
    EXPECT_EQ(CutoffOnWire("0.29"), "29");
}

TEST(IrrigationUnits, SwitchingConvertsInRangeAndClearsTheRest)
{
    EXPECT_EQ(InchesTextToMm("1.00"), "25.4");
    EXPECT_EQ(InchesTextToMm("9.99"), "253.7");
    EXPECT_EQ(SwitchedToInches("25.4", -kMaxRainMm, kMaxRainMm), "1.00");
    EXPECT_EQ(SwitchedToInches("-25.4", -kMaxRainMm, kMaxRainMm), "-1.00");
    EXPECT_EQ(SwitchedToInches("253.8", -kMaxRainMm, kMaxRainMm), "");
    EXPECT_EQ(SwitchedToInches("abc", -kMaxRainMm, kMaxRainMm), "");
    EXPECT_EQ(SwitchedToMm("-1", -kMaxRainInches, kMaxRainInches), "-25.4");
    EXPECT_EQ(SwitchedToMm("-1", 0, kMaxRainInches), "");
    EXPECT_EQ(SwitchedToMm("", 0, kMaxRainInches), "");
    EXPECT_EQ(CutoffSwitchedToMm("0.50"), "12.7");
    EXPECT_EQ(CutoffSwitchedToMm("1.00"), "");
    EXPECT_EQ(CutoffSwitchedToInches("25.146"), "0.99");
    EXPECT_EQ(CutoffSwitchedToInches("25.2"), "");
    EXPECT_EQ(CutoffSwitchedToMm("--"), "--");
    EXPECT_EQ(CutoffSwitchedToInches("--"), "--");
}

TEST(IrrigationDefaults, KeysHoldHundredthsOfAnInch)
{
    EXPECT_EQ(HundredthsKeyToInches(100), "1.00");
    EXPECT_EQ(HundredthsKeyToInches(50), "0.50");
    EXPECT_EQ(HundredthsKeyToInches(0), "0.00");
}

TEST(IrrigationRanges, WholeNumberRuleThenLimits)
{
    struct Case {
        WholeRange range;
        const char* text;
        bool holds;
    };
    const Case cases[] = {
        {kIrrigationTimeoutRange, "4", false},  {kIrrigationTimeoutRange, "5", true},
        {kIrrigationTimeoutRange, "255", true}, {kIrrigationTimeoutRange, "256", false},
        {kIrrigationCycleRange, "0", false},    {kIrrigationCycleRange, "1", true},
        {kAlarmDelayRange, "0", true},          {kAlarmDelayRange, "999", true},
        {kAlarmDelayRange, "1000", false},      {kAlarmDelayRange, "", false},
        {kAlarmDelayRange, "-", true},          {kPulseWidthRange, "0", false},
        {kPulseWidthRange, "9999", true},       {kPulseWidthRange, "10000", false},
        {kPulseWidthRange, "5.5", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.range.Holds(c.text), c.holds) << c.text << " in " << c.range.low;
}

class IrrigationWrite : public ::testing::Test {
protected:
    IrrigationWrite()
    {
        link.Respond("\n", "\n\r");
        link.RespondWith([this](const std::string& line) -> std::optional<std::string> {
            if (line == refused) return std::string("ERR\n\r");
            return std::string("OK\n\r");
        });
        record.rainUnit = 2;
    }
    TempWorkDir dir{"IRRIGATION_RAIN_UNIT=1\n"};
    FakeLink link;
    std::string refused;
    CIrrigationSettings record{nullptr, "IRR 202", "60",   true,   "3",   "0.10", "1.00",
                               "1.50",  "3.00",    "255",  "5",    "10",  "500",  true,
                               false};
};

TEST_F(IrrigationWrite, StoresUnitThenWritesElevenParameters)
{
    EXPECT_TRUE(WriteIrrigationSettings(record));
    EXPECT_EQ(link.Lines(), (Lines{"\n", "MOD01 60\n", "MOD03 5\n", "MOD04 10\n", "MOD05 500\n",
                                   "MOD06 1\n", "MOD07 1\n", "MOD08 3\n", "MOD10 255\n",
                                   "MOD25 100\n", "MOD26 150\n", "MOD27 300\n"}));
    EXPECT_EQ(dir.Settings().GetValue("IRRIGATION_RAIN_UNIT"), "2");
    EXPECT_NE(dir.ReadFile("config.txt").find("IRRIGATION_RAIN_UNIT=2"), std::string::npos);
}

TEST_F(IrrigationWrite, FlagsAndCutoffAsTheLoggerTakesThem)
{
    record.continuous = false;
    record.normallyOpen = true;
    record.rainRateCutoff = "0.29";
    EXPECT_TRUE(WriteIrrigationSettings(record));
    const Lines lines = link.Lines();
    EXPECT_EQ(lines[5], "MOD06 0\n");
    EXPECT_EQ(lines[6], "MOD07 0\n");
    EXPECT_EQ(lines[8], "MOD10 29\n");
}

TEST_F(IrrigationWrite, StopsAtFirstRefusedWriteWithUnitAlreadyStored)
{
    refused = "MOD05 500\n";
    EXPECT_FALSE(WriteIrrigationSettings(record));
    EXPECT_EQ(link.Lines(), (Lines{"\n", "MOD01 60\n", "MOD03 5\n", "MOD04 10\n", "MOD05 500\n"}));
    EXPECT_EQ(dir.Settings().GetValue("IRRIGATION_RAIN_UNIT"), "2");
}

TEST_F(IrrigationWrite, AdvancedWritesParametersThreeToSeven)
{
    EXPECT_TRUE(WriteIrrigationAdvanced(record));
    EXPECT_EQ(link.Lines(), (Lines{"\n", "MOD03 5\n", "MOD04 10\n", "MOD05 500\n", "MOD06 1\n",
                                   "MOD07 1\n"}));
    EXPECT_EQ(dir.Settings().GetValue("IRRIGATION_RAIN_UNIT"), "2");

    link.ClearRecord();
    refused = "MOD03 5\n";
    EXPECT_FALSE(WriteIrrigationAdvanced(record));
    EXPECT_EQ(link.Lines(), (Lines{"\n", "MOD03 5\n"}));
}

}  // namespace
