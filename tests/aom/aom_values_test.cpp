// Condition values: unit conversions, the module's value forms and the
// validators with their exact messages.
#include "AomConversions.h"
#include "AomValidators.h"

#include <gtest/gtest.h>

namespace {

constexpr AomUnitSettings kImperial{UnitFahrenheit, UnitInch, UnitMph, UnitInch};
constexpr AomUnitSettings kMetric{UnitCelsius, UnitMillibar, UnitKnots, UnitMillimetre};
constexpr AomUnitSettings kMmHgKph{UnitCelsius, UnitMillimetre, UnitKph, UnitMillimetre};
constexpr AomUnitSettings kMetresPerSecond{UnitFahrenheit, UnitHectopascal, UnitMetresPerSecond,
                                           UnitInch};

struct FormCase {
    const char* what;
    int code;
    const char* text;
    AomUnitSettings units;
    bool scaled;
    const char* expected;
};

void PrintTo(const FormCase& c, std::ostream* os) { *os << c.what; }

class ToModule : public ::testing::TestWithParam<FormCase> {};

TEST_P(ToModule, Writes)
{
    const FormCase& c = GetParam();
    EXPECT_EQ(DisplayToModule(c.code, c.text, c.units, c.scaled), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToModule,
    ::testing::Values(
        FormCase{"outside 20.5 C truncates to tenths F", 17, "20.5", kMetric, true, "689"},
        FormCase{"inside -0.05 F truncates toward zero", 2, "-0.05", kImperial, true, "0"},
        FormCase{"dew point 10 C", 129, "10", kMetric, true, "500"},
        FormCase{"extra temperature 50 F plus offset", 24, "50", kImperial, true, "140"},
        FormCase{"barometer inHg", 1, "29.921", kImperial, true, "29921"},
        FormCase{"barometer mb rounds", 1, "1013.2", kMetric, true, "29920"},
        FormCase{"barometer mmHg", 1, "760", kMmHgKph, true, "29921"},
        FormCase{"daily rain inches", 10, "0.25", kImperial, true, "25"},
        FormCase{"daily rain mm", 10, "6.4", kMetric, true, "25"},
        FormCase{"daily ET thousandths", 14, "0.125", kImperial, true, "125"},
        FormCase{"wind knots to mph", 19, "10", kMetric, true, "12"},
        FormCase{"wind m/s to mph", 20, "10", kMetresPerSecond, true, "22"},
        FormCase{"UV tenths", 23, "5.5", kImperial, true, "55"},
        FormCase{"reception tenths", 141, "99.5", kImperial, true, "995"},
        FormCase{"battery volts to reading", 140, "4.5", kImperial, true, "768"},
        FormCase{"humidity as typed", 18, "5-", kMetric, true, "5-"},
        FormCase{"empty stays empty", 17, "", kMetric, true, ""},
        FormCase{"not a number reads 0", 10, "abc", kImperial, true, "0"},
        FormCase{"plain outside temperature", 17, "20.5", kMetric, false, "68.9"},
        FormCase{"plain dew point", 130, "10", kMetric, false, "50"},
        FormCase{"plain extra temperature has no offset", 25, "10", kMetric, false, "50"},
        FormCase{"plain barometer", 1, "1013.2", kMetric, false, "29.920"},
        FormCase{"plain rain", 10, "6.4", kMetric, false, "0.25"},
        FormCase{"plain daily ET", 14, "3.2", kMetric, false, "0.13"},
        FormCase{"plain wind", 19, "10", kMetric, false, "12"},
        FormCase{"plain UV unchanged", 23, "5.5", kMetric, false, "5.5"}));

class ToDisplay : public ::testing::TestWithParam<FormCase> {};

TEST_P(ToDisplay, Reads)
{
    const FormCase& c = GetParam();
    EXPECT_EQ(ModuleToDisplay(c.code, c.text, c.units, c.scaled), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToDisplay,
    ::testing::Values(
        FormCase{"outside tenths F in C", 17, "689", kMetric, true, "20.5"},
        FormCase{"inside tenths F", 2, "725", kImperial, true, "72.5"},
        FormCase{"heat index whole", 132, "500", kMetric, true, "10"},
        FormCase{"extra temperature minus offset", 24, "140", kImperial, true, "50"},
        FormCase{"barometer inHg", 1, "29921", kImperial, true, "29.921"},
        FormCase{"barometer mb", 1, "29920", kMetric, true, "1013.2"},
        FormCase{"barometer mmHg", 1, "29921", kMmHgKph, true, "760.0"},
        FormCase{"rain inches", 10, "25", kImperial, true, "0.25"},
        FormCase{"rain mm", 11, "26", kMetric, true, "6.6"},
        FormCase{"daily ET halfway rounds as printf does", 14, "125", kImperial, true, "0.12"},
        FormCase{"wind mph", 19, "12", kImperial, true, "12"},
        FormCase{"wind kph", 20, "10", kMmHgKph, true, "16.1"},
        FormCase{"UV", 23, "55", kImperial, true, "5.5"},
        FormCase{"battery reading to volts", 140, "768", kImperial, true, "4.50"},
        FormCase{"wind direction as stored", 21, "350", kImperial, true, "350"},
        FormCase{"empty stays empty", 1, "", kImperial, true, ""},
        FormCase{"plain outside temperature", 17, "68.9", kMetric, false, "20.5"},
        FormCase{"plain barometer", 1, "29.920", kMetric, false, "1013.2"},
        FormCase{"plain rain", 10, "0.26", kMetric, false, "6.6"},
        FormCase{"plain wind", 19, "12", kMetric, false, "10.4"},
        FormCase{"plain reception unchanged", 141, "99.5", kMetric, false, "99.5"}));

TEST(BaseUnits, NoValuePassesThroughEveryConversion)
{
    for (int unit = 1; unit <= 10; ++unit) {
        SCOPED_TRACE(unit);
        EXPECT_EQ(TemperatureToDisplay(kNoValue, unit), kNoValue);
        EXPECT_EQ(DisplayToTemperature(kNoValue, unit), kNoValue);
        EXPECT_EQ(BarometerToDisplay(kNoValue, unit), kNoValue);
        EXPECT_EQ(DisplayToBarometer(kNoValue, unit), kNoValue);
        EXPECT_EQ(WindToDisplay(kNoValue, unit), kNoValue);
        EXPECT_EQ(DisplayToWind(kNoValue, unit), kNoValue);
        EXPECT_EQ(RainToDisplay(kNoValue, unit), kNoValue);
        EXPECT_EQ(DisplayToRain(kNoValue, unit), kNoValue);
    }
}

TEST(BaseUnits, UnconvertibleInputGivesNoValue)
{
    EXPECT_EQ(DisplayToBarometer(-1, UnitInch), kNoValue);
    EXPECT_EQ(DisplayToBarometer(32768, UnitInch), kNoValue);
    EXPECT_EQ(DisplayToBarometer(32767, UnitInch), 32767);
    EXPECT_EQ(DisplayToWind(-0.5, UnitKph), kNoValue);
}

struct CheckCase {
    const char* what;
    ValueKind kind;
    const char* text;
    AomUnitSettings units;
    const char* message;  // empty: passes
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.what; }

class Validator : public ::testing::TestWithParam<CheckCase> {};

TEST_P(Validator, PassesOrGivesExactMessage)
{
    const CheckCase& c = GetParam();
    const ValueCheck check = ValidateValue(c.kind, c.text, true, c.units);
    EXPECT_EQ(check.ok, std::string(c.message).empty());
    EXPECT_EQ(check.message, c.message);
}

using K = ValueKind;

INSTANTIATE_TEST_SUITE_P(
    Cases, Validator,
    ::testing::Values(
        CheckCase{"temperature 74 C", K::Temperature, "74", kMetric,
                  "(74)  Invalid, value must be between (-67.8 and 73.3)"},
        CheckCase{"temperature 73 C", K::Temperature, "73", kMetric, ""},
        CheckCase{"temperature 164 F", K::Temperature, "164", kImperial, ""},
        CheckCase{"temperature -90.1 F", K::Temperature, "-90.1", kImperial,
                  "(-90.1)  Invalid, value must be between (-90.0 and 164.0)"},
        CheckCase{"empty field", K::Temperature, "", kImperial, "Field must have a value."},
        CheckCase{"heat index 74 C", K::HeatIndex, "74", kMetric,
                  "(74)  Invalid, value must be between (-67 and 73)!"},
        CheckCase{"heat index 164.9 F truncates", K::HeatIndex, "164.9", kImperial, ""},
        CheckCase{"dew point 57 C truncates to 134 F", K::DewPoint, "57", kMetric, ""},
        CheckCase{"dew point 58 C", K::DewPoint, "58", kMetric,
                  "(58)  Invalid, value must be between (-84 and 56)!"},
        CheckCase{"wind chill -121 F", K::WindChill, "-121", kImperial,
                  "(-121)  Invalid, value must be between (-120 and 134)!"},
        CheckCase{"humidity 5-", K::Humidity, "5-", kImperial, ""},
        CheckCase{"humidity 5.5", K::Humidity, "5.5", kImperial, "5.5 is not a valid entry!"},
        CheckCase{"humidity 101", K::Humidity, "101", kImperial, "101 is not a valid entry!"},
        CheckCase{"wind 157 knots", K::WindSpeed, "157", kMetric,
                  "(157)  Invalid, value must be between (0.0 and 156.4)"},
        CheckCase{"wind 290 kph", K::WindSpeed, "290", kMmHgKph,
                  "(290)  Invalid, value must be between (0.0 and 289.7)"},
        CheckCase{"wind 81 m/s", K::WindSpeed, "81", kMetresPerSecond,
                  "(81)  Invalid, value must be between (0.0 and 80.5)"},
        CheckCase{"wind negative", K::WindSpeed, "-1", kImperial,
                  "(-1)  Invalid, value must be between (0.0 and 180.0)"},
        CheckCase{"wind direction 360", K::WindDirection, "360", kImperial, ""},
        CheckCase{"wind direction 361", K::WindDirection, "361", kImperial,
                  "(361)  Invalid, value must be between (0 and 360)"},
        CheckCase{"wind direction decimal", K::WindDirection, "3.5", kImperial,
                  "(3.5)  Invalid, value must be between (0 and 360)"},
        CheckCase{"barometer 1013.2 mb", K::Barometer, "1013.2", kMetric, ""},
        CheckCase{"barometer 1100.6 mb", K::Barometer, "1100.6", kMetric,
                  "(1100.6)  Invalid, value must be between (541.8 and 1100.6)"},
        CheckCase{"barometer 400 mmHg", K::Barometer, "400", kMmHgKph,
                  "(400)  Invalid, value must be between (406.4 and 825.5)"},
        CheckCase{"barometer beyond 32767", K::Barometer, "40000", kImperial,
                  "(40000)  Invalid, value must be between (16.0 and 32.5)"},
        CheckCase{"daily rain 99.99 in above the single-precision limit", K::RainDaily, "99.99",
                  kImperial, "(99.99)  Invalid, value must be between (0.0 and 100.0)"},
        CheckCase{"daily rain 99.98 in", K::RainDaily, "99.98", kImperial, ""},
        CheckCase{"storm rain 2540 mm", K::RainDaily, "2540", kMetric,
                  "(2540)  Invalid, value must be between (0.0 and 2539.7)"},
        CheckCase{"monthly rain 199.99 in", K::RainTotal, "199.99", kImperial, ""},
        CheckCase{"yearly rain 200 in", K::RainTotal, "200", kImperial,
                  "(200)  Invalid, value must be between (0.0 and 200.0)"},
        CheckCase{"rain rate 200 in", K::RainRate, "200", kImperial,
                  "(200)  Invalid, value must be between (0.00 and 199.99)"},
        CheckCase{"UV 16", K::UvIndex, "16", kImperial, ""},
        CheckCase{"UV 16.1", K::UvIndex, "16.1", kImperial,
                  "(16.1)  Invalid, value must be between (0.0 and 16.0)"},
        CheckCase{"UV with a letter", K::UvIndex, "1e1", kImperial,
                  "(1e1)  Invalid, value must be between (0.0 and 16.0)"},
        CheckCase{"solar 1801", K::SolarRadiation, "1801", kImperial, "1801 is not a valid entry!"},
        CheckCase{"daily ET 65 in", K::EtDaily, "65", kImperial, ""},
        CheckCase{"daily ET 65.1 in", K::EtDaily, "65.1", kImperial, "65.1 is not a valid entry!"},
        CheckCase{"monthly ET 200 in", K::EtTotal, "200", kImperial, "200 is not a valid entry!"},
        CheckCase{"leaf wetness 16", K::LeafWetness, "16", kImperial,
                  "(16)  Invalid, value must be between (0 and 15)"},
        CheckCase{"soil moisture 201", K::SoilMoisture, "201", kImperial,
                  "(201)  Invalid, value must be between (0 and 200)"},
        CheckCase{"battery 5.1", K::BatteryVoltage, "5.1", kImperial,
                  "(5.1)  Invalid, value must be between (0.0 and 5.0)"},
        CheckCase{"battery 4.5", K::BatteryVoltage, "4.5", kImperial, ""},
        CheckCase{"reception 100.1", K::Reception, "100.1", kImperial,
                  "(100.1)  Invalid, value must be between (0.0 and 100.0)"},
        CheckCase{"flag has no value", K::Flag, "", kImperial, ""}));

TEST(Validator, DisabledFieldPasses)
{
    EXPECT_TRUE(ValidateValue(K::Temperature, "", false, kImperial).ok);
    EXPECT_TRUE(ValidateValue(K::TimeOfDay, "x", false, kImperial).ok);
    EXPECT_TRUE(ValidateMinutes("0", false).ok);
}

TEST(Validator, NotANumberNeverPasses)
{
    EXPECT_FALSE(ValidateValue(K::Temperature, "nan", true, kImperial).ok);
    EXPECT_FALSE(ValidateValue(K::HeatIndex, "nan", true, kImperial).ok);
    EXPECT_FALSE(ValidateValue(K::Barometer, "nan", true, kImperial).ok);
}

TEST(Validator, MessageBoxIsCaptionedErrorWithErrorIcon)
{
    const UserMessage box = ValidationMessage(ValidateValue(K::UvIndex, "17", true, kImperial));
    EXPECT_EQ(box.text, "(17)  Invalid, value must be between (0.0 and 16.0)");
    EXPECT_EQ(box.caption, std::optional<std::string>("Error"));
    EXPECT_EQ(box.icon, MsgIcon::Error);
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
}

TEST(Validator, Minutes)
{
    const struct {
        const char* text;
        bool ok;
    } cases[] = {{"0", false}, {"1", true}, {"255", true}, {"256", false}, {"1.5", false},
                 {"-", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const ValueCheck check = ValidateMinutes(c.text, true);
        EXPECT_EQ(check.ok, c.ok);
        if (!c.ok) {
            EXPECT_EQ(check.message, std::string("(") + c.text +
                                         ")  Invalid time entry!  Must be between (1 min. and "
                                         "255 min.)");
        }
    }
    EXPECT_EQ(ValidateMinutes("", true).message, "Field must have a value.");
}

TEST(Validator, TimeOfDay)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"23:59", ""},
        {"0:00", ""},
        {"7:", ""},
        {"24:00", "(24:00)  Invalid, hour field must be between (0 and 23)"},
        {":30", "(:30)  Invalid, hour field must be between (0 and 23)"},
        {"7.5:30", "(7.5:30)  Invalid, hour field must be between (0 and 23)"},
        {"7.30", "(7.30)  Invalid, need to insert ':' between hour and minute fields."},
        {"7:60", "(7:60)  Invalid, minute field must be between (0 and 59)"},
        {"7:30:00", "(7:30:00)  Invalid, minute field must be between (0 and 59)"},
        {"", "Field must have a value."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const ValueCheck check = ValidateValue(K::TimeOfDay, c.text, true, kImperial);
        EXPECT_EQ(check.ok, std::string(c.message).empty());
        EXPECT_EQ(check.message, c.message);
    }
}

}  // namespace
