// The simulated console driven byte by byte with made-up times, so sleeping
// and waking are tested without waiting. Its VER and EEPROM replies and faults
// are asserted by the link tests that run against it, and every fault
// can be chosen from its command line.

#include "SimCommandLine.h"
#include "SimDevice.h"
#include "SimLogger.h"

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

TEST(SimConsole, ALineFeedWakesItAfterTheDelayAndIdleTimePutsItBackToSleep)
{
    // The usual console: an alarm output module behind it, firmware of Sep 29 2009.
    SimDevice d({.wakeDelayMs = 300}, SimState::Defaults(SimKind::Aom));
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

// The simulated logger's answers to module lines, kind by kind. What it
// makes of conditions, relays, options and the alarm log is asserted by the
// alarm output module's tests against it.
struct Exchange {
    SimKind kind;
    const char* line;  // without its line feed
    const char* reply = "ERR";
    int param = 0;  // the parameter a set changes; 0: nothing may change
    const char* stored = "";
};

constexpr SimKind A = SimKind::Aloha, P = SimKind::Aprs, I = SimKind::Irr, M = SimKind::Aom;

TEST(SimLogger, EachKindAnswersItsParametersHoldsWhatFitsAndRefusesTheRest)
{
    // A sample of each kind's table: the reads, both ends of a range and
    // one step beyond, and the line layouts the module refuses.
    const Exchange exchanges[] = {
        {A, "MOD00", "ALOHA   100"}, {A, "MOD12 |"}, {A, "MOD01 4"},
        // Read as atoi reads them: the program sends fields as typed.
        {A, "MOD01 45-", "OK", 1, "45"}, {A, "MOD01  \t45", "OK", 1, "45"}, {A, "MOD02 -", "OK", 2, "0"},
        {A, "MOD02 abc", "OK", 2, "0"}, {A, "MOD01 -"}, {P, "MOD12 4294968496"},
        {P, "MOD12 9601"}, {P, "MOD13 4960.00N/07201.75W_"}, {P, "MOD13 invalid string/invalid string_"},
        // Irrigation: 9 is read only; 11 sets a circuit "c s" and queries "c |".
        {I, "MOD09 5"}, {I, "MOD10 100"}, {I, "MOD10 255", "OK", 10, "255"}, {I, "MOD11 4 1"},
        {M, "MOD22 6"}, {M, "MOD16 4 |"}, {M, "MOD19 0 1000 0"}, {M, "MOD20 0 0 2"},
        // Conditions the module cannot hold: values without a head, a check
        // the parameter does not offer, Trending without its minutes.
        {M, "MOD17 0 17 850"}, {M, "MOD16 0 4 0"}, {M, "MOD16 0 17 4"}, {M, "MOD16 0 17 4 256"},
        // Only 0, 21 and 22 go without " |", only 23 is a bare command.
        {M, "MOD00 |"}, {M, "MOD23 |"}, {M, "MOD01"}, {M, "MOD1 |"}, {M, "mod01 |"}, {M, "MOD01 |\r"},
    };
    for (const Exchange& e : exchanges) {
        SimState state = SimState::Defaults(e.kind);
        SimState expected = state;
        if (e.param) expected.params[e.param] = e.stored;
        EXPECT_EQ(SimLogger(e.kind, SimDefaultFirmware(e.kind)).Handle(e.line, state).text, e.reply)
            << SimKindName(e.kind) << " \"" << e.line << '"';
        EXPECT_EQ(state, expected) << SimKindName(e.kind) << " \"" << e.line << '"';
    }
}

}  // namespace
