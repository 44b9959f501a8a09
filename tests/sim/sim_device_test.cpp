// The simulated console with its logger, driven byte by byte with made-up
// times, so sleeping, waking and every fault are tested without waiting.

#include "Crc16.h"
#include "SimDevice.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Clock = SimDevice::Clock;
using Outputs = std::vector<std::pair<std::string, int>>;

Clock::time_point At(int ms)
{
    return Clock::time_point{} + std::chrono::hours(1) + std::chrono::milliseconds(ms);
}

SimDeviceConfig Config(SimKind kind = SimKind::Aom, int wakeDelay = 0, int sleepAfter = 2000)
{
    SimDeviceConfig c;
    c.kind = kind;
    c.wakeDelayMs = wakeDelay;
    c.sleepAfterMs = sleepAfter;
    return c;
}

Outputs Out(const SimDevice::Reaction& r)
{
    Outputs out;
    for (const auto& o : r.outputs) out.emplace_back(o.bytes, o.delayMs);
    return out;
}

// A device already woken at time 0.
struct Awake {
    explicit Awake(SimDeviceConfig c = Config()) : device(c, SimState::Defaults(c.kind))
    {
        device.Receive("\n", At(0));
    }
    Outputs Send(const std::string& bytes, int ms = 10) { return Out(device.Receive(bytes, At(ms))); }
    SimDevice device;
};

TEST(SimConsole, SleepsUntilALineFeedAndAnswersItAfterTheWakeDelay)
{
    SimDevice d(Config(SimKind::Aom, 300), SimState::Defaults(SimKind::Aom));
    EXPECT_FALSE(d.Awake(At(0)));
    // Asleep, the line is lost; only its line feed wakes the console.
    EXPECT_EQ(Out(d.Receive("MOD00\n", At(0))), (Outputs{{"\n\r", 300}}));
    EXPECT_FALSE(d.Awake(At(299)));
    // A line feed while it wakes is lost too.
    EXPECT_EQ(Out(d.Receive("\n", At(100))), Outputs{});
    EXPECT_TRUE(d.Awake(At(300)));
    EXPECT_EQ(Out(d.Receive("\n", At(400))), (Outputs{{"\n\r", 0}}));
    EXPECT_EQ(Out(d.Receive("MOD00\n", At(500))), (Outputs{{"AOM     100\n\r", 0}}));
    // The wire record keeps every line, whatever the console made of it.
    EXPECT_EQ(d.Lines(), (std::vector<std::string>{"MOD00\n", "\n", "\n", "MOD00\n"}));
}

TEST(SimConsole, FallsAsleepAfterTheIdleTime)
{
    SimDevice d(Config(SimKind::Irr, 0, 2000), SimState::Defaults(SimKind::Irr));
    EXPECT_EQ(Out(d.Receive("\n", At(0))), (Outputs{{"\n\r", 0}}));
    EXPECT_EQ(Out(d.Receive("MOD00\n", At(1999))), (Outputs{{"IRR     202\n\r", 0}}));
    EXPECT_TRUE(d.Awake(At(3998)));
    EXPECT_FALSE(d.Awake(At(3999)));
    // Asleep again: the module line is lost and its line feed wakes the console.
    EXPECT_EQ(Out(d.Receive("MOD00\n", At(4000))), (Outputs{{"\n\r", 0}}));
    d.Sleep();
    EXPECT_EQ(Out(d.Receive("VER\n", At(4001))), (Outputs{{"\n\r", 0}}));
}

TEST(SimConsole, NeverSleepsWithSleepAfterZero)
{
    Awake a(Config(SimKind::Aom, 0, 0));
    EXPECT_EQ(a.Send("MOD00\n", 24 * 3600 * 1000), (Outputs{{"AOM     100\n\r", 0}}));
}

TEST(SimConsole, VerGivesOkAndTheThirteenByteDate)
{
    Awake a;
    EXPECT_EQ(a.Send("VER\n"), (Outputs{{"\n\rOK\n\rSep 29 2009\n\r", 0}}));
    SimDeviceConfig c = Config();
    c.firmwareDate = "Jan 5 2010";
    EXPECT_EQ(SimDevice(c, {}).DateLine(), "Jan 5 2010 \n\r");
    c.firmwareDate = "December 31 2010";
    EXPECT_EQ(SimDevice(c, {}).DateLine(), "December 31\n\r");
}

std::string Block(const std::string& data)
{
    const auto crc = Crc16Xmodem(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    return data + static_cast<char>(crc >> 8) + static_cast<char>(crc & 0xFF);
}

TEST(SimConsole, EebrdSendsAckTheBytesAndTheirCrcHighByteFirst)
{
    Awake a;
    const std::string transmitters("\x00\xFF\x13\x10\x01\x21\x02\x02\x0A\xFF\x0A\xFF\x0A\xFF\x0A\xFF", 16);
    EXPECT_EQ(a.Send("EEBRD 19 10\n"), (Outputs{{"\x06" + Block(transmitters), 0}}));
    // Around the block, the image's fixed pattern; lower-case hex is read too.
    const auto image = a.device.Eeprom();
    EXPECT_EQ(a.Send("EEBRD 18 2\n"), (Outputs{{"\x06" + Block(std::string{char(image[0x18]), '\x00'}), 0}}));
    EXPECT_EQ(a.Send("EEBRD ffe 2\n"), (Outputs{{"\x06" + Block(std::string{char(image[0xFFE]), char(image[0xFFF])}), 0}}));

    a.device.State().transmitters[0] = 0x03;
    EXPECT_EQ(a.Send("EEBRD 19 1\n"), (Outputs{{"\x06" + Block("\x03"), 0}}));
}

TEST(SimConsole, EebrdOutsideTheImageOrMalformedGetsNak)
{
    for (const char* line : {"EEBRD FFF 2\n", "EEBRD 19 0\n", "EEBRD 19\n", "EEBRD 19 10 1\n",
                             "EEBRD 0x19 10\n", "EEBRD  19 10\n", "EEBRD 19 G\n", "EEBRD 10000 1\n"}) {
        Awake a;
        EXPECT_EQ(a.Send(line), (Outputs{{"\x15", 0}})) << line;
    }
}

TEST(SimConsole, OtherLinesAndOverlongLinesGetNoAnswer)
{
    Awake a;
    EXPECT_EQ(a.Send("HELLO\n"), Outputs{});
    EXPECT_EQ(a.Send(std::string(200, 'M') + "\n"), Outputs{});
    EXPECT_EQ(a.Send("VER\r\n"), Outputs{});
    EXPECT_EQ(a.Send("MOD01 |\n"), (Outputs{{"60\n\r", 0}}));
}

TEST(SimConsole, KindNoneIsAConsoleWithoutLogger)
{
    Awake a(Config(SimKind::None));
    EXPECT_EQ(a.Send("MOD00\n"), Outputs{});
    EXPECT_EQ(a.Send("\n"), (Outputs{{"\n\r", 0}}));
}

struct FaultCase {
    SimFault fault;
    int argument;
    const char* line;
    Outputs expected;
};

TEST(SimFaults, EachFaultChangesTheAnswerAsDocumented)
{
    const std::string ack = "\x06";
    const FaultCase cases[] = {
        {SimFault::SilentConsole, 0, "\n", {}},
        {SimFault::SilentConsole, 0, "MOD01 |\n", {}},
        {SimFault::NoLogger, 0, "MOD01 |\n", {}},
        {SimFault::NoLogger, 0, "\n", {{"\n\r", 0}}},
        {SimFault::NoLogger, 0, "VER\n", {{"\n\rOK\n\rSep 29 2009\n\r", 0}}},
        {SimFault::DropReplies, 1, "MOD01 |\n", {}},
        {SimFault::DropReplies, 1, "\n", {{"\n\r", 0}}},
        {SimFault::FfInReply, 0, "MOD01 |\n", {{"6\xFF" "0\n\r", 0}}},
        {SimFault::FfInReply, 0, "MOD01 120\n", {{"O\xFFK\n\r", 0}}},
        {SimFault::LfWithoutCr, 0, "MOD01 |\n", {{"60\n", 0}}},
        {SimFault::LfWithoutCr, 0, "\n", {{"\n\r", 0}}},
        {SimFault::Garble, 0, "MOD01 120\n", {{"ok\n\r", 0}}},
        {SimFault::Garble, 0, "MOD01 |\n", {{"\x16\x10\n\r", 0}}},
        {SimFault::NakEebrd, 0, "EEBRD 19 10\n", {{"\x15", 0}}},
        {SimFault::ErrorSets, 0, "MOD01 120\n", {{"ERR\n\r", 0}}},
        {SimFault::ErrorSets, 0, "MOD23\n", {{"ERR\n\r", 0}}},
        {SimFault::ErrorSets, 0, "MOD01 |\n", {{"60\n\r", 0}}},
        {SimFault::SlowReplies, 700, "MOD01 |\n", {{"60\n\r", 700}}},
        {SimFault::SlowReplies, 700, "\n", {{"\n\r", 0}}},
        {SimFault::Babble, 0, "MOD01 |\n", {}},
    };
    for (const FaultCase& c : cases) {
        Awake a;
        a.device.SetFault(c.fault, c.argument);
        EXPECT_EQ(a.Send(c.line), c.expected) << SimFaultName(c.fault) << " " << c.line;
        a.device.ClearFault(c.fault);
        EXPECT_FALSE(a.device.HasFault(c.fault));
    }
}

TEST(SimFaults, ErrorSetsChangeNothing)
{
    Awake a;
    a.device.SetFault(SimFault::ErrorSets, 0);
    a.Send("MOD01 120\nMOD23\n");
    EXPECT_EQ(a.device.State(), SimState::Defaults(SimKind::Aom));
}

TEST(SimFaults, BabbleIsFlaggedAndDroppedRepliesCountModuleReplies)
{
    Awake a;
    a.device.SetFault(SimFault::Babble, 0);
    EXPECT_TRUE(a.device.Receive("MOD00\n", At(10)).babble);
    a.device.ClearFaults();

    a.device.SetFault(SimFault::DropReplies, 2);
    EXPECT_EQ(a.Send("MOD01 |\n"), (Outputs{{"60\n\r", 0}}));
    EXPECT_EQ(a.Send("MOD24 |\n"), Outputs{});
    EXPECT_EQ(a.Send("\n"), (Outputs{{"\n\r", 0}}));
    EXPECT_EQ(a.Send("MOD24 |\n"), (Outputs{{"1\n\r", 0}}));
    // A lost reply is only lost: the set took effect.
    EXPECT_EQ(a.Send("MOD01 120\n"), Outputs{});
    EXPECT_EQ(a.device.State().params[1], "120");
}

TEST(SimFaults, BadCrcSpoilsTheBlock)
{
    Awake a;
    a.device.SetFault(SimFault::BadCrc, 0);
    Outputs out = a.Send("EEBRD 19 10\n");
    ASSERT_EQ(out.size(), 1u);
    ASSERT_EQ(out[0].first.size(), 19u);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(out[0].first.data());
    EXPECT_EQ(bytes[0], 0x06);
    EXPECT_NE(Crc16Xmodem(bytes + 1, 18), 0);
}

TEST(SimFaults, HangupComesOnceAfterTheCountedBytes)
{
    Awake a;
    a.device.SetFault(SimFault::Hangup, 3);
    SimDevice::Reaction r = a.device.Receive("MOD01 |\n", At(10));
    EXPECT_TRUE(r.hangup);
    EXPECT_TRUE(r.outputs.empty());
    EXPECT_FALSE(a.device.HasFault(SimFault::Hangup));
    // The rest of that line is lost with the connection.
    EXPECT_EQ(a.Send("\nMOD01 |\n"), (Outputs{{"\n\r", 0}, {"60\n\r", 0}}));
}

TEST(SimFaults, NamesAndArgumentsParse)
{
    SimFault f;
    int arg = 0;
    std::string error;
    for (const SimFaultInfo& info : SimFaultTable()) {
        ASSERT_TRUE(ParseSimFault(info.name, f, arg, error)) << info.name;
        EXPECT_EQ(f, info.fault);
        EXPECT_EQ(arg, info.defaultArgument);
    }
    EXPECT_TRUE(ParseSimFault("slow-replies=250", f, arg, error));
    EXPECT_EQ(arg, 250);
    EXPECT_TRUE(ParseSimFault("drop-replies=3", f, arg, error));
    EXPECT_EQ(f, SimFault::DropReplies);
    EXPECT_EQ(arg, 3);
    EXPECT_FALSE(ParseSimFault("drop-replies=0", f, arg, error));
    EXPECT_FALSE(ParseSimFault("garble=2", f, arg, error));
    EXPECT_EQ(error, "fault garble takes no argument");
    EXPECT_FALSE(ParseSimFault("hangup=x", f, arg, error));
    EXPECT_FALSE(ParseSimFault("melt", f, arg, error));
    EXPECT_EQ(error, "unknown fault 'melt'");
}

TEST(SimConsole, RandomLinesNeverBreakIt)
{
    // Bytes drawn mostly from what module and console lines are made of.
    const std::string alphabet = "MODEBRV0123456789 |\n-;\n\x06\xFF\r";
    for (SimKind kind : {SimKind::Aloha, SimKind::Aprs, SimKind::Irr, SimKind::Aom, SimKind::None}) {
        std::mt19937 random(1234);
        SimDevice d(Config(kind, 5, 50), SimState::Defaults(kind));
        std::string input;
        for (int i = 0; i < 200000; ++i) {
            input += alphabet[random() % alphabet.size()];
            if (input.size() == 64) {
                d.Receive(input, At(i / 10));
                input.clear();
            }
        }
        for (const SimOutput& o : d.State().outputs) EXPECT_LE(o.conditions.size(), 8u);
        SimState reread;
        EXPECT_TRUE(reread.ApplyText(d.State().ToText()));
        EXPECT_EQ(reread, d.State());
        d.Sleep();
        d.Receive("\n", At(30000));
        auto out = Out(d.Receive("MOD00\n", At(30010)));
        if (kind != SimKind::None) {
            ASSERT_EQ(out.size(), 1u);
            EXPECT_EQ(out[0].first, d.Logger().Identification() + "\n\r");
        }
    }
}

}  // namespace
