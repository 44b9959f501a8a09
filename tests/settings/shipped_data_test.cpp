// The data shipped beside the program: config.txt loads cleanly with every
// key the program reads, every help file is there, and a help file is
// handed to the desktop.

#include "settings/DBConfigParser.h"
#include "base/DesktopOpen.h"
#include "settings/SettingsKeys.h"
#include "settings/ShowTextFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

TEST(ShippedData, ConfigHoldsEveryKey)
{
    RecordingMessages messages;
    TempWorkDir dir;
    dir.WriteFile("config.txt", dir.ReadFile(CORVANE_DATA_DIR "/config.txt"));
    dir.Restart();
    auto& s = dir.Settings();
    ASSERT_TRUE(s.IsLoaded());
    using namespace key;
    for (const char* k :
         {SerialPort, BaudRate, IrrigationResidential, IrrigationCycle, IrrigationAmount, IrrigationMaxRain,
          IrrigationRainRate, IrrigationRainTotal, IrrigationTimeout, IrrigationRainUnit, IrrigationAlarmDuration,
          IrrigationAlarmDelay, IrrigationPulseWidth, IrrigationContinuousPulse, IrrigationOpenCircuit,
          AomAlarmDuration, AomAlarmDelay, AomAlarmPulseWidth, AomContinuousPulse, AomOpenCircuit, AomTempUnit,
          AomBarUnit, AomWindUnit, AomRainUnit, AomStationConfig, AomFirstUse, WorkingDirectory, LinkTimeoutMs})
        EXPECT_FALSE(s.GetValue(k).empty()) << k;
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(s.GetValue("COM" + std::to_string(n) + "_DEVICE").rfind("/dev/", 0), 0u) << n;
    EXPECT_EQ(s.GetValue(SerialPort) + " " + s.GetValue(BaudRate) + " " + s.GetValue(AomFirstUse), "1 19200 0");
    EXPECT_EQ(dir.Log().Path(), dir.Path() / "." / "eventLog.txt");
}

TEST(ShippedData, EveryHelpFileIsThere)
{
    TempWorkDir dir;  // reads the installed files by their full paths
    for (const char* name : {"ALOHAHelp.txt", "APRSHelp.txt", "IrrigationHelp.txt", "IrrigationAdvancedHelp.txt",
                             "IrrigationCircuitTestHelp.txt", "AlarmOutputModuleHelp.txt", "AOMStationConfigHelp.txt",
                             "AOMSelectUnitsHelp.txt", "AOMAdvancedOptionsHelp.txt"})
        EXPECT_GT(dir.ReadFile(CORVANE_DATA_DIR + std::string("/") + name).size(), 500u) << name;
}

// A missing file shows nothing; a present one is handed to the desktop by
// its full path in the directory current at the call.
TEST(ShowTextFile, OpensFileOfDirectoryCurrentAtTheCallAndAMissingOneNot)
{
    RecordingMessages messages;
    TempWorkDir dir("SERIAL_PORT=1\n");
    const auto later = dir.Path() / "later dir";
    std::vector<std::pair<std::string, bool>> opened, expected{{(later / "ALOHAHelp.txt").string(), true}};
    SetDesktopOpener([&](const auto& t, bool isFile) { return opened.emplace_back(t, isFile), OpenResult{true, {}}; });
    std::filesystem::create_directory(later);
    dir.WriteFile("later dir/ALOHAHelp.txt", "help");
    std::filesystem::current_path(later);
    ShowTextFile("APRSHelp.txt");
    ShowTextFile("ALOHAHelp.txt");
    SetDesktopOpener({});
    EXPECT_EQ(opened, expected);
    EXPECT_TRUE(messages.Texts().empty());
}
