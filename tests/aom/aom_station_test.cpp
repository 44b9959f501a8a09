// Unit settings, the station configuration value and the console's
// transmitter list, read over a scripted port.
#include "AlarmParameterTable.h"
#include "AomStation.h"
#include "AomUnits.h"
#include "Crc16.h"
#include "FakeLink.h"
#include "SettingsKeys.h"
#include "TestSupport.h"
#include "WaitCursor.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

TEST(AomUnits, StoredValuesOutsideTheListsTakeTheFallbacks)
{
    const struct {
        const char *temp, *bar, *wind, *rain;
        AomUnitSettings expected;
    } cases[] = {
        {"", "", "", "", {UnitCelsius, UnitInch, UnitMph, UnitMillimetre}},
        {"3", "2", "8", "1", {UnitFahrenheit, UnitMillimetre, UnitKnots, UnitInch}},
        {"4", "5", "9", "2", {UnitCelsius, UnitMillibar, UnitKph, UnitMillimetre}},
        {"3", "6", "10", "1", {UnitFahrenheit, UnitHectopascal, UnitMetresPerSecond, UnitInch}},
        {"1", "3", "11", "0", {UnitCelsius, UnitInch, UnitMph, UnitMillimetre}},
        {"x", "7", "6", "3", {UnitCelsius, UnitInch, UnitMph, UnitMillimetre}},
    };
    TempWorkDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.temp) + "/" + c.bar + "/" + c.wind + "/" + c.rain);
        dir.Settings().SetValue(key::AomTempUnit, c.temp);
        dir.Settings().SetValue(key::AomBarUnit, c.bar);
        dir.Settings().SetValue(key::AomWindUnit, c.wind);
        dir.Settings().SetValue(key::AomRainUnit, c.rain);
        LoadAomUnitSettings();
        EXPECT_EQ(AomUnits().temperature, c.expected.temperature);
        EXPECT_EQ(AomUnits().barometer, c.expected.barometer);
        EXPECT_EQ(AomUnits().wind, c.expected.wind);
        EXPECT_EQ(AomUnits().rain, c.expected.rain);
    }
    SetAomUnits({});
}

TEST(StationConfig, ParseAndFormat)
{
    StationConfig config = ParseStationConfig("0$22$23$");
    EXPECT_EQ(config.model, 0);
    EXPECT_EQ(config.codes, (std::vector<int>{22, 23}));
    config = ParseStationConfig("");
    EXPECT_EQ(config.model, 0);
    EXPECT_TRUE(config.codes.empty());
    config = ParseStationConfig("7$x$$1000");
    EXPECT_EQ(config.model, 7);
    EXPECT_EQ(config.codes, (std::vector<int>{0, 0, 1000}));
    EXPECT_EQ(FormatStationConfig(1, {23, 24, 22}), "1$23$24$22$");
    EXPECT_EQ(FormatStationConfig(-1, {}), "-1$");
}

std::string TransmitterBlock(std::initializer_list<int> kinds)
{
    std::string block(kTransmitterBlockSize, '\0');
    int i = 0;
    for (int kind : kinds) {
        block[2 * i] = static_cast<char>(kind);
        block[2 * i + 1] = static_cast<char>(0x5A);  // unused by the list
        ++i;
    }
    return block;
}

TEST(TransmitterList, KindIsTheLowFourBitsOfTheFirstByte)
{
    const std::string block = TransmitterBlock({0xF3, 0, 0x21, 2, 4, 0x0F, 0, 3});
    ConsoleTransmitterList list;
    list.Decode(reinterpret_cast<const std::uint8_t*>(block.data()));
    const bool temperature[] = {true, false, true, false, false, false, false, true};
    const bool humidity[] = {true, false, false, true, false, false, false, true};
    for (int id = 1; id <= 8; ++id) {
        SCOPED_TRACE(id);
        EXPECT_EQ(list.At(id).hasTemperature, temperature[id - 1]);
        EXPECT_EQ(list.At(id).hasHumidity, humidity[id - 1]);
    }
    EXPECT_FALSE(list.At(0).hasTemperature);
    EXPECT_FALSE(list.At(9).hasHumidity);
}

class CursorLog : public CursorSink {
public:
    CursorLog() : previous_(SetCursorSink(this)) {}
    ~CursorLog() override { SetCursorSink(previous_); }
    void SetWaitCursor(bool wait) override { changes.push_back(wait); }
    std::vector<bool> changes;

private:
    CursorSink* previous_;
};

class ReadTransmitters : public ::testing::Test {
protected:
    ReadTransmitters()
    {
        ConsoleTransmitters().Clear();
        link.Respond("\n", "\n\r");
    }
    ~ReadTransmitters() override { ConsoleTransmitters().Clear(); }

    static std::string Reply(const std::string& data, bool goodCrc = true)
    {
        auto crc = Crc16Xmodem(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
        if (!goodCrc) crc ^= 0x0101;
        return "\x06" + data + static_cast<char>(crc >> 8) + static_cast<char>(crc & 0xFF);
    }

    // The module lines only, without the wake-up line feeds.
    Lines ModuleLines() const
    {
        Lines lines;
        for (const auto& line : link.Lines())
            if (line != "\n") lines.push_back(line);
        return lines;
    }

    void ModuleAnswers()
    {
        link.Respond("MOD01 |\n", "60\n\r");
        link.Respond("MOD01 1\n", "OK\n\r");
        link.Respond("MOD01 60\n", "OK\n\r");
    }

    TempWorkDir dir;
    InstantPauses pauses;
    CursorLog cursor;
    FakeLink link;
};

TEST_F(ReadTransmitters, LowersTimeoutReadsBlockAndRestores)
{
    ModuleAnswers();
    link.Respond("EEBRD 19 10\n", Reply(TransmitterBlock({3, 0, 1})));
    ReadTransmitterList();

    EXPECT_EQ(link.Lines(), (Lines{"\n", "MOD01 |\n", "MOD01 1\n", "\n", "EEBRD 19 10\n", "\n",
                                   "MOD01 60\n"}));
    EXPECT_EQ(pauses.Durations(), (std::vector<int>{250, 1000}));
    EXPECT_EQ(cursor.changes, (std::vector<bool>{true, false}));
    EXPECT_TRUE(ConsoleTransmitters().At(1).hasTemperature);
    EXPECT_TRUE(ConsoleTransmitters().At(1).hasHumidity);
    EXPECT_TRUE(ConsoleTransmitters().At(3).hasTemperature);
    EXPECT_FALSE(ConsoleTransmitters().At(3).hasHumidity);
    EXPECT_FALSE(ConsoleTransmitters().At(2).hasTemperature);

    RebuildExtraSensorCodes();
    EXPECT_EQ(ResolveParameterCode("Extra Temperature 3"), 25);
    EXPECT_EQ(ResolveParameterCode("Extra Humidity 1"), 31);
    ExtraSensors().Clear();
}

TEST_F(ReadTransmitters, FailedOrCorruptReadKeepsTheEarlierList)
{
    ModuleAnswers();
    link.Respond("EEBRD 19 10\n", Reply(TransmitterBlock({1, 1})), 1);
    link.Respond("EEBRD 19 10\n", "\x15", 1);  // NAK
    link.Respond("EEBRD 19 10\n", Reply(TransmitterBlock({2, 2, 2}), false), 1);
    ReadTransmitterList();
    ASSERT_TRUE(ConsoleTransmitters().At(2).hasTemperature);

    for (int read = 0; read < 2; ++read) {
        SCOPED_TRACE(read);
        link.ClearRecord();
        pauses.Clear();
        ReadTransmitterList();
        EXPECT_TRUE(ConsoleTransmitters().At(1).hasTemperature);
        EXPECT_TRUE(ConsoleTransmitters().At(2).hasTemperature);
        EXPECT_FALSE(ConsoleTransmitters().At(3).hasHumidity);
        // The time-out goes back whatever the read gave.
        EXPECT_EQ(ModuleLines().back(), "MOD01 60\n");
        EXPECT_EQ(pauses.Durations().back(), 1000);
    }
}

TEST_F(ReadTransmitters, SilentModuleGetsFiveAttemptsAndListStays)
{
    const std::string block = TransmitterBlock({1});
    ConsoleTransmitters().Decode(reinterpret_cast<const std::uint8_t*>(block.data()));
    ReadTransmitterList();
    EXPECT_EQ(ModuleLines(), Lines(5, "MOD01 |\n"));
    EXPECT_TRUE(ConsoleTransmitters().At(1).hasTemperature);
    EXPECT_EQ(cursor.changes, (std::vector<bool>{true, false}));
}

TEST_F(ReadTransmitters, RefusedLoweringIsRetriedAndRefusedRestoreGivesUpAfterFive)
{
    link.Respond("MOD01 |\n", "60\n\r");
    link.Respond("MOD01 1\n", "ERR\n\r", 2);
    link.Respond("MOD01 1\n", "OK\n\r");
    link.Respond("MOD01 60\n", "ERR\n\r");
    link.Respond("EEBRD 19 10\n", Reply(TransmitterBlock({3})));
    ReadTransmitterList();
    Lines expected;
    for (int i = 0; i < 3; ++i) expected.insert(expected.end(), {"MOD01 |\n", "MOD01 1\n"});
    expected.push_back("EEBRD 19 10\n");
    expected.insert(expected.end(), 5, "MOD01 60\n");
    EXPECT_EQ(ModuleLines(), expected);
    EXPECT_TRUE(ConsoleTransmitters().At(1).hasHumidity);
}

}  // namespace
