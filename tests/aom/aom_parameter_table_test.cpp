// The alarm parameter table: display order, extra sensor codes, offered
// parameters, check-type lists and unit labels.
#include "AlarmParameterTable.h"
#include "SettingsKeys.h"
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
        int i = 0;
        for (int kind : kinds) block[2 * i++] = static_cast<std::uint8_t>(kind);
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

    Station("0$26$28$24$1000$1001$");
    FillParameterList(list);
    EXPECT_EQ(list.Text(SelectParameterByCode(list, 25)), "Extra Temperature 5");
    EXPECT_EQ(list.Text(SelectParameterByCode(list, 24)), "Extra Temperature 3");
    EXPECT_EQ(list.Text(SelectParameterByCode(list, 129)), "Outside Dewpoint");
    ASSERT_NE(FindExact(list, "Extra Temperature 8"), -1);
    for (int code : {26, 23, 999, 1000, 1001}) EXPECT_EQ(SelectParameterByCode(list, code), -1);

    const AomUnitSettings metric{UnitCelsius, UnitHectopascal, UnitMetresPerSecond, UnitMillimetre};
    const AomUnitSettings imperial{UnitFahrenheit, UnitInch, UnitKnots, UnitInch};
    const char* const labels[][3] = {
        {"Extra Temperature 3", "\u00b0C", "\u00b0F"}, {"Extra Temperature 1", "", ""},
        {"Rain Rate", "mm/hr", "in/hr"}};
    for (const auto& c : labels) {
        EXPECT_EQ(UnitLabelFor(c[0], metric), c[1]) << c[0];
        EXPECT_EQ(UnitLabelFor(c[0], imperial), c[2]) << c[0];
    }

    // The module has room for seven sensors of each kind.
    Transmitters({3, 3, 3, 3, 3, 3, 3, 3});
    EXPECT_EQ(ResolveParameterCode("Extra Temperature 7"), 30);
    EXPECT_EQ(ResolveParameterCode("Extra Humidity 8"), kMissingSensor);
}

TEST_F(ParameterTable, OfferedSetsInDisplayOrder)
{
    Station("");
    FillParameterList(list);
    ASSERT_EQ(list.Count(), 42);
    EXPECT_EQ(list.Text(41), "Time");
    const std::set<int> common = OfferedTableCodes("");
    std::set<int> expected = common;
    expected.insert({22, 14, 15, 16});
    EXPECT_EQ(OfferedTableCodes("1$22$"), expected);
    // The model field is never a parameter, and fields that are no code are skipped.
    EXPECT_EQ(OfferedTableCodes("22$"), common);
    EXPECT_EQ(OfferedTableCodes("0$abc$$999$-3$"), common);

    Station("0$44$24$46$");
    FillParameterList(list, MinusTemperatures);
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
    list.Select(FindExact(list, "Minus"));
    FillCheckTypeList(list, kMissingSensor);
    EXPECT_EQ(list.SelectedText(), "Minus");
    list.Select(FindExact(list, "Between"));
    FillCheckTypeList(list, 128);
    EXPECT_EQ(list.SelectedText(), "Between");
    FillCheckTypeList(list, 50);
    EXPECT_EQ(list.Selected(), -1);
}

}  // namespace
