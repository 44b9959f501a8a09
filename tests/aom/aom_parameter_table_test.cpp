// The alarm parameter table: rows, display order, offered parameters, extra
// sensor codes, check-type lists and unit labels.
#include "AlarmParameterTable.h"
#include "SettingsKeys.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

class ParameterTable : public ::testing::Test {
protected:
    ~ParameterTable() override { ExtraSensors().Clear(); }

    void Station(const std::string& config)
    {
        dir.Settings().SetValue(key::AomStationConfig, config);
    }

    // Transmitter kinds by ID 1-8, as the console's EEPROM block holds them.
    static void Transmitters(std::initializer_list<int> kinds)
    {
        std::uint8_t block[kTransmitterBlockSize] = {};
        int i = 0;
        for (int kind : kinds) block[2 * i++] = static_cast<std::uint8_t>(kind);
        ConsoleTransmitterList list;
        list.Decode(block);
        ExtraSensors().Rebuild(list);
    }

    static Names Filled()
    {
        VectorChoiceList list;
        FillParameterList(list);
        return list.Items();
    }

    static Names CheckTypesFor(int moduleCode)
    {
        VectorChoiceList list;
        FillCheckTypeList(list, moduleCode);
        return list.Items();
    }

    TempWorkDir dir;
};

TEST_F(ParameterTable, DisplayOrder)
{
    const std::vector<int> expected = {
        17, 18, 129, 19, 20, 21, 131, 132, 1, 4, 5, 6, 7, 8, 10, 13, 11, 12, 9, 22, 23, 2, 3,
        130, 133, 24, 25, 26, 27, 28, 29, 30, 1000, 31, 32, 33, 34, 35, 36, 37, 1001, 14, 15, 16,
        40, 41, 42, 43, 46, 47, 48, 49, 38, 39, 44, 45, 50, 51, 52, 53, 54, 55, 56, 57, 140, 141,
        142, 143, 144, 145, 146, 147, 148, 149, 128};
    EXPECT_EQ(AlarmParameters().DisplayOrder(), expected);
    ASSERT_EQ(AlarmParameters().Rows().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(AlarmParameters().ByCode(expected[i])->position, static_cast<int>(i) + 1);
}

TEST_F(ParameterTable, RangesAreNumberedInStep)
{
    const struct {
        int code;
        const char* name;
        ValueKind kind;
        MinusGroup group;
    } rows[] = {
        {24, "Extra Temperature 1", ValueKind::Temperature, MinusTemperatures},
        {26, "Extra Temperature 3", ValueKind::Temperature, MinusTemperatures},
        {1000, "Extra Temperature 8", ValueKind::Temperature, MinusTemperatures},
        {1001, "Extra Humidity 8", ValueKind::Humidity, MinusHumidities},
        {43, "Soil Moisture 4", ValueKind::SoilMoisture, MinusNone},
        {49, "Soil Temperature 4", ValueKind::Temperature, MinusTemperatures},
        {57, "Low Battery on Station ID #8", ValueKind::Flag, MinusNone},
        {144, "Low Battery on Repeater C", ValueKind::Flag, MinusNone},
        {13, "Storm Total Rain", ValueKind::RainDaily, MinusRainAndEt},
        {131, "Wind Chill", ValueKind::WindChill, MinusTemperatures},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const AlarmParameter* row = AlarmParameters().ByCode(r.code);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->name, r.name);
        EXPECT_EQ(row->kind, r.kind);
        EXPECT_EQ(MinusGroupOf(r.code), r.group);
    }
}

TEST_F(ParameterTable, ExtraSensorsResolveByTransmitter)
{
    Transmitters({0, 0, 1, 2, 3, 0, 0, 0});
    EXPECT_EQ(ResolveParameterCode("Extra Temperature 3"), 24);
    EXPECT_EQ(ResolveParameterCode("Extra Temperature 5"), 25);
    EXPECT_EQ(ResolveParameterCode("Extra Temperature 1"), kMissingSensor);
    EXPECT_EQ(ResolveParameterCode("Extra Humidity 4"), 31);
    EXPECT_EQ(ResolveParameterCode("Extra Humidity 5"), 32);
    EXPECT_EQ(ResolveParameterCode("Extra Humidity 3"), kMissingSensor);
    EXPECT_EQ(ResolveParameterCode("Outside Temperature"), 17);
    EXPECT_EQ(ResolveParameterCode(""), kNoParameter);
    EXPECT_EQ(ResolveParameterCode("Extra Temperature 9"), kNoParameter);
}

TEST_F(ParameterTable, BeforeAnyTransmitterListEveryExtraSensorIsMissing)
{
    for (int id = 1; id <= 8; ++id) {
        EXPECT_EQ(ResolveParameterCode("Extra Temperature " + std::to_string(id)), kMissingSensor);
        EXPECT_EQ(ResolveParameterCode("Extra Humidity " + std::to_string(id)), kMissingSensor);
    }
}

TEST_F(ParameterTable, ModuleHasRoomForSevenSensorsOfEachKind)
{
    Transmitters({3, 3, 3, 3, 3, 3, 3, 3});
    EXPECT_EQ(ResolveParameterCode("Extra Temperature 7"), 30);
    EXPECT_EQ(ResolveParameterCode("Extra Humidity 7"), 37);
    EXPECT_EQ(ResolveParameterCode("Extra Temperature 8"), kMissingSensor);
    EXPECT_EQ(ResolveParameterCode("Extra Humidity 8"), kMissingSensor);
}

TEST_F(ParameterTable, ModuleCodeSelectsName)
{
    Station("0$26$28$24$");
    Transmitters({0, 0, 1, 0, 1, 0, 0, 0});
    VectorChoiceList list;
    FillParameterList(list);
    const int at = SelectParameterByCode(list, 25);
    ASSERT_GE(at, 0);
    EXPECT_EQ(list.Text(at), "Extra Temperature 5");
    EXPECT_EQ(list.Text(SelectParameterByCode(list, 24)), "Extra Temperature 3");
    EXPECT_EQ(list.Text(SelectParameterByCode(list, 129)), "Outside Dewpoint");
    EXPECT_EQ(SelectParameterByCode(list, 26), -1);  // no third sensor
    EXPECT_EQ(SelectParameterByCode(list, 23), -1);  // "UV Radiation" not offered
    EXPECT_EQ(SelectParameterByCode(list, 999), -1);
}

TEST_F(ParameterTable, EighthSensorCodesNeverSelectAName)
{
    Station("0$1000$1001$");
    Transmitters({3, 3, 3, 3, 3, 3, 3, 3});
    VectorChoiceList list;
    FillParameterList(list);
    ASSERT_NE(FindExact(list, "Extra Temperature 8"), -1);
    EXPECT_EQ(SelectParameterByCode(list, 1000), -1);
    EXPECT_EQ(SelectParameterByCode(list, 1001), -1);
}

TEST_F(ParameterTable, EveryStationOffersTheCommonParameters)
{
    Station("");
    const Names names = Filled();
    ASSERT_EQ(names.size(), 42u);
    EXPECT_EQ(names.front(), "Outside Temperature");
    EXPECT_EQ(names[8], "Current Barometer");
    EXPECT_EQ(names.back(), "Time");
    EXPECT_EQ(std::count(names.begin(), names.end(), "Solar Radiation"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Daily ET"), 0);
}

TEST_F(ParameterTable, SolarRadiationBringsTheEtTotals)
{
    const std::set<int> common = OfferedTableCodes("");
    std::set<int> expected = common;
    expected.insert({22, 14, 15, 16});
    EXPECT_EQ(OfferedTableCodes("1$22$"), expected);
    // The model field is never a parameter, and fields that are no code are skipped.
    EXPECT_EQ(OfferedTableCodes("22$"), common);
    EXPECT_EQ(OfferedTableCodes("0$abc$$999$-3$"), common);
    std::set<int> uv = common;
    uv.insert(23);
    EXPECT_EQ(OfferedTableCodes("0$23"), uv);
}

TEST_F(ParameterTable, SecondOperandListHoldsOfferedGroupMembersInGroupOrder)
{
    Station("0$44$24$46$");
    VectorChoiceList list;
    FillParameterList(list, MinusTemperatures);
    EXPECT_EQ(list.Items(),
              (Names{"Outside Temperature", "Outside Dewpoint", "Wind Chill", "Outside Heat Index",
                     "Inside Temperature", "Inside Dewpoint", "Inside Heat Index",
                     "Extra Temperature 1", "Soil Temperature 1", "Leaf Temperature 1"}));
    FillParameterList(list, MinusRainAndEt);
    EXPECT_EQ(list.Items(), (Names{"Daily Rain", "Storm Total Rain", "Monthly Rain", "Yearly Rain"}));
    FillParameterList(list, MinusNone);
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(ParameterTable, CheckTypeSets)
{
    const Names numeric = {"Greater Than or =", "Less Than or =", "Between", "Not Between",
                           "Trending", "=", "Minus", "Missing"};
    EXPECT_EQ(CheckTypesFor(17), numeric);
    EXPECT_EQ(CheckTypesFor(kMissingSensor), numeric);
    EXPECT_EQ(CheckTypesFor(128), (Names{"Between", "Not Between", "="}));
    EXPECT_EQ(CheckTypesFor(140), (Names{"Greater Than or =", "Less Than or =", "Between",
                                         "Not Between", "True", "=", "Missing"}));
    EXPECT_EQ(CheckTypesFor(1), (Names{"Greater Than or =", "Less Than or =", "Between",
                                       "Not Between", "=", "Missing"}));
    EXPECT_EQ(CheckTypesFor(22), (Names{"Greater Than or =", "Less Than or =", "Between",
                                        "Not Between", "Trending", "=", "Missing"}));
    EXPECT_EQ(CheckTypesFor(4), (Names{"True", "Missing"}));
    EXPECT_EQ(CheckTypesFor(50), (Names{"True"}));
    EXPECT_EQ(CheckTypesFor(149), (Names{"True"}));
}

TEST_F(ParameterTable, CheckTypeSelectionKeptWhileStillOffered)
{
    VectorChoiceList list;
    FillCheckTypeList(list, 17);
    list.Select(FindExact(list, "Between"));
    FillCheckTypeList(list, 128);
    EXPECT_EQ(list.SelectedText(), "Between");
    FillCheckTypeList(list, 50);
    EXPECT_EQ(list.Selected(), -1);
}

TEST_F(ParameterTable, UnitLabels)
{
    Transmitters({1, 0, 0, 0, 0, 0, 0, 0});
    const AomUnitSettings metric{UnitCelsius, UnitHectopascal, UnitMetresPerSecond, UnitMillimetre};
    const AomUnitSettings imperial{UnitFahrenheit, UnitInch, UnitKnots, UnitInch};
    const struct {
        const char* name;
        const char* metric;
        const char* imperial;
    } cases[] = {
        {"Outside Temperature", "\u00b0C", "\u00b0F"},
        {"Wind Chill", "\u00b0C", "\u00b0F"},
        {"Extra Temperature 1", "\u00b0C", "\u00b0F"},
        {"Extra Temperature 2", "", ""},  // no such sensor on transmitter 2
        {"Outside Humidity", "%", "%"},
        {"ISS Reception", "%", "%"},
        {"Current Barometer", "hPa", "in"},
        {"Monthly ET", "mm", "in"},
        {"Rain Rate", "mm/hr", "in/hr"},
        {"10 min Avg Wind Speed", "m/s", "knots"},
        {"Wind Direction", "\u00b0", "\u00b0"},
        {"Solar Radiation", "W/m2", "W/m2"},
        {"UV Radiation", "index", "index"},
        {"Soil Moisture 2", "cb", "cb"},
        {"Leaf Wetness 1", "", ""},
        {"Time", "(hh:mm)", "(hh:mm)"},
        {"Console Batteries", "V", "V"},
        {"Bar Trend Steady", "", ""},
        {"Nonsense", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(UnitLabelFor(c.name, metric), c.metric);
        EXPECT_EQ(UnitLabelFor(c.name, imperial), c.imperial);
    }
    EXPECT_EQ(UnitLabelForKind(ValueKind::Barometer, {UnitCelsius, UnitMph, UnitMph, UnitInch}), "");
}

TEST_F(ParameterTable, MinusMembership)
{
    EXPECT_TRUE(IsMinusCapable(17));
    EXPECT_TRUE(IsMinusCapable(30));
    EXPECT_TRUE(IsMinusCapable(16));
    EXPECT_FALSE(IsMinusCapable(21));
    EXPECT_FALSE(IsMinusCapable(kMissingSensor));
    EXPECT_FALSE(IsMinusCapable(kNoParameter));
    EXPECT_EQ(MinusGroupOf(1000), MinusTemperatures);
    EXPECT_EQ(MinusGroupOf(1001), MinusHumidities);
    EXPECT_EQ(MinusGroupOf(20), MinusWindSpeeds);
    EXPECT_EQ(MinusGroupOf(14), MinusRainAndEt);
    EXPECT_EQ(MinusGroupOf(9), MinusNone);
}

}  // namespace
