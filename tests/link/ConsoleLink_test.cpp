// The console's own exchanges and the module lines out and reply lines back,
// byte for byte, against a scripted port.

#include "link/ConsoleLink.h"
#include "link/Crc16.h"
#include "FakeLink.h"
#include "link/ModuleCommands.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

Lines Times(int n, const Lines& events)
{
    Lines all;
    while (n-- > 0) all.insert(all.end(), events.begin(), events.end());
    return all;
}

TEST(LinkTap, SeesTheBytesAFlushThrowsAway)
{
    FakeLink link;
    std::string seen;
    SetLinkTap([&](bool sent, const char* bytes, std::size_t n) { seen.append(sent ? "" : std::string(bytes, n)); });
    link.QueueBytes("late\n\r");
    LinkFlush();
    SetLinkTap({});
    EXPECT_EQ(std::make_pair(seen, link.Pending()), std::make_pair(std::string("late\n\r"), std::size_t{0}));
}

TEST(WakeUp, EveryLineFeedAndReadForEachWayTheConsoleAnswers)
{
    // answers: one per line feed, the last repeated; "" = silent.
    struct Case { bool quick; Lines answers; Lines events; };
    // Only an exact line feed counts: not a CR, nor one with the top bit set.
    for (const Case& c : {Case{false, {""}, Times(5, {"Flush", "PutByte \\n", "Get -1"})},
                          Case{false, {"\r\n", "\x8A\r", "\n\r"},
                               {"Flush", "PutByte \\n", "Get 13", "Flush", "PutByte \\n", "Get 138", "Flush",
                                "PutByte \\n", "Get 10", "Get 13"}},
                          Case{true, {""}, Times(3, {"PutByte \\n", "Get -1", "Flush"})},
                          Case{true, {"", "\n\r"},
                               {"PutByte \\n", "Get -1", "Flush", "PutByte \\n", "Get 10", "Flush"}}}) {
        FakeLink link;
        for (std::size_t i = 0; i + 1 < c.answers.size(); ++i) link.Respond("\n", c.answers[i], 1);
        link.Respond("\n", c.answers.back());
        if (c.quick)
            WakeConsoleQuick();
        else
            EXPECT_EQ(WakeConsole(), c.answers.back() != "");
        EXPECT_EQ(link.Events(), c.events);
    }
}

TEST(ReceiveBytes, NeverPastTheBuffer)
{
    FakeLink link;
    link.QueueBytes(std::string(600, 'x'));
    EXPECT_EQ(ReceiveBytes(513) + ReceiveWithCrc(513), -2);
    EXPECT_EQ(link.GetCount(), 0);
    EXPECT_EQ(ReceiveBytes(512), 0);
}

TEST(EepromRead, SendsEebrdAndTakesOnlyAGoodBlockAsDoesTheTransmitterRead)
{
    EXPECT_EQ(Crc16Xmodem(reinterpret_cast<const std::uint8_t*>("123456789"), 9), 0x31C3);  // the check value
    const std::string kTransmitters("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\xF0\xFF", 16);
    const auto crc = Crc16Xmodem(reinterpret_cast<const std::uint8_t*>(kTransmitters.data()), 16);
    // The CRC goes high byte first.
    const std::string good = "\x06" + kTransmitters + static_cast<char>(crc >> 8) + static_cast<char>(crc & 0xFF);
    struct Case { int address, count; std::string reply; int result; std::string written; int reads; };
    // The last would not fit the receive buffer: not asked.
    for (const Case& c : {Case{0x19, 16, good, 0x01, "\nEEBRD 19 10\n", 2 + 1 + 18},
                          Case{0x1AB, 4, "\x15", -1, "\nEEBRD 1AB 4\n", 3}, Case{0, 511, "", -1, "", 0}}) {
        FakeLink link;
        link.Respond("\n", "\n\r");
        link.Respond(c.written.substr(std::min<std::size_t>(1, c.written.size())), c.reply);
        std::string destination(16, '\xAA');
        EXPECT_EQ(EepromRead(reinterpret_cast<std::uint8_t*>(destination.data()), c.address, c.count), c.result);
        EXPECT_EQ(link.Written(), c.written);
        EXPECT_EQ(link.GetCount(), c.reads);
        EXPECT_EQ(destination, c.result == 0x01 ? kTransmitters : std::string(16, '\xAA'));
    }
}

TEST(FirmwareDate, ParsesTheThirteenByteDateAfterOk)
{
    struct Case { std::string reply; bool ok; std::vector<int> date; };  // reply to "VER"
    for (const Case& c : {Case{"\n\rOK\n\rApr 24 2002\n\r", true, {4, 24, 2002}},
                          Case{"\n\rOK\n\rApr 24      \n", false, {0, 0, 0}},
                          Case{"\n\rNO\n\rApr 24 2002\n\r", false, {0, 0, 0}}}) {
        SCOPED_TRACE(FakeLink::Escape(c.reply));
        FakeLink link;
        link.Respond("\n", "\n\r");
        link.Respond("VER\n", c.reply);
        // Digits left in the buffer behind the 13 bytes must not be read.
        link.QueueBytes("xxxxxxxxxxxxx 1999\n");
        ASSERT_EQ(ReceiveBytes(19), 0);
        FirmwareDate date;
        EXPECT_EQ(ReadFirmwareDate(date), c.ok);
        EXPECT_EQ(link.Lines(), (Lines{"\n", "VER\n"}));
        EXPECT_EQ(std::vector({date.month, date.day, date.year}), c.date);
    }
}

TEST(ModuleReadLine, EndsAtLfCrAt0xFFAtATimeOutOrAtTheBound)
{
    struct Case { std::string bytes, text; std::size_t left; int reads; };
    for (const Case& c : {Case{"120\n\rnext", "120", 4, 5}, Case{"", "", 0, 1},
                          Case{"ab\xFF" "cd\n\r", "ab", 4, 3},    // 0xFF ends it like a time-out
                          Case{"ab\nXcd\n\r", "ab\ncd", 0, 8},     // lone LF kept, X lost
                          Case{std::string(5000, 'A'), std::string(kMaxModuleReply, 'A'), 5000 - 512, 512}}) {
        FakeLink link;
        link.QueueBytes(c.bytes);
        EXPECT_EQ(ModuleReadLine(), c.text) << FakeLink::Escape(c.bytes.substr(0, 20));
        EXPECT_EQ(link.Pending(), c.left);
        EXPECT_EQ(link.GetCount(), c.reads);
    }
}

TEST(ModuleLines, OverlongOrSplitLinesAreNotSent)
{
    TempWorkDir dir;
    InstantPauses pauses;
    FakeLink link;
    link.RespondWith([](const std::string&) { return std::string("OK\n\r"); });
    // 99 characters with the line feed go out; 100 do not.
    EXPECT_EQ(ModuleSet(15, std::string(92, 'x')) + ModuleQueryArg(16, std::string(90, 'x')), 0);
    EXPECT_EQ(ModuleSet(15, std::string(93, 'x')) + ModuleQueryArg(16, std::string(91, 'x')) +
                  ModuleSet(1, "1\n2") + ModuleSet(1, std::string("1\0" "2", 3)),
              -4);
    EXPECT_EQ(link.Lines().size(), 2u);
    EXPECT_EQ(pauses.Durations(), (std::vector<int>{250}));
    EXPECT_NE(dir.ReadFile("eventLog.txt").find("{ModuleSet}  \n\t\t\tModule line of 100 characters not sent"),
              std::string::npos);
}

}  // namespace
