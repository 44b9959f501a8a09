// The real termios link and its console and module operations against the
// simulated console and logger on a pty: round trips, then one test per
// device fault. Every operation runs under a watchdog, so a hang fails the
// test instead of stalling the suite; no test asserts how long anything took.

#include "ConsoleLink.h"
#include "ModuleCommands.h"
#include "SerialLink.h"
#include "SimFixture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <future>

using namespace std::chrono_literals;

namespace {

using Lines = std::vector<std::string>;

// The link's read time-out in these tests: short, yet far above the time the
// simulator takes to answer, even on a loaded machine under sanitizers.
constexpr int kTimeoutMs = 250;

// Runs f and returns its result; a call that has not returned after the
// bound (many time-outs of every retry) ends the test run as failed.
template <class F>
auto Bounded(F f) -> decltype(f())
{
    auto result = std::async(std::launch::async, f);
    if (result.wait_for(60s) != std::future_status::ready) {
        std::fprintf(stderr, "link operation still blocked after 60 s\n");
        std::fflush(stderr);
        std::_Exit(1);
    }
    return result.get();
}

std::string Query(int parameter)
{
    return Bounded([parameter] {
        if (ModuleQuery(parameter) != 0) return std::string("<send failed>");
        return ModuleReadLine();
    });
}

std::string QueryArg(int parameter, const std::string& argument)
{
    return Bounded([&] {
        if (ModuleQueryArg(parameter, argument) != 0) return std::string("<send failed>");
        return ModuleReadLine();
    });
}

int Set(int parameter, const std::string& argument)
{
    return Bounded([&] { return ModuleSet(parameter, argument); });
}

void WakeQuick()
{
    Bounded([] {
        WakeConsoleQuick();
        return 0;
    });
}

int Count(const Lines& lines, const std::string& line)
{
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

class LinkOnSim : public ::testing::Test {
protected:
    explicit LinkOnSim(SimKind kind = SimKind::Aom) : sim(SimFixture::Options(kind)) {}
    ~LinkOnSim() override { LinkClose(); }

    void SetUp() override
    {
        sim.UseAsPort(dir, 1, 19200, kTimeoutMs);
        ASSERT_EQ(LinkOpen(1, 19200), 0);
        LinkFlush();
    }

    TempWorkDir dir;
    InstantPauses pauses;
    SimFixture sim;
};

TEST_F(LinkOnSim, ModuleQueriesSetsAndCommandsRoundTrip)
{
    WakeQuick();
    EXPECT_EQ(Query(0), "AOM     100");
    EXPECT_EQ(Query(1), "60");
    EXPECT_EQ(Set(1, "120"), 0);
    EXPECT_EQ(Query(1), "120");
    EXPECT_EQ(QueryArg(16, "0"), "17 0 850;2 1 600");
    EXPECT_EQ(Bounded([] {
                  ModuleQueryInt(22, 0);
                  return ModuleReadLine();
              }),
              "4146 2305 60");
    EXPECT_EQ(Query(21), "6");
    EXPECT_EQ(Bounded([] { return ModuleCommand(23); }), 0);
    EXPECT_EQ(Query(21), "0");
    EXPECT_EQ(Set(1, "1000"), -1);  // beyond the range: the module answers ERR

    EXPECT_EQ(sim.Lines(), (Lines{"\n", "MOD00\n", "MOD01 |\n", "MOD01 120\n", "MOD01 |\n",
                                  "MOD16 0 |\n", "MOD22 0\n", "MOD21\n", "MOD23\n", "MOD21\n",
                                  "MOD01 1000\n"}));
    EXPECT_EQ(sim.Param(1), "120");
    EXPECT_TRUE(sim.Alarms().empty());
    // Each query waited its 250 ms; sets and commands did not.
    EXPECT_EQ(pauses.Durations(), (std::vector<int>(7, 250)));
}

TEST_F(LinkOnSim, ConsoleCommandsRoundTrip)
{
    EXPECT_TRUE(Bounded([] { return WakeConsole(); }));
    FirmwareDate date;
    EXPECT_TRUE(Bounded([&] { return ReadFirmwareDate(date); }));
    EXPECT_EQ(date.month, 9);
    EXPECT_EQ(date.day, 29);
    EXPECT_EQ(date.year, 2009);

    bool fresh = false;
    const std::uint8_t* bytes = Bounded([&] { return ReadTransmitterEeprom(&fresh); });
    EXPECT_TRUE(fresh);
    const auto expected = sim.Sim().State().transmitters;
    EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + 16), std::vector<std::uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(Count(sim.Lines(), "EEBRD 19 10\n"), 1);
    EXPECT_EQ(Count(sim.Lines(), "VER\n"), 1);
}

TEST_F(LinkOnSim, ThePortOpensAndClosesAgainAndAgain)
{
    for (int i = 0; i < 10; ++i) {
        LinkClose();
        ASSERT_EQ(LinkOpen(1, 19200), 0) << i;
        LinkFlush();
        WakeQuick();
        ASSERT_EQ(Query(24), "1") << i;
    }
    EXPECT_EQ(Count(sim.ModuleLines(), "MOD24 |\n"), 10);
}

TEST_F(LinkOnSim, EverySpeedTalksToTheSimulator)
{
    for (int baud : {1200, 2400, 4800, 9600, 14400, 19200}) {
        LinkClose();
        ASSERT_EQ(LinkOpen(1, baud), 0) << baud;
        LinkFlush();
        WakeQuick();
        EXPECT_EQ(Query(0), "AOM     100") << baud;
    }
}

TEST_F(LinkOnSim, ASleepingConsoleThatWakesSlowlyFailsTheFirstAttempt)
{
    sim->SetWakeDelayMs(2 * kTimeoutMs);
    sim->PutConsoleToSleep();
    EXPECT_TRUE(Bounded([] { return WakeConsole(); }));
    // Its answer cannot come within the first attempt's time-out.
    EXPECT_GE(Count(sim.Lines(), "\n"), 2);
    EXPECT_LE(Count(sim.Lines(), "\n"), 5);
}

TEST_F(LinkOnSim, ModuleLinesToASleepingConsoleAreLost)
{
    sim->PutConsoleToSleep();
    // Without a wake-up the line only wakes the console: its LF CR is all
    // that comes back, which reads as an empty reply.
    EXPECT_EQ(Query(0), "");
    EXPECT_EQ(Query(0), "AOM     100");
}

// --- One test per fault ---

TEST_F(LinkOnSim, SilentConsole)
{
    sim.SetFault(SimFault::SilentConsole);
    EXPECT_FALSE(Bounded([] { return WakeConsole(); }));
    EXPECT_EQ(Count(sim.Lines(), "\n"), 5);
    WakeQuick();
    EXPECT_EQ(Count(sim.Lines(), "\n"), 8);
    EXPECT_EQ(Query(0), "");
    EXPECT_EQ(Set(1, "90"), -1);
    FirmwareDate date;
    EXPECT_FALSE(Bounded([&] { return ReadFirmwareDate(date); }));
    std::uint8_t dest[16] = {};
    EXPECT_EQ(Bounded([&] { return EepromRead(dest, 0x19, 16); }), -1);
    EXPECT_EQ(sim.Param(1), "60");
}

TEST_F(LinkOnSim, NoLogger)
{
    sim.SetFault(SimFault::NoLogger);
    EXPECT_TRUE(Bounded([] { return WakeConsole(); }));
    FirmwareDate date;
    EXPECT_TRUE(Bounded([&] { return ReadFirmwareDate(date); }));
    EXPECT_EQ(Query(0), "");
    EXPECT_EQ(Set(1, "90"), -1);
    EXPECT_EQ(sim.Param(1), "60");
}

TEST_F(LinkOnSim, ConsoleWithoutLogger)
{
    LinkClose();
    SimFixture none(SimKind::None);
    none.UseAsPort(dir, 1, 19200, kTimeoutMs);
    ASSERT_EQ(LinkOpen(1, 19200), 0);
    EXPECT_TRUE(Bounded([] { return WakeConsole(); }));
    EXPECT_EQ(Query(0), "");
    LinkClose();
}

TEST_F(LinkOnSim, DropReplies)
{
    sim.SetFault(SimFault::DropReplies, 2);
    WakeQuick();
    EXPECT_EQ(Query(0), "AOM     100");
    EXPECT_EQ(Query(0), "");
    EXPECT_EQ(Query(0), "AOM     100");
    // A set whose confirmation is lost fails, though the module took it.
    EXPECT_EQ(Set(1, "90"), -1);
    ASSERT_TRUE(sim.WaitForLine("MOD01 90\n"));
    EXPECT_EQ(sim.Param(1), "90");
}

TEST_F(LinkOnSim, FfInReply)
{
    sim.SetFault(SimFault::FfInReply);
    WakeQuick();
    // "O", then the 0xFF ends the reply: no confirmation, though the module took it.
    EXPECT_EQ(Set(24, "0"), -1);
    EXPECT_EQ(sim.Param(24), "0");
    EXPECT_EQ(Query(1), "6");
}

TEST_F(LinkOnSim, LfWithoutCr)
{
    sim.SetFault(SimFault::LfWithoutCr);
    WakeQuick();
    // The LF stays in the text and the time-out after it ends the line.
    EXPECT_EQ(Query(1), "60\n");
    EXPECT_EQ(Set(1, "90"), 0);  // "OK\n" still holds "OK"
}

TEST_F(LinkOnSim, Garble)
{
    sim.SetFault(SimFault::Garble);
    WakeQuick();
    EXPECT_EQ(Query(0), std::string("aom\0\0\0\0\0\x11\x10\x10", 11));
    EXPECT_EQ(Set(1, "90"), -1);  // "ok" is no confirmation
}

TEST_F(LinkOnSim, NakToEebrd)
{
    sim.SetFault(SimFault::NakEebrd);
    std::uint8_t dest[16];
    std::fill(std::begin(dest), std::end(dest), 0xAA);
    EXPECT_EQ(Bounded([&] { return EepromRead(dest, 0x19, 16); }), -1);
    EXPECT_EQ(dest[0], 0xAA);
    bool fresh = true;
    Bounded([&] { return ReadTransmitterEeprom(&fresh); });
    EXPECT_FALSE(fresh);
}

TEST_F(LinkOnSim, BadCrc)
{
    sim.SetFault(SimFault::BadCrc);
    std::uint8_t dest[16];
    std::fill(std::begin(dest), std::end(dest), 0xAA);
    // The block is not taken; the destination's first byte comes back as it was.
    EXPECT_EQ(Bounded([&] { return EepromRead(dest, 0x19, 16); }), 0xAA);
    EXPECT_EQ(dest[2], 0xAA);
    bool fresh = true;
    Bounded([&] { return ReadTransmitterEeprom(&fresh); });
    EXPECT_FALSE(fresh);
}

TEST_F(LinkOnSim, ErrorSets)
{
    sim.SetFault(SimFault::ErrorSets);
    WakeQuick();
    EXPECT_EQ(Set(1, "90"), -1);
    EXPECT_EQ(Bounded([] { return ModuleCommand(23); }), -1);
    EXPECT_EQ(Query(1), "60");
    EXPECT_EQ(sim.Alarms().size(), 6u);
}

TEST_F(LinkOnSim, SlowReplies)
{
    sim.SetFault(SimFault::SlowReplies, 8 * kTimeoutMs);
    WakeQuick();
    EXPECT_EQ(Query(0), "");
    EXPECT_EQ(Query(1), "");
    // Once the late replies are out and flushed away, answers come in time again.
    sim.ClearFaults();
    ASSERT_TRUE(sim->WaitForQuiet(10s));
    EXPECT_EQ(Query(1), "60");
}

TEST_F(LinkOnSim, Babble)
{
    sim.SetFault(SimFault::Babble);
    WakeQuick();
    const std::string reply = Query(1);
    EXPECT_EQ(reply.size(), kMaxModuleReply);
    EXPECT_EQ(reply.substr(0, 16), "BABBLE. BABBLE. ");
    sim.ClearFaults();
    ASSERT_TRUE(sim->WaitForQuiet(10s));
    LinkFlush();
    WakeQuick();
    EXPECT_EQ(Query(1), "60");
}

TEST_F(LinkOnSim, HangupMidExchange)
{
    WakeQuick();
    sim.SetFault(SimFault::Hangup, 3);
    // The query goes out, then the device is gone: the reply reads as a
    // time-out and the next send fails.
    EXPECT_EQ(Query(1), "");
    EXPECT_EQ(Set(1, "90"), -1);
    EXPECT_EQ(sim->Hangups(), 1);
    // Plugged back in, the same COM port works after reopening.
    LinkClose();
    ASSERT_EQ(LinkOpen(1, 19200), 0);
    LinkFlush();
    WakeQuick();
    EXPECT_EQ(Query(1), "60");
}

}  // namespace
