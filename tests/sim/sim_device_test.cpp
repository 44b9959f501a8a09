// The simulated console driven byte by byte with made-up times, so sleeping
// and waking are tested without waiting. Its VER and EEPROM replies and faults
// are asserted by the link tests that run against it, and every fault
// can be chosen from its command line.

#include "SimCommandLine.h"
#include "SimDevice.h"

#include <gtest/gtest.h>

namespace {

using Outputs = std::vector<std::pair<std::string, int>>;

// What the device sends for bytes arriving at ms, each with its delay.
Outputs Send(SimDevice& device, const std::string& bytes, int ms = 10)
{
    const auto at = SimDevice::Clock::time_point{} + std::chrono::hours(1) + std::chrono::milliseconds(ms);
    Outputs out;
    for (const auto& o : device.Receive(bytes, at).outputs) out.emplace_back(o.bytes, o.delayMs);
    return out;
}

SimDevice Device(SimKind kind = SimKind::Aom, int wakeDelayMs = 0, const char* date = "Sep 29 2009")
{
    SimDeviceConfig c;
    c.kind = kind;
    c.wakeDelayMs = wakeDelayMs;
    c.firmwareDate = date;
    return SimDevice(c, SimState::Defaults(kind));
}

TEST(SimConsole, ALineFeedWakesItAfterTheDelayAndIdleTimePutsItBackToSleep)
{
    SimDevice d = Device(SimKind::Aom, 300);
    // Asleep, the line is lost; only its line feed wakes the console.
    EXPECT_EQ(Send(d, "MOD00\n", 0), (Outputs{{"\n\r", 300}}));
    // A line feed while it wakes is lost too.
    EXPECT_EQ(Send(d, "\n", 100), Outputs{});
    EXPECT_EQ(Send(d, "\n", 400), (Outputs{{"\n\r", 0}}));
    EXPECT_EQ(Send(d, "MOD00\n", 500), (Outputs{{"AOM     100\n\r", 0}}));
    EXPECT_EQ(Send(d, "VER\n", 2499), (Outputs{{"\n\rOK\n\rSep 29 2009\n\r", 0}}));
    EXPECT_EQ(Send(d, "VER\n", 4499), (Outputs{{"\n\r", 300}}));  // 2000 ms after the last byte
    // The wire record keeps every line, whatever the console made of it.
    EXPECT_EQ(d.Lines(), (std::vector<std::string>{"MOD00\n", "\n", "\n", "MOD00\n", "VER\n", "VER\n"}));
}

TEST(SimCommandLine, EveryFaultIsSelectedByNameAndDocumented)
{
    const std::string usage = SimUsage();
    for (const SimFaultInfo& f : SimFaultTable()) {
        SimCommandLine line;
        std::string error;
        const std::string fault = f.argument ? f.name + std::string("=7") : f.name;
        ASSERT_TRUE(ParseSimCommandLine({"--kind", "aom", "--link", "x", "--fault", fault}, line, error)) << error;
        EXPECT_EQ(line.options.faults, (std::vector<std::pair<SimFault, int>>{{f.fault, f.argument ? 7 : 0}}));
        EXPECT_NE(usage.find(std::string("\n    ") + f.name), std::string::npos) << f.name;
    }
}

}  // namespace
