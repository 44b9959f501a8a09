// An output's conditions from the module's reply or from typed rows to the
// lines its write sends: every check type, subtractions, both unit sets,
// the refusals with their messages, and values that go back exactly as the
// module held them.
#include "AlarmParameterTable.h"
#include "AomConditionTable.h"
#include "NumericText.h"
#include "SettingsKeys.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr AomUnitSettings kF{UnitFahrenheit, UnitInch, UnitMph, UnitInch};
constexpr AomUnitSettings kM{UnitCelsius, UnitMillibar, UnitKph, UnitMillimetre};

class ConditionPlan : public ::testing::Test {
protected:
    ConditionPlan()
    {
        std::string station = "0$22$23$";
        for (int code = 24; code <= 49; ++code) station += FormatText("%d$", code);
        dir.Settings().SetValue(key::AomStationConfig, station);
        // Temperature sensors on transmitters 3 and 5: Extra Temperature 3 is
        // module code 24, 5 is 25, and 1 is on none.
        std::uint8_t block[kTransmitterBlockSize] = {0, 0, 0, 0, 1, 0, 0, 0, 1};
        ConsoleTransmitterList transmitters;
        transmitters.Decode(block);
        ExtraSensors().Rebuild(transmitters);
    }
    ~ConditionPlan() override { ExtraSensors().Clear(); }
    TempWorkDir dir;
};

struct Typed {
    const char *parameter, *check, *value1, *value2, *minutes;
};

std::vector<ConditionRow> RowsOf(std::initializer_list<Typed> typed)
{
    std::vector<ConditionRow> rows(kConditionRows);
    std::size_t n = 0;
    for (const Typed& t : typed) {
        ConditionRow& r = rows.at(n++);
        r.parameter = t.parameter;
        r.checkType = *t.check ? CheckTypeFromText(t.check) : CheckNone;
        r.value1 = t.value1, r.value2 = t.value2, r.minutes = t.minutes;
        r.grouping = "AND";
    }
    return rows;
}

// The conditions as the module's reply lists them, values as numbers.
std::string Held(const OutputConditionPlan& plan)
{
    std::string text;
    for (const AomCondition& c : plan.conditions) {
        text += (text.empty() ? "" : ";") + FormatText("%d %d", c.parameter, c.checkType);
        if (c.checkType == CheckTrending) text += " " + c.trendPeriod;
        if (c.checkType == CheckMinus) text += FormatText(" %d", c.secondParameter);
        const int values = c.checkType == CheckTrue || c.checkType == CheckMissing ? 0
                           : FieldsOfCheck(c.checkType).value2 ? 2 : 1;
        for (const std::string* v : {&c.value1, &c.value2})
            if (v == &c.value1 ? values >= 1 : values == 2) text += FormatText(" %d", ReadInt(*v));
    }
    return text;
}

struct TypedCase {
    const char* name;
    AomUnitSettings units;
    std::vector<ConditionRow> rows;
    const char* lines;  // the heads and values lines, or empty when refused
    const char* refusal = "";
    int row = 0, field = 0;
};

TEST_F(ConditionPlan, TypedRowsGiveTheWriteLinesOrTheFormsRefusal)
{
    using F = ConditionField;
    const auto v1 = static_cast<int>(F::Value1);
    const std::string twenty(90, '0');
    const TypedCase cases[] = {
        {"GreaterTemperature", kF, RowsOf({{"Outside Temperature", "Greater Than or =", "85", "", ""}}),
         "MOD16 0 17 0\nMOD17 0 17 850\n"},
        {"LessCelsius", kM, RowsOf({{"Outside Temperature", "Less Than or =", "20.5", "", ""}}),
         "MOD16 0 17 1\nMOD17 0 17 689\n"},
        {"BetweenLowerFirst", kF, RowsOf({{"Outside Temperature", "Between", "80", "20", ""}}),
         "MOD16 0 17 2\nMOD17 0 17 200 800\n"},
        {"NotBetweenWindKeepsOrder", kF, RowsOf({{"Wind Direction", "Not Between", "80", "20", ""}}),
         "MOD16 0 21 3\nMOD17 0 21 80 20\n"},
        {"TrendingKph", kM, RowsOf({{"Current Wind Speed", "Trending", "16.1", "40", "30"}}),
         "MOD16 0 19 4 30\nMOD17 0 19 10 25\n"},
        {"TrueAndMissing", kF, RowsOf({{"Bar Trend Falling Slowly", "True", "", "", ""},
                                       {"Solar Radiation", "Missing", "", "", ""}}),
         "MOD16 0 7 5\nMOD17 0 7 0\nMOD16 0 22 8\nMOD17 0 22 0\n"},
        {"EqualsAsTyped", kF, RowsOf({{"Outside Humidity", "=", "5-", "", ""}}), "MOD16 0 18 6\nMOD17 0 18 5-\n"},
        {"BarometerInches", kF, RowsOf({{"Current Barometer", "=", "29.921", "", ""}}), "MOD16 0 1 6\nMOD17 0 1 29921\n"},
        {"BarometerMillibar", kM, RowsOf({{"Current Barometer", "=", "1013.2", "", ""}}), "MOD16 0 1 6\nMOD17 0 1 29920\n"},
        {"RainInches", kF, RowsOf({{"Daily Rain", "Greater Than or =", "0.25", "", ""}}), "MOD16 0 10 0\nMOD17 0 10 25\n"},
        {"RainMillimetres", kM, RowsOf({{"Daily Rain", "Greater Than or =", "6.4", "", ""}}), "MOD16 0 10 0\nMOD17 0 10 25\n"},
        {"DailyEt", kF, RowsOf({{"Daily ET", "Greater Than or =", "0.125", "", ""}}), "MOD16 0 14 0\nMOD17 0 14 125\n"},
        {"Battery", kF, RowsOf({{"Console Batteries", "Less Than or =", "4.5", "", ""}}), "MOD16 0 140 1\nMOD17 0 140 768\n"},
        {"TimeRange", kF, RowsOf({{"Time", "Between", "7:30", "18:05", ""}}), "MOD16 0 128 2\nMOD17 0 128 0730 1805\n"},
        // 5 is 50 tenths of °F; "Less Than or =" stores (-50) mod 65536.
        {"MinusTenthsLess", kF, RowsOf({{"Outside Temperature", "Minus", "", "", ""}, {"Inside Temperature", "Less Than or =", "5", "", ""}}),
         "MOD16 0 17 7 2\nMOD17 0 17 65486\n"},
        {"MinusTenthsGreater", kF, RowsOf({{"Outside Temperature", "Minus", "", "", ""}, {"Inside Temperature", "Greater Than or =", "5", "", ""}}),
         "MOD16 0 17 7 2\nMOD17 0 17 50\n"},
        {"MinusTenthsCelsius", kM, RowsOf({{"Outside Temperature", "Minus", "", "", ""}, {"Inside Temperature", "Greater Than or =", "5", "", ""}}),
         "MOD16 0 17 7 2\nMOD17 0 17 90\n"},
        {"MinusExtraFahrenheit", kF, RowsOf({{"Outside Temperature", "Minus", "", "", ""}, {"Extra Temperature 5", "Greater Than or =", "5", "", ""}}),
         "MOD16 0 17 7 25\nMOD17 0 17 95\n"},
        {"MinusExtraCelsius", kM, RowsOf({{"Outside Temperature", "Minus", "", "", ""}, {"Extra Temperature 5", "Greater Than or =", "5", "", ""}}),
         "MOD16 0 17 7 25\nMOD17 0 17 99\n"},
        {"MinusRainInches", kF, RowsOf({{"Daily Rain", "Minus", "", "", ""}, {"Storm Total Rain", "Greater Than or =", "0.5", "", ""}}),
         "MOD16 0 10 7 13\nMOD17 0 10 50\n"},
        {"MinusRainMillimetres", kM, RowsOf({{"Daily Rain", "Minus", "", "", ""}, {"Storm Total Rain", "Greater Than or =", "12.7", "", ""}}),
         "MOD16 0 10 7 13\nMOD17 0 10 50\n"},
        // Refused: the form's message, its row and field, nothing planned.
        {"ThresholdEmpty", kF, RowsOf({{"Outside Temperature", "Minus", "", "", ""}, {"Inside Temperature", "Less Than or =", "", "", ""}}),
         "", "Field must have a value.", 1, v1},
        {"ThresholdLetters", kF, RowsOf({{"Outside Temperature", "Minus", "", "", ""}, {"Inside Temperature", "Less Than or =", "abc", "", ""}}),
         "", "(abc)  Invalid, value must be between (-90.0 and 164.0)", 1, v1},
        {"ThresholdTooLarge", kF, RowsOf({{"Outside Temperature", "Minus", "", "", ""}, {"Inside Temperature", "Greater Than or =", "99999", "", ""}}),
         "", "(99999)  Invalid, value must be between (-90.0 and 164.0)", 1, v1},
        {"ThresholdHuge", kF, RowsOf({{"Outside Temperature", "Minus", "", "", ""}, {"Inside Temperature", "Less Than or =", "-1e30", "", ""}}),
         "", "(-1e30)  Invalid, value must be between (-90.0 and 164.0)", 1, v1},
        {"ThresholdBeyondLong", kF, RowsOf({{"Outside Temperature", "Minus", "", "", ""}, {"Inside Temperature", "Less Than or =", "-99999999999999999999", "", ""}}),
         "", "(-99999999999999999999)  Invalid, value must be between (-90.0 and 164.0)", 1, v1},
        // 40 in of ET is 40000 thousandths: beyond the module's 15 bits.
        {"ThresholdBeyondSixteenBits", kF, RowsOf({{"Daily Rain", "Minus", "", "", ""}, {"Daily ET", "Less Than or =", "40", "", ""}}),
         "", "40 is not a valid entry!", 1, v1},
        {"SecondSensorOnNoTransmitter", kF, RowsOf({{"Outside Temperature", "Minus", "", "", ""}, {"Extra Temperature 1", "Less Than or =", "5", "", ""}}),
         "", "No transmitter of the station carries Extra Temperature 1.", 1, static_cast<int>(F::Parameter)},
        {"MinusWithoutSecondRow", kF, RowsOf({{"Outside Temperature", "Minus", "", "", ""}}),
         "", "Please select a parameter.", 1, static_cast<int>(F::Parameter)},
        {"SecondRowFromAnotherGroup", kF, RowsOf({{"Outside Temperature", "Minus", "", "", ""}, {"Daily Rain", "Less Than or =", "1", "", ""}}),
         "", "Please select a parameter.", 1, static_cast<int>(F::Parameter)},
        {"SecondRowBetween", kF, RowsOf({{"Outside Temperature", "Minus", "", "", ""}, {"Inside Temperature", "Between", "1", "2", ""}}),
         "", "Please select a check type.", 1, static_cast<int>(F::CheckType)},
        {"CheckNotOffered", kF, RowsOf({{"Current Barometer", "Trending", "29", "30", "10"}}),
         "", "Please select a check type.", 0, static_cast<int>(F::CheckType)},
        {"UnknownParameter", kF, RowsOf({{"Wind Speed", "Trending", "10", "25", "30"}}),
         "", "Please select a parameter.", 0, static_cast<int>(F::Parameter)},
        {"CommaDecimal", kF, RowsOf({{"Outside Temperature", "=", "90,7", "", ""}}),
         "", "(90,7)  Invalid, value must be between (-90.0 and 164.0)", 0, v1},
        {"Exponent", kF, RowsOf({{"Outside Temperature", "=", "8e1", "", ""}}),
         "", "(8e1)  Invalid, value must be between (-90.0 and 164.0)", 0, v1},
        {"Hexadecimal", kF, RowsOf({{"Outside Temperature", "=", "0x55", "", ""}}),
         "", "(0x55)  Invalid, value must be between (-90.0 and 164.0)", 0, v1},
        {"PlusSign", kF, RowsOf({{"Outside Temperature", "=", "+85", "", ""}}),
         "", "(+85)  Invalid, value must be between (-90.0 and 164.0)", 0, v1},
        {"WholeNumberWithBlank", kF, RowsOf({{"Solar Radiation", "=", "500 7", "", ""}}),
         "", "500 7 is not a valid entry!", 0, v1},
        {"WholeNumberWithPoint", kF, RowsOf({{"Solar Radiation", "=", "500.5", "", ""}}),
         "", "500.5 is not a valid entry!", 0, v1},
        {"Minutes", kF, RowsOf({{"Current Wind Speed", "Trending", "10", "25", "0"}}),
         "", "(0)  Invalid time entry!  Must be between (1 min. and 255 min.)", 0, static_cast<int>(F::Minutes)},
        // Leading zeros pass the validator but no module line holds them.
        {"LineTooLong", kF, RowsOf({{"Outside Humidity", "=", (twenty + "50").c_str(), "", ""}}),
         "", "", 0, v1},
    };
    for (const TypedCase& c : cases) {
        OutputConditionPlan plan;
        const auto refusal = PlanOutputConditions(0, c.rows, c.units, plan);
        if (*c.lines) {
            ASSERT_FALSE(refusal) << c.name << ": " << refusal->message;
            std::string lines;
            for (const std::string& line : PlanLines(plan)) lines += line;
            EXPECT_EQ(lines, "MOD15 0\n" + std::string(c.lines) + "MOD18 0 1\n") << c.name;
            continue;
        }
        ASSERT_TRUE(refusal) << c.name;
        if (*c.refusal) {
            EXPECT_EQ(refusal->message, c.refusal) << c.name;
        }
        EXPECT_EQ(refusal->row, c.row) << c.name;
        EXPECT_EQ(static_cast<int>(refusal->field), c.field) << c.name;
        EXPECT_TRUE(plan.conditions.empty()) << c.name;
    }
}

struct HeldCase {
    const char* reply;
    int row;               // the row edited for the second run
    const char* edit;      // its new value 1, minutes or check type
    const char* changed;   // the reply then expected
};

// Module text -> rows -> the write: unchanged in both unit sets and through
// a backup's exact text, and with one other row edited.
TEST_F(ConditionPlan, HeldValuesGoBackExactlyAsTheModuleHeldThem)
{
    const HeldCase cases[] = {
        {"18 0 50;129 0 655;14 0 125;17 7 25 95;1 2 29000 30500;10 1 25;140 0 769", 0, "60",
         "18 0 60;129 0 655;14 0 125;17 7 25 95;1 2 29000 30500;10 1 25;140 0 769"},
        {"19 4 30 10 25;21 3 80 20;128 2 730 1805;23 6 55;141 1 905;133 0 733;22 8", 0, "31",
         "19 4 31 10 25;21 3 80 20;128 2 730 1805;23 6 55;141 1 905;133 0 733;22 8"},
        {"17 7 2 65486;130 7 131 33;18 7 3 65531;20 7 19 5", 1, "Greater Than or =",
         "17 7 2 50;130 7 131 33;18 7 3 65531;20 7 19 5"},
    };
    for (const HeldCase& c : cases) {
        for (const AomUnitSettings& units : {kF, kM}) {
            std::vector<ConditionRow> rows = ConditionRowsFromReply(c.reply, 1, units);
            OutputConditionPlan plan;
            ASSERT_FALSE(PlanOutputConditions(0, rows, units, plan)) << c.reply;
            EXPECT_EQ(Held(plan), c.reply);
            ConditionRow& edited = rows[static_cast<std::size_t>(c.row)];
            if (CheckTypeFromText(c.edit) != CheckNone) edited.checkType = CheckTypeFromText(c.edit);
            else (edited.checkType == CheckTrending ? edited.minutes : edited.value1) = c.edit;
            ASSERT_FALSE(PlanOutputConditions(0, rows, units, plan)) << c.reply;
            EXPECT_EQ(Held(plan), c.changed) << units.temperature;
        }
        // A backup's text holds nothing of the module but the values written.
        std::vector<ConditionRow> file;
        for (const ConditionRow& row : ConditionRowsFromReply(c.reply, 1, kF, RowValues::Exact))
            file.emplace_back().ConditionRowSummary::operator=(row);
        OutputConditionPlan plan;
        ASSERT_FALSE(PlanOutputConditions(0, file, kF, plan)) << c.reply;
        EXPECT_EQ(Held(plan), c.reply);
    }
}

// A reply beyond the 16 bits of a threshold loads without overflow and
// cannot go back before it is corrected.
TEST_F(ConditionPlan, ThresholdReplyBeyondSixteenBitsIsRefused)
{
    const auto rows = ConditionRowsFromReply("17 7 129 -9223372036854743040", 1, kF);
    EXPECT_EQ(rows[1].checkType, CheckGreaterOrEqual);
    OutputConditionPlan plan;
    const auto refusal = PlanOutputConditions(0, rows, kF, plan);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, "(" + rows[1].value1 + ")  Invalid, value must be between (-120 and 134)!");
}

}  // namespace
