// The irrigation rules without widgets: ranges compared in single precision,
// unit conversions both ways, and the values as the logger takes them.

#include "IrrigationConfig.h"

#include <gtest/gtest.h>

namespace {

struct RainCase {
    const char* text;
    bool inches;
    bool rate;           // the cut-off's limits rather than the quantities'
    const char* stored;  // nullptr: refused
};

class IrrigationRainField : public ::testing::TestWithParam<RainCase> {};

TEST_P(IrrigationRainField, RangeOfShownUnitThenInchesWithTwoDecimals)
{
    const auto& c = GetParam();
    const auto stored = c.rate ? RainFieldToRecord(c.text, c.inches, kMaxRateInches, kMaxRateMm)
                               : RainFieldToRecord(c.text, c.inches, kMaxRainInches, kMaxRainMm);
    EXPECT_EQ(stored, c.stored ? std::optional<std::string>(c.stored) : std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IrrigationRainField,
    ::testing::Values(RainCase{"9.991", true, false, nullptr},
                      RainCase{"253.746", false, false, "9.99"},
                      RainCase{"25.4", false, false, "1.00"},
                      RainCase{"-0.01", true, false, nullptr},
                      RainCase{"1.2.3", true, false, "1.20"},
                      RainCase{"", true, false, nullptr},
                      RainCase{"1,5", true, false, nullptr},
                      RainCase{"1.00", true, true, nullptr},
                      RainCase{"25.146", false, true, "0.99"}));

TEST(IrrigationMessages, LimitsShownWithTwoDecimals)
{
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
        {"0.29", "29"}, {"0.57", "57"}, {"9.99", "999"}, {"0.00", "0"}, {"", "0"}};
    for (auto [inches, wire] : cases) EXPECT_EQ(HundredthsOnWire(inches), wire) << inches;
    EXPECT_EQ(CutoffOnWire("255"), "255");
    EXPECT_EQ(HundredthsKeyToInches(50), "0.50");
}

TEST(IrrigationUnits, SwitchingConvertsInRangeAndClearsTheRest)
{
    EXPECT_EQ(InchesTextToMm("9.99"), "253.7");
    EXPECT_EQ(SwitchedToInches("-25.4", -kMaxRainMm, kMaxRainMm), "-1.00");
    EXPECT_EQ(SwitchedToInches("253.8", -kMaxRainMm, kMaxRainMm), "");
    EXPECT_EQ(SwitchedToInches("abc", -kMaxRainMm, kMaxRainMm), "");
    EXPECT_EQ(SwitchedToMm("-1", -kMaxRainInches, kMaxRainInches), "-25.4");
    EXPECT_EQ(SwitchedToMm("-1", 0, kMaxRainInches), "");
    EXPECT_EQ(CutoffSwitchedToMm("0.99"), "25.1");
    EXPECT_EQ(CutoffSwitchedToMm("1.00"), "");
    EXPECT_EQ(CutoffSwitchedToInches("25.2"), "");
}

TEST(IrrigationRanges, WholeNumberRuleThenLimits)
{
    struct Case {
        WholeRange range;
        const char* text;
        bool holds;
    } cases[] = {
        {kIrrigationTimeoutRange, "4", false}, {kIrrigationTimeoutRange, "255", true},
        {kIrrigationCycleRange, "0", false},   {kIrrigationCycleRange, "1", true},
        {kAlarmDelayRange, "", false},         {kAlarmDelayRange, "-", true},
        {kPulseWidthRange, "10000", false},    {kPulseWidthRange, "5.5", false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.range.Holds(c.text), c.holds) << c.text;
}

}  // namespace
