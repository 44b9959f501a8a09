// The alarm parameter table (display order, extra sensor codes, offered
// parameters, check-type lists, unit labels), the transmitter list read, and
// the plan of an output's conditions built on them.
#include "aom/AlarmParameterTable.h"
#include "aom/AomConditionRows.h"
#include "aom/AomConditionTable.h"
#include "link/Crc16.h"
#include "FakeLink.h"
#include "base/NumericText.h"
#include "settings/SettingsKeys.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

class ParameterTable : public ::testing::Test {
protected:
    ~ParameterTable() override { ExtraSensors().Clear(); }
    void Station(const char* config) { dir.Settings().SetValue(key::AomStationConfig, config); }

    // Transmitter kinds by ID 1-8, as the console's EEPROM block holds them.
    static void Transmitters(std::initializer_list<int> kinds)
    {
        std::uint8_t block[kTransmitterBlockSize] = {};
        for (std::size_t i = 0; int kind : kinds) block[2 * i++] = static_cast<std::uint8_t>(kind);
        ConsoleTransmitterList transmitters;
        transmitters.Decode(block);
        ExtraSensors().Rebuild(transmitters);
    }

    std::string Listed() const
    {
        std::string shown;
        for (const auto& item : list.Items()) shown += item + "|";
        return shown;
    }

    TempWorkDir dir;
    VectorChoiceList list;
};

TEST_F(ParameterTable, ExtraSensorsFollowTheTransmitters)
{
    EXPECT_EQ(ResolveParameterCode("Extra Temperature 3"), kMissingSensor);  // no list read yet
    Transmitters({0, 0, 1, 2, 3});
    const std::pair<const char*, int> cases[] = {
        {"Extra Temperature 3", 24}, {"Extra Temperature 1", kMissingSensor},
        {"Extra Humidity 4", 31}, {"Extra Humidity 3", kMissingSensor},
        {"Outside Temperature", 17}, {"", kNoParameter}, {"Extra Temperature 9", kNoParameter},
    };
    for (const auto& [name, code] : cases) EXPECT_EQ(ResolveParameterCode(name), code) << name;

    Station("0$26$28$24$1000$1001$"), FillParameterList(list);
    const std::pair<int, const char*> picked[] = {{25, "Extra Temperature 5"}, {24, "Extra Temperature 3"},
                                                  {129, "Outside Dewpoint"}};
    for (const auto& [code, name] : picked) EXPECT_EQ(list.Text(SelectParameterByCode(list, code)), name);
    ASSERT_NE(FindExact(list, "Extra Temperature 8"), -1);
    for (int code : {26, 23, 999, 1000, 1001}) EXPECT_EQ(SelectParameterByCode(list, code), -1);

    const AomUnitSettings metric{UnitCelsius, UnitHectopascal, UnitMetresPerSecond, UnitMillimetre};
    const AomUnitSettings imperial{UnitFahrenheit, UnitInch, UnitKnots, UnitInch};
    const char* const labels[][3] = {
        {"Extra Temperature 3", "\u00b0C", "\u00b0F"}, {"Extra Temperature 1", "", ""},
        {"Rain Rate", "mm/hr", "in/hr"}};
    for (const auto& c : labels)
        EXPECT_EQ(UnitLabelFor(c[0], metric) + "|" + UnitLabelFor(c[0], imperial), c[1] + std::string("|") + c[2]);

    // The module has room for seven sensors of each kind.
    Transmitters({3, 3, 3, 3, 3, 3, 3, 3});
    EXPECT_EQ(ResolveParameterCode("Extra Temperature 7"), 30);
    EXPECT_EQ(ResolveParameterCode("Extra Humidity 8"), kMissingSensor);
}

TEST_F(ParameterTable, OfferedSetsInDisplayOrder)
{
    Station(""), FillParameterList(list);
    ASSERT_EQ(list.Count(), 42);
    EXPECT_EQ(list.Text(41), "Time");
    const std::set<int> common = OfferedTableCodes("");
    std::set<int> expected = common;
    expected.insert({22, 14, 15, 16});
    EXPECT_EQ(OfferedTableCodes("1$22$"), expected);
    // The model field is never a parameter, and fields that are no code are skipped.
    EXPECT_EQ(OfferedTableCodes("22$"), common);
    EXPECT_EQ(OfferedTableCodes("0$abc$$999$-3$"), common);

    Station("0$44$24$46$"), FillParameterList(list, MinusTemperatures);
    EXPECT_EQ(Listed(), "Outside Temperature|Outside Dewpoint|Wind Chill|Outside Heat Index|"
                        "Inside Temperature|Inside Dewpoint|Inside Heat Index|"
                        "Extra Temperature 1|Soil Temperature 1|Leaf Temperature 1|");
}

TEST_F(ParameterTable, CheckTypeSets)
{
    const std::pair<int, const char*> cases[] = {
        {17, "Greater Than or =|Less Than or =|Between|Not Between|Trending|=|Minus|Missing|"},
        {128, "Between|Not Between|=|"},
        {140, "Greater Than or =|Less Than or =|Between|Not Between|True|=|Missing|"},
        {4, "True|Missing|"},
        {50, "True|"},
    };
    for (const auto& [code, types] : cases) {
        FillCheckTypeList(list, code);
        EXPECT_EQ(Listed(), types) << code;
    }
    // The selection stays while the new parameter still offers it.
    FillCheckTypeList(list, 17);
    list.Select(FindExact(list, "Minus")), FillCheckTypeList(list, kMissingSensor);
    EXPECT_EQ(list.SelectedText(), "Minus");
    list.Select(FindExact(list, "Between")), FillCheckTypeList(list, 128);
    EXPECT_EQ(list.SelectedText(), "Between");
    FillCheckTypeList(list, 50);
    EXPECT_EQ(list.Selected(), -1);
}

// The transmitter list read under module faults the simulator cannot stage.
TEST(TransmitterList, RefusedLoweringRetriedAndRefusedRestoreGivenUpAfterFive)
{
    TempWorkDir dir;
    InstantPauses pauses;
    std::string data(kTransmitterBlockSize, '\0');
    data[0] = 3;
    const auto crc = Crc16Xmodem(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    FakeLink link;
    link.Respond("\n", "\n\r"), link.Respond("MOD01 |\n", "60\n\r");
    link.Respond("MOD01 1\n", "ERR\n\r", 2), link.Respond("MOD01 1\n", "OK\n\r");
    link.Respond("MOD01 60\n", "ERR\n\r");
    link.Respond("EEBRD 19 10\n", "\x06" + data + char(crc >> 8) + char(crc & 0xFF));
    ReadTransmitterList();
    Lines expected;
    for (int i = 0; i < 3; ++i) expected.insert(expected.end(), {"\n", "MOD01 |\n", "MOD01 1\n"});
    expected.insert(expected.end(), {"\n", "EEBRD 19 10\n"});
    for (int i = 0; i < 5; ++i) expected.insert(expected.end(), {"\n", "MOD01 60\n"});
    EXPECT_EQ(link.Lines(), expected);
    EXPECT_TRUE(ConsoleTransmitters().At(1).hasHumidity);
    ConsoleTransmitters().Clear();
}

// An output's conditions from the module's reply or from typed rows to the
// lines its write sends: every check type, subtractions, both unit sets,
// the refusals with their messages, and values that go back exactly as the
// module held them.
constexpr AomUnitSettings kF{UnitFahrenheit, UnitInch, UnitMph, UnitInch};
constexpr AomUnitSettings kM{UnitCelsius, UnitMillibar, UnitKph, UnitMillimetre};

class ConditionPlan : public ParameterTable {
protected:
    ConditionPlan()
    {
        std::string station = "0$22$23$";
        for (int code = 24; code <= 49; ++code) station += FormatText("%d$", code);
        Station(station.c_str());
        // Temperature sensors on transmitters 3 and 5: Extra Temperature 3 is
        // module code 24, 5 is 25, and 1 is on none.
        Transmitters({0, 0, 1, 0, 1});
    }
};

// Rows as typed: parameter, check type, value 1, value 2, minutes.
std::vector<ConditionRow> RowsOf(std::initializer_list<std::array<const char*, 5>> typed)
{
    std::vector<ConditionRow> rows(kConditionRows);
    std::size_t n = 0;
    for (const auto& [parameter, check, value1, value2, minutes] : typed) {
        ConditionRow& r = rows.at(n++);
        r.parameter = parameter, r.checkType = *check ? CheckTypeFromText(check) : CheckNone;
        r.value1 = value1, r.value2 = value2, r.minutes = minutes, r.grouping = "AND";
    }
    return rows;
}

// The conditions as the module's reply lists them, values as numbers.
std::string Held(const OutputConditionPlan& plan)
{
    std::string text;
    for (const AomCondition& c : plan.conditions) {
        const CheckFields open = FieldsOfCheck(c.checkType == CheckMinus ? CheckGreaterOrEqual : c.checkType);
        text += (text.empty() ? "" : ";") + FormatText("%d %d", c.parameter, c.checkType) +
                (c.checkType == CheckTrending ? " " + c.trendPeriod : "") +
                (c.checkType == CheckMinus ? FormatText(" %d", c.secondParameter) : "") +
                (open.value1 ? FormatText(" %d", ReadInt(c.value1)) : "") +
                (open.value2 ? FormatText(" %d", ReadInt(c.value2)) : "");
    }
    return text;
}

struct TypedCase {
    const char* name;
    AomUnitSettings units;
    std::vector<ConditionRow> rows;
    const char* lines;  // the heads and values lines, or empty when refused
    std::string refusal = "";
    int row = 0;
    ConditionField field = ConditionField::Parameter;
};

// One row, or a subtraction from row 1 of the second row given.
std::vector<ConditionRow> One(const char* p, const char* check, const char* v1, const char* v2 = "", const char* m = "")
{ return RowsOf({{p, check, v1, v2, m}}); }
std::vector<ConditionRow> Minus(const char* a, const char* b, const char* check, const char* value)
{ return RowsOf({{a, "Minus", "", "", ""}, {b, check, value, "", ""}}); }
constexpr const char* kGe = "Greater Than or =";
constexpr const char* kLe = "Less Than or =";
constexpr const char* kOut = "Outside Temperature";
constexpr const char* kTempRange = ")  Invalid, value must be between (-90.0 and 164.0)";

TEST_F(ConditionPlan, TypedRowsGiveTheWriteLinesOrTheFormsRefusal)
{
    constexpr ConditionField kParam = ConditionField::Parameter, kCheck = ConditionField::CheckType;
    constexpr ConditionField kValue = ConditionField::Value1;
    const std::string zeros(90, '0');
    auto r = [](const char* text) { return std::string("(") + text + kTempRange; };
    const TypedCase cases[] = {
        {"GreaterTemperature", kF, One(kOut, kGe, "85"), "MOD16 0 17 0\nMOD17 0 17 850\n"},
        {"LessCelsius", kM, One(kOut, kLe, "20.5"), "MOD16 0 17 1\nMOD17 0 17 689\n"},
        {"BetweenLowerFirst", kF, One(kOut, "Between", "80", "20"), "MOD16 0 17 2\nMOD17 0 17 200 800\n"},
        {"WindKeepsOrder", kF, One("Wind Direction", "Not Between", "80", "20"), "MOD16 0 21 3\nMOD17 0 21 80 20\n"},
        {"TrendingKph", kM, One("Current Wind Speed", "Trending", "16.1", "40", "30"),
         "MOD16 0 19 4 30\nMOD17 0 19 10 25\n"},
        {"TrueAndMissing", kF, RowsOf({{"Bar Trend Falling Slowly", "True", "", "", ""}, {"Solar Radiation", "Missing", "", "", ""}}),
         "MOD16 0 7 5\nMOD17 0 7 0\nMOD16 0 22 8\nMOD17 0 22 0\n"},
        {"EqualsAsTyped", kF, One("Outside Humidity", "=", "5-"), "MOD16 0 18 6\nMOD17 0 18 5-\n"},
        {"BarometerInches", kF, One("Current Barometer", "=", "29.921"), "MOD16 0 1 6\nMOD17 0 1 29921\n"},
        {"BarometerMillibar", kM, One("Current Barometer", "=", "1013.2"), "MOD16 0 1 6\nMOD17 0 1 29920\n"},
        {"RainInches", kF, One("Daily Rain", kGe, "0.25"), "MOD16 0 10 0\nMOD17 0 10 25\n"},
        {"RainMillimetres", kM, One("Daily Rain", kGe, "6.4"), "MOD16 0 10 0\nMOD17 0 10 25\n"},
        {"DailyEt", kF, One("Daily ET", kGe, "0.125"), "MOD16 0 14 0\nMOD17 0 14 125\n"},
        {"Battery", kF, One("Console Batteries", kLe, "4.5"), "MOD16 0 140 1\nMOD17 0 140 768\n"},
        {"TimeRange", kF, One("Time", "Between", "7:30", "18:05"), "MOD16 0 128 2\nMOD17 0 128 0730 1805\n"},
        // 5 is 50 tenths of °F; "Less Than or =" stores (-50) mod 65536.
        {"MinusTenthsLess", kF, Minus(kOut, "Inside Temperature", kLe, "5"), "MOD16 0 17 7 2\nMOD17 0 17 65486\n"},
        {"MinusTenthsGreater", kF, Minus(kOut, "Inside Temperature", kGe, "5"), "MOD16 0 17 7 2\nMOD17 0 17 50\n"},
        {"MinusTenthsCelsius", kM, Minus(kOut, "Inside Temperature", kGe, "5"), "MOD16 0 17 7 2\nMOD17 0 17 90\n"},
        {"MinusExtraFahrenheit", kF, Minus(kOut, "Extra Temperature 5", kGe, "5"), "MOD16 0 17 7 25\nMOD17 0 17 95\n"},
        {"MinusExtraCelsius", kM, Minus(kOut, "Extra Temperature 5", kGe, "5"), "MOD16 0 17 7 25\nMOD17 0 17 99\n"},
        {"MinusRainInches", kF, Minus("Daily Rain", "Storm Total Rain", kGe, "0.5"), "MOD16 0 10 7 13\nMOD17 0 10 50\n"},
        {"MinusRainMm", kM, Minus("Daily Rain", "Storm Total Rain", kGe, "12.7"), "MOD16 0 10 7 13\nMOD17 0 10 50\n"},
        // Refused: the form's message, its row and field, nothing planned.
        {"ThresholdEmpty", kF, Minus(kOut, "Inside Temperature", kLe, ""), "", "Field must have a value.", 1, kValue},
        {"ThresholdLetters", kF, Minus(kOut, "Inside Temperature", kLe, "abc"), "", r("abc"), 1, kValue},
        {"ThresholdTooLarge", kF, Minus(kOut, "Inside Temperature", kGe, "99999"), "", r("99999"), 1, kValue},
        {"ThresholdHuge", kF, Minus(kOut, "Inside Temperature", kLe, "-1e30"), "", r("-1e30"), 1, kValue},
        {"ThresholdBeyondLong", kF, Minus(kOut, "Inside Temperature", kLe, "-99999999999999999999"), "",
         r("-99999999999999999999"), 1, kValue},
        // 40 in of ET is 40000 thousandths: beyond the module's 15 bits.
        {"ThresholdBeyond15Bits", kF, Minus("Daily Rain", "Daily ET", kLe, "40"), "", "40 is not a valid entry!", 1, kValue},
        {"SecondOnNoTransmitter", kF, Minus(kOut, "Extra Temperature 1", kLe, "5"), "",
         "No transmitter of the station carries Extra Temperature 1.", 1, kParam},
        {"MinusWithoutSecondRow", kF, One(kOut, "Minus", ""), "", "Please select a parameter.", 1, kParam},
        {"SecondFromAnotherGroup", kF, Minus(kOut, "Daily Rain", kLe, "1"), "", "Please select a parameter.", 1, kParam},
        {"SecondRowBetween", kF, Minus(kOut, "Inside Temperature", "Between", "1"), "", "Please select a check type.", 1, kCheck},
        {"CheckNotOffered", kF, One("Current Barometer", "Trending", "29", "30", "10"), "", "Please select a check type.", 0, kCheck},
        {"UnknownParameter", kF, One("Wind Speed", "Trending", "10", "25", "30"), "", "Please select a parameter.", 0, kParam},
        {"CommaDecimal", kF, One(kOut, "=", "90,7"), "", r("90,7"), 0, kValue},
        {"Exponent", kF, One(kOut, "=", "8e1"), "", r("8e1"), 0, kValue},
        {"Hexadecimal", kF, One(kOut, "=", "0x55"), "", r("0x55"), 0, kValue},
        {"PlusSign", kF, One(kOut, "=", "+85"), "", r("+85"), 0, kValue},
        {"WholeWithBlank", kF, One("Solar Radiation", "=", "500 7"), "", "500 7 is not a valid entry!", 0, kValue},
        {"WholeWithPoint", kF, One("Solar Radiation", "=", "500.5"), "", "500.5 is not a valid entry!", 0, kValue},
        {"Minutes", kF, One("Current Wind Speed", "Trending", "10", "25", "0"), "",
         "(0)  Invalid time entry!  Must be between (1 min. and 255 min.)", 0, ConditionField::Minutes},
        // Leading zeros pass the validator but no module line holds them.
        {"LineTooLong", kF, One("Outside Humidity", "=", (zeros + "50").c_str()), "", "", 0, kValue},
    };
    for (const TypedCase& c : cases) {
        OutputConditionPlan plan;
        if (const auto refusal = PlanOutputConditions(0, c.rows, c.units, plan); *c.lines) {
            ASSERT_FALSE(refusal) << c.name << ": " << refusal->message;
            std::string lines;
            for (const std::string& line : PlanLines(plan)) lines += line;
            EXPECT_EQ(lines, "MOD15 0\n" + std::string(c.lines) + "MOD18 0 1\n") << c.name;
        } else {
            ASSERT_TRUE(refusal) << c.name;
            EXPECT_EQ(refusal->message, c.refusal.empty() ? refusal->message : c.refusal) << c.name;
            EXPECT_EQ(std::tie(refusal->row, refusal->field), std::tie(c.row, c.field)) << c.name;
            EXPECT_TRUE(plan.conditions.empty()) << c.name;
        }
    }
}

// Module text -> rows -> the write: unchanged in both unit sets and through
// a backup's exact text, and with one other row edited (its new value 1,
// minutes or check type) giving the reply then expected.
TEST_F(ConditionPlan, HeldValuesGoBackExactlyAsTheModuleHeldThem)
{
    const struct { const char* reply; int row; const char *edit, *changed; } cases[] = {
        {"18 0 50;129 0 655;14 0 125;17 7 25 95;1 2 29000 30500;10 1 25;140 0 769", 0, "60",
         "18 0 60;129 0 655;14 0 125;17 7 25 95;1 2 29000 30500;10 1 25;140 0 769"},
        {"19 4 30 10 25;21 3 80 20;128 2 730 1805;23 6 55;141 1 905;133 0 733;22 8", 0, "31",
         "19 4 31 10 25;21 3 80 20;128 2 730 1805;23 6 55;141 1 905;133 0 733;22 8"},
        {"17 7 2 65486;130 7 131 33;18 7 3 65531;20 7 19 5", 1, "Greater Than or =",
         "17 7 2 50;130 7 131 33;18 7 3 65531;20 7 19 5"},
    };
    for (const auto& c : cases) {
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

// A field the module cannot hold (not a number, beyond its 16 bits) makes
// the reply malformed: no row shows or keeps anything of it.
TEST_F(ConditionPlan, MalformedReplyLoadsNoRows)
{
    for (const char* reply : {"17 7 129 -9223372036854743040", "10 4 5 20  |", "17 0 5x0", "17 0 65536",
                              "17 0 -32769", "17 0 +5", "- 0 5"}) {
        EXPECT_FALSE(IsConditionReplyWellFormed(reply)) << reply;
        for (const ConditionRow& row : ConditionRowsFromReply(reply, 1, kF))
            EXPECT_TRUE(row.parameter.empty() && row.held1.empty() && row.value1.empty()) << reply;
    }
    EXPECT_TRUE(IsConditionReplyWellFormed("17 0 -32768;17 7 2 65535;;"));
}

}  // namespace
