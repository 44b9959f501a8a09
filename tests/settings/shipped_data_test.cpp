// The data shipped beside the program: config.txt loads cleanly with every
// key the program reads, and every help file is there.

#include "DBConfigParser.h"
#include "SettingsKeys.h"
#include "TestSupport.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace {

TEST(ShippedData, ConfigHoldsEveryKey)
{
    RecordingMessages messages;
    TempWorkDir dir;
    dir.WriteFile("config.txt", dir.ReadFile(CORVANE_DATA_DIR "/config.txt"));
    dir.Restart();
    auto& s = dir.Settings();
    ASSERT_TRUE(s.IsLoaded());
    for (const char* k :
         {key::SerialPort, key::BaudRate, key::IrrigationResidential, key::IrrigationCycle,
          key::IrrigationAmount, key::IrrigationMaxRain, key::IrrigationRainRate,
          key::IrrigationRainTotal, key::IrrigationTimeout, key::IrrigationRainUnit,
          key::IrrigationAlarmDuration, key::IrrigationAlarmDelay, key::IrrigationPulseWidth,
          key::IrrigationContinuousPulse, key::IrrigationOpenCircuit, key::AomAlarmDuration,
          key::AomAlarmDelay, key::AomAlarmPulseWidth, key::AomContinuousPulse,
          key::AomOpenCircuit, key::AomTempUnit, key::AomBarUnit, key::AomWindUnit,
          key::AomRainUnit, key::AomStationConfig, key::AomFirstUse, key::WorkingDirectory,
          key::LinkTimeoutMs})
        EXPECT_FALSE(s.GetValue(k).empty()) << k;
    for (int n = 1; n <= 8; ++n) {
        char k[32];
        std::snprintf(k, sizeof k, key::ComDeviceFormat, n);
        EXPECT_EQ(s.GetValue(k).rfind("/dev/", 0), 0u) << k;
    }
    EXPECT_EQ(s.GetValue(key::SerialPort), "1");
    EXPECT_EQ(s.GetValue(key::BaudRate), "19200");
    EXPECT_EQ(s.GetValue(key::AomFirstUse), "0");
    EXPECT_EQ(dir.Log().Path(), dir.Path() / "." / "eventLog.txt");
}

TEST(ShippedData, EveryHelpFileIsThere)
{
    TempWorkDir dir;  // reads the installed files by their full paths
    for (const char* name :
         {"ALOHAHelp.txt", "APRSHelp.txt", "IrrigationHelp.txt", "IrrigationAdvancedHelp.txt",
          "IrrigationCircuitTestHelp.txt", "AlarmOutputModuleHelp.txt",
          "AOMStationConfigHelp.txt", "AOMSelectUnitsHelp.txt", "AOMAdvancedOptionsHelp.txt"})
        EXPECT_GT(dir.ReadFile(CORVANE_DATA_DIR + std::string("/") + name).size(), 500u) << name;
}

}  // namespace
