// The real termios link and its console and module operations against the
// simulated console and logger on a pty: a round trip, a sleeping console,
// then one test per device fault. Every operation runs under a watchdog, so
// a hang fails the test instead of stalling the suite; no test asserts how
// long anything took.

#include "link/ConsoleLink.h"
#include "link/ModuleCommands.h"
#include "link/SerialLink.h"
#include "SimOnPortTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <future>

using namespace std::chrono_literals;

namespace {

// The link's read time-out in these tests: short, yet far above the time the
// simulator takes to answer, even on a loaded machine under sanitizers.
constexpr int kTimeoutMs = 250;

// Runs f and returns its result; a call still blocked after the bound (many
// time-outs of every retry) ends the test run as failed.
template <class F>
auto Bounded(F f) -> decltype(f())
{
    auto result = std::async(std::launch::async, f);
    if (result.wait_for(60s) != std::future_status::ready) {
        std::fprintf(stderr, "link operation still blocked after 60 s\n");
        std::_Exit(1);
    }
    return result.get();
}

// A query and its reply; with an argument when one is given.
std::string Query(int parameter, const std::string& argument = "")
{
    return Bounded([&] {
        const int sent = argument.empty() ? ModuleQuery(parameter) : ModuleQueryArg(parameter, argument);
        return sent == 0 ? ModuleReadLine() : std::string("<send failed>");
    });
}

int Set(int parameter, const std::string& argument) { return Bounded([&] { return ModuleSet(parameter, argument); }); }

class LinkOnSim : public SimOnPortTest {
protected:
    LinkOnSim() : SimOnPortTest(SimKind::Aom, "", kTimeoutMs) { LinkFlush(); }
};

TEST_F(LinkOnSim, ConsoleAndModuleOperationsRoundTrip)
{
    EXPECT_TRUE(Bounded([] { return WakeConsole(); }));
    FirmwareDate date;
    EXPECT_TRUE(Bounded([&] { return ReadFirmwareDate(date); }));
    EXPECT_EQ((std::vector<int>{date.month, date.day, date.year}), (std::vector<int>{9, 29, 2009}));
    EXPECT_EQ(Query(0), "AOM     100");
    EXPECT_EQ(Set(1, "120"), 0);
    EXPECT_EQ(Query(1), "120");
    EXPECT_EQ(Query(16, "0"), "17 0 850;2 1 600");
    EXPECT_EQ(Bounded([] { return ModuleQueryInt(22, 0) == 0 ? ModuleReadLine() : ""; }), "4146 2305 60");
    EXPECT_EQ(Bounded([] { return ModuleCommand(23); }), 0);
    EXPECT_EQ(Query(21), "0");
    EXPECT_EQ(Set(1, "1000"), -1);  // beyond the range: the module answers ERR

    EXPECT_EQ(device.Lines(), (Lines{"\n", "\n", "VER\n", "MOD00\n", "MOD01 120\n", "MOD01 |\n", "MOD16 0 |\n",
                                  "MOD22 0\n", "MOD23\n", "MOD21\n", "MOD01 1000\n"}));
    // Each query waited its 250 ms; sets and commands did not.
    EXPECT_EQ(pauses.Durations(), (std::vector<int>(5, 250)));
}

// Every fault meets the same exchange: wake-up, transmitter block, query of
// parameter 1 ("60"), set of parameter 24 (held "1"); then, the fault
// cleared and the port reopened, the device must answer again. woken:
// WakeConsole's result; lineFeeds: wake-up line feeds sent; fresh: the
// transmitter block came with a good CRC; reply: to the query; set:
// ModuleSet's result; held: parameter 24 afterwards.
struct FaultCase { const char* name; SimFault fault; int argument; bool woken; int lineFeeds; bool fresh;
                   std::string reply; int set; const char* held; };

class LinkOnSimFault : public LinkOnSim, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(LinkOnSimFault, GivesTheFaultsResultWithoutHangingAndRecoversWhenCleared)
{
    const FaultCase& c = GetParam();
    device.SetFault(c.fault, c.argument);
    EXPECT_EQ(Bounded([] { return WakeConsole(); }), c.woken);
    const Lines lines = device.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "\n"), c.lineFeeds);
    bool fresh = !c.fresh;
    const std::uint8_t* bytes = Bounded([&] { return ReadTransmitterEeprom(&fresh); });
    EXPECT_EQ(fresh, c.fresh);
    const auto transmitters = device->State().transmitters;
    EXPECT_TRUE(!fresh || std::equal(transmitters.begin(), transmitters.end(), bytes));
    EXPECT_EQ(Query(1), c.reply);
    EXPECT_EQ(Set(24, "0"), c.set);
    ASSERT_TRUE(c.fault == SimFault::Hangup || device.WaitForLine("MOD24 0\n"));
    // A lost or spoilt confirmation does not mean the module refused the value.
    EXPECT_EQ(device.Param(24), c.held);
    EXPECT_EQ(device->Hangups(), c.fault == SimFault::Hangup ? 1 : 0);

    // Late replies and babble end, and the reopened port reaches the device
    // that replaced a hung-up one.
    device.ClearFaults();
    ASSERT_TRUE(device->WaitForQuiet(10s));
    LinkClose();
    ASSERT_EQ(LinkOpen(1, 19200), 0);
    LinkFlush();
    Bounded([] { return WakeConsoleQuick(), 0; });
    EXPECT_EQ(Query(1), "60");
}

std::string Babble()
{
    std::string text;
    while (text.size() < kMaxModuleReply) text += "BABBLE. ";
    return text;
}

// Hang-up after 16 bytes: the LF, "EEBRD 19 10\n", then "MOD" of the query,
// so the query's reply reads as a time-out and the set cannot be sent.
INSTANTIATE_TEST_SUITE_P(Faults, LinkOnSimFault, ::testing::Values(
    FaultCase{"SilentConsole", SimFault::SilentConsole, 0, false, 5, false, "", -1, "1"},
    FaultCase{"NoLogger", SimFault::NoLogger, 0, true, 1, true, "", -1, "1"},
    FaultCase{"DropEverySecondReply", SimFault::DropReplies, 2, true, 1, true, "60", -1, "0"},
    FaultCase{"FfInReply", SimFault::FfInReply, 0, true, 1, true, "6", -1, "0"},
    FaultCase{"LfWithoutCr", SimFault::LfWithoutCr, 0, true, 1, true, "60\n", 0, "0"},
    FaultCase{"Garble", SimFault::Garble, 0, true, 1, true, "\x16\x10", -1, "0"},  // "ok" is no confirmation
    FaultCase{"NakEebrd", SimFault::NakEebrd, 0, true, 1, false, "60", 0, "0"},
    FaultCase{"BadCrc", SimFault::BadCrc, 0, true, 1, false, "60", 0, "0"},
    FaultCase{"ErrorSets", SimFault::ErrorSets, 0, true, 1, true, "60", -1, "1"},
    FaultCase{"SlowReplies", SimFault::SlowReplies, 8 * kTimeoutMs, true, 1, true, "", -1, "0"},
    FaultCase{"Babble", SimFault::Babble, 0, true, 1, true, Babble(), -1, "0"},
    FaultCase{"HangupMidExchange", SimFault::Hangup, 16, true, 1, true, "", -1, "1"}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

}  // namespace
