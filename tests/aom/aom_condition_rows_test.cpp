// The conditions page's rules without widgets: times, the subtraction's
// stored value and its threshold as a difference.
#include "AlarmParameterTable.h"
#include "AomConditionRows.h"
#include "AomConversions.h"

#include <gtest/gtest.h>

namespace {

TEST(ConditionTime, ShownAsHoursAndMinutesStoredWithLeadingZeros)
{
    const struct { const char *module, *shown; } shown[] = {
        {"0", "00:00"}, {"5", "00:05"}, {"45", "0:45"}, {"730", "7:30"}, {"2359", "23:59"}, {"", ""},
    };
    for (const auto& c : shown) EXPECT_EQ(TimeForDisplay(c.module), c.shown) << c.module;
    const struct { const char *typed, *stored; } stored[] = {
        {"7:30", "0730"}, {"23:59", "2359"}, {"0:5", "0005"}, {"12", "1200"},
    };
    for (const auto& c : stored) EXPECT_EQ(TimeForModule(c.typed), c.stored) << c.typed;
}

TEST(ConditionMinus, SecondRowsComparisonEncodedInTheValue)
{
    const struct { const char* value; int check; const char* stored; } cases[] = {
        {"50", CheckLessOrEqual, "65486"}, {"0", CheckLessOrEqual, "0"},
        {"-50", CheckLessOrEqual, "50"},   {"-50", CheckGreaterOrEqual, "50"},
        {"5-0", CheckGreaterOrEqual, "50"}, {"-50", CheckNone, "-50"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MinusValueForModule(c.value, c.check), c.stored) << c.value << " " << c.check;
    // Read back, bit 0x8000 gives "Less Than or =": the page tests load both.
}

TEST(ConditionMinus, ThresholdConvertedAsADifference)
{
    constexpr AomUnitSettings kF{UnitFahrenheit, UnitInch, UnitMph, UnitInch};
    constexpr AomUnitSettings kC{UnitCelsius, UnitMillimetre, UnitKph, UnitMillimetre};
    const struct { int code; const char *shown, *stored; AomUnitSettings units; } cases[] = {
        // In °F the module's own forms: tenths (5 -> 50) and °F + 90 (5 -> 95).
        {2, "5.0", "50", kF}, {24, "5", "95", kF}, {129, "3", "30", kF},
        // Elsewhere a difference first (5 °C apart is 9 °F apart), then the form.
        {2, "5.0", "90", kC}, {24, "5", "99", kC},
        {10, "12.7", "50", kC}, {20, "16.1", "10", kC}, {3, "5", "5", kC},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DifferenceToModule(c.code, c.shown, c.units).value_or("none"), c.stored) << c.code << " " << c.shown;
        EXPECT_EQ(DifferenceToDisplay(c.code, c.stored, c.units), c.shown) << c.code << " " << c.stored;
    }
}

}  // namespace
