// Condition values: unit conversions, the module's value forms, the
// validators with their exact messages, times and subtractions.
#include "aom/AomConditionRows.h"
#include "aom/AomConversions.h"
#include "aom/AomValidators.h"

#include <gtest/gtest.h>

namespace {

constexpr AomUnitSettings kF{UnitFahrenheit, UnitInch, UnitMph, UnitInch};
constexpr AomUnitSettings kC{UnitCelsius, UnitMillibar, UnitKnots, UnitMillimetre};

TEST(ModuleForm, WrittenAndRead)
{
    const struct { bool write, scaled; int code; const char *text, *out; AomUnitSettings u; } cases[] = {
        {true, true, 17, "20.5", "689", kC},
        {true, true, 2, "-0.05", "0", kF},  // tenths truncated toward zero
        {true, true, 14, "0.125", "125", kF},
        {true, true, 18, "5-", "5-", kC},
        {true, true, 10, "abc", "0", kF},
        {true, true, 17, "1e300", "2147483647", kF},  // beyond int: clamped
        {true, true, 17, "nan", "0", kF},  // as no number at all
        {true, false, 25, "10", "50", kC},
        {false, true, 17, "689", "20.5", kC},
        {false, true, 14, "125", "0.12", kF},  // halfway: as printf rounds
        {false, false, 17, "68.9", "20.5", kC},
        {false, true, 140, "768", "4.50", kF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.write ? DisplayToModule(c.code, c.text, c.u, c.scaled)
                          : ModuleToDisplay(c.code, c.text, c.u, c.scaled),
                  c.out) << c.text;
}

TEST(BaseUnits, NoValuePassesThroughAndUnconvertibleInputGivesIt)
{
    for (auto convert : {TemperatureToDisplay, DisplayToTemperature, BarometerToDisplay,
                         DisplayToBarometer, WindToDisplay, DisplayToWind, RainToDisplay,
                         DisplayToRain})
        for (int unit = 1; unit <= 10; ++unit) EXPECT_EQ(convert(kNoValue, unit), kNoValue);
    EXPECT_EQ(DisplayToBarometer(-1, UnitInch), kNoValue);
    EXPECT_EQ(DisplayToBarometer(32768, UnitInch), kNoValue);
    EXPECT_EQ(DisplayToWind(-0.5, UnitKph), kNoValue);
}

using K = ValueKind;

TEST(Validator, PassesOrGivesExactMessageInAnErrorBox)
{
    // An empty message: the value passes.
    const struct { K kind; const char* text; AomUnitSettings u; const char* message; } cases[] = {
        {K::Temperature, "74", kC, "(74)  Invalid, value must be between (-67.8 and 73.3)"},
        {K::Temperature, "", kF, "Field must have a value."},
        // atof reads "nan", and no comparison with it fails.
        {K::Temperature, "nan", kF, "(nan)  Invalid, value must be between (-90.0 and 164.0)"},
        {K::HeatIndex, "nan", kF, "(nan)  Invalid, value must be between (-90 and 164)!"},
        {K::Barometer, "nan", kF, "(nan)  Invalid, value must be between (16.0 and 32.5)"},
        {K::Humidity, "5-", kF, ""},
        {K::Humidity, "5.5", kF, "5.5 is not a valid entry!"},
        {K::Barometer, "1100.6", kC, "(1100.6)  Invalid, value must be between (541.8 and 1100.6)"},
        {K::RainDaily, "99.99", kF, "(99.99)  Invalid, value must be between (0.0 and 100.0)"},
        {K::RainDaily, "99.98", kF, ""},
        {K::RainRate, "200", kF, "(200)  Invalid, value must be between (0.00 and 199.99)"},
        {K::UvIndex, "16.1", kF, "(16.1)  Invalid, value must be between (0.0 and 16.0)"},
        {K::TimeOfDay, "24:00", kF, "(24:00)  Invalid, hour field must be between (0 and 23)"},
        {K::TimeOfDay, "7.30", kF, "(7.30)  Invalid, need to insert ':' between hour and minute fields."},
        {K::TimeOfDay, "7:60", kF, "(7:60)  Invalid, minute field must be between (0 and 59)"},
    };
    for (const auto& c : cases) {
        const ValueCheck check = ValidateValue(c.kind, c.text, true, c.u);
        EXPECT_EQ(std::tie(check.message, check.ok), std::tuple(c.message, !*c.message)) << c.text;
    }
    EXPECT_TRUE(ValidateValue(K::Temperature, "", false, kF).ok);
    EXPECT_TRUE(ValidateValue(K::TimeOfDay, "x", false, kF).ok);

    const std::string limits = ")  Invalid time entry!  Must be between (1 min. and 255 min.)";
    for (const char* text : {"0", "256", "1.5"})
        EXPECT_EQ(ValidateMinutes(text, true).message, std::string("(") + text + limits);
    EXPECT_TRUE(ValidateMinutes("0", false).ok);

    const UserMessage box = ValidationMessage(ValidateValue(K::UvIndex, "17", true, kF));
    EXPECT_EQ(std::tie(box.text, box.caption, box.icon, box.buttons),
              std::tuple("(17)  Invalid, value must be between (0.0 and 16.0)", std::optional<std::string>("Error"),
                         MsgIcon::Error, MsgButtons::Ok));
}

// The conditions page's rules without widgets: times, the subtraction's
// stored value and its threshold as a difference.
TEST(ConditionTime, ShownAsHoursAndMinutesStoredWithLeadingZeros)
{
    using Pair = std::pair<const char*, const char*>;
    for (const auto& [module, shown] : {Pair{"0", "00:00"}, {"5", "00:05"}, {"45", "0:45"}, {"730", "7:30"},
                                        {"2359", "23:59"}, {"", ""}})
        EXPECT_EQ(TimeForDisplay(module), shown) << module;
    for (const auto& [typed, stored] : {Pair{"7:30", "0730"}, {"23:59", "2359"}, {"0:5", "0005"}, {"12", "1200"}})
        EXPECT_EQ(TimeForModule(typed), stored) << typed;
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
    // Beyond 16 bits it is kept as it came, without overflow.
    EXPECT_EQ(MinusValueFromModule("-9223372036854743040").moduleText, "-9223372036854743040");
}

TEST(ConditionMinus, ThresholdConvertedAsADifference)
{
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
