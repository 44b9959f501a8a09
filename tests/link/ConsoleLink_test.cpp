// The console's own exchanges, byte for byte, against a scripted port.

#include "ConsoleLink.h"
#include "Crc16.h"
#include "FakeLink.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Events = std::vector<std::string>;

std::string Block(const std::string& data)
{
    const auto crc = Crc16Xmodem(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    return data + static_cast<char>(crc >> 8) + static_cast<char>(crc & 0xFF);
}

const std::string kTransmitters("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\xF0\xFF", 16);

TEST(Crc16, XmodemCheckValueAndResidue)
{
    const std::string digits = "123456789";
    EXPECT_EQ(Crc16Xmodem(reinterpret_cast<const std::uint8_t*>(digits.data()), 9), 0x31C3);
    // Sent high byte first, the CRC brings a good block's own CRC to 0.
    EXPECT_EQ(Block(digits), digits + "\x31\xC3");
    const std::string block = Block(kTransmitters);
    EXPECT_EQ(Crc16Xmodem(reinterpret_cast<const std::uint8_t*>(block.data()), block.size()), 0);
}

TEST(WakeConsole, ConsoleAnsweringFirstLineFeedSendsOneByteAndReadsTwo)
{
    FakeLink link;
    link.Respond("\n", "\n\r");
    EXPECT_TRUE(WakeConsole());
    EXPECT_EQ(link.Events(), (Events{"Flush", "PutByte \\n", "Get 10", "Get 13"}));
}

TEST(WakeConsole, SilentConsoleGetsFiveLineFeedsEachAfterAFlush)
{
    FakeLink link;
    EXPECT_FALSE(WakeConsole());
    Events one{"Flush", "PutByte \\n", "Get -1"};
    Events all;
    for (int i = 0; i < 5; ++i) all.insert(all.end(), one.begin(), one.end());
    EXPECT_EQ(link.Events(), all);
}

TEST(WakeConsole, OnlyAnExactLineFeedCounts)
{
    // A carriage return or a byte with the top bit set is not an answer.
    FakeLink link;
    link.Respond("\n", "\r\n", 1);
    link.Respond("\n", "\x8A\r", 1);
    link.Respond("\n", "\n\r");
    EXPECT_TRUE(WakeConsole());
    EXPECT_EQ(link.Written(), "\n\n\n");
    EXPECT_EQ(link.FlushCount(), 3);
}

TEST(WakeConsoleQuick, SilentConsoleGetsThreeLineFeedsEachFollowedByAFlush)
{
    FakeLink link;
    WakeConsoleQuick();
    Events one{"PutByte \\n", "Get -1", "Flush"};
    Events all;
    for (int i = 0; i < 3; ++i) all.insert(all.end(), one.begin(), one.end());
    EXPECT_EQ(link.Events(), all);
}

TEST(WakeConsoleQuick, AnswerEndsWithAFlushOfTheCarriageReturn)
{
    FakeLink link;
    link.Respond("\n", "", 1);
    link.Respond("\n", "\n\r");
    WakeConsoleQuick();
    EXPECT_EQ(link.Events(), (Events{"PutByte \\n", "Get -1", "Flush", "PutByte \\n", "Get 10", "Flush"}));
    EXPECT_EQ(link.Pending(), 0u);
}

TEST(ReceiveBytes, StopsAtTimeOutAndRefusesMoreThanTheBuffer)
{
    FakeLink link;
    link.QueueBytes("abc");
    EXPECT_EQ(ReceiveBytes(4), -1);
    EXPECT_EQ(std::memcmp(ReceiveBuffer(), "abc", 3), 0);

    link.QueueBytes(std::string(600, 'x'));
    link.ClearRecord();
    EXPECT_EQ(ReceiveBytes(513), -1);
    EXPECT_EQ(ReceiveWithCrc(513), -1);
    EXPECT_EQ(link.GetCount(), 0);
    EXPECT_EQ(ReceiveBytes(512), 0);
    EXPECT_EQ(ReceiveBuffer()[511], 'x');
}

TEST(WaitForOK, NeedsUpperCaseOkInBytesTwoAndThree)
{
    struct Case { std::string reply; bool ok; };
    for (const Case& c : {Case{"\n\rOK\n\r", true}, Case{"\n\rok\n\r", false},
                          Case{"OK\n\r\n\r", false}, Case{"\n\rOK\n", false}}) {
        FakeLink link;
        link.QueueBytes(c.reply);
        EXPECT_EQ(WaitForOK(), c.ok) << FakeLink::Escape(c.reply);
    }
}

class EepromReadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        link.Respond("\n", "\n\r");
        std::memset(destination, 0xAA, sizeof destination);
    }
    FakeLink link;
    std::uint8_t destination[16];
};

TEST_F(EepromReadTest, SendsEebrdAndReceivesCountPlusTwoBytes)
{
    link.Respond("EEBRD 19 10\n", "\x06" + Block(kTransmitters));
    EXPECT_EQ(EepromRead(destination, 0x19, 16), 0x01);
    EXPECT_EQ(link.Lines(), (Events{"\n", "EEBRD 19 10\n"}));
    EXPECT_EQ(link.Events()[0], "Flush");
    EXPECT_EQ(link.GetCount(), 2 + 1 + 18);
    EXPECT_EQ(std::memcmp(destination, kTransmitters.data(), 16), 0);
    EXPECT_EQ(ReceivedCount(), 18u);
    EXPECT_EQ(ReceiveCrc(), 0);
}

TEST_F(EepromReadTest, BadCrcLeavesDestinationUntouched)
{
    std::string block = Block(kTransmitters);
    block[17] ^= 0x01;
    link.Respond("EEBRD 19 10\n", "\x06" + block);
    EXPECT_EQ(EepromRead(destination, 0x19, 16), 0xAA);
    EXPECT_EQ(destination[15], 0xAA);
}

TEST_F(EepromReadTest, NakSilenceAndOversizeFail)
{
    link.Respond("EEBRD 1AB 4\n", "\x15");
    EXPECT_EQ(EepromRead(destination, 0x1AB, 4), -1);
    EXPECT_EQ(EepromRead(destination, 0x10, 4), -1);  // no ACK at all
    link.ClearRecord();
    EXPECT_EQ(EepromRead(destination, 0, 511), -1);
    EXPECT_EQ(link.Written(), "");
    EXPECT_EQ(destination[0], 0xAA);
}

TEST(EepromRead, ConsoleThatNeverWakesIsNotAsked)
{
    FakeLink link;
    std::uint8_t destination[4] = {};
    EXPECT_EQ(EepromRead(destination, 0x19, 4), -1);
    EXPECT_EQ(link.Written(), "\n\n\n\n\n");
}

struct DateCase {
    std::string line;  // the 13 bytes after the acknowledgement
    bool ok;
    int month, day, year;
};

class FirmwareDateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(FirmwareDateTest, ParsesTheThirteenByteDate)
{
    const DateCase& c = GetParam();
    FakeLink link;
    link.Respond("\n", "\n\r");
    link.Respond("VER\n", "\n\rOK\n\r" + c.line);
    // Digits left in the buffer behind the 13 bytes must not be read.
    link.QueueBytes("xxxxxxxxxxxxx 1999\n");
    ASSERT_EQ(ReceiveBytes(19), 0);

    FirmwareDate date;
    ASSERT_EQ(ReadFirmwareDate(date), c.ok);
    EXPECT_EQ(link.Lines(), (Events{"\n", "VER\n"}));
    if (c.ok) {
        EXPECT_EQ(date.month, c.month);
        EXPECT_EQ(date.day, c.day);
        EXPECT_EQ(date.year, c.year);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dates, FirmwareDateTest,
    ::testing::Values(DateCase{"Apr 24 2002\n\r", true, 4, 24, 2002},
                      DateCase{"Dec  1 2010\n\r", true, 12, 1, 2010},
                      DateCase{"Jan 5 70000\n\r", true, 1, 5, 70000 - 65536},
                      DateCase{"apr 24 2002\n\r", false, 0, 0, 0},
                      DateCase{"Xyz 24 2002\n\r", false, 0, 0, 0},
                      DateCase{"Apr 24      \n", false, 0, 0, 0},
                      DateCase{"Apr 24 2002", false, 0, 0, 0}));

TEST(FirmwareDate, NoAcknowledgementFails)
{
    FakeLink link;
    link.Respond("\n", "\n\r");
    link.Respond("VER\n", "\n\rNO\n\rApr 24 2002\n\r");
    FirmwareDate date;
    EXPECT_FALSE(ReadFirmwareDate(date));
    EXPECT_EQ(date.month, 0);
}

TEST(TransmitterEeprom, FreshOnlyAfterAGoodBlock)
{
    FakeLink link;
    link.Respond("\n", "\n\r");
    link.Respond("EEBRD 19 10\n", "\x06" + Block(kTransmitters), 1);
    bool fresh = false;
    const std::uint8_t* bytes = ReadTransmitterEeprom(&fresh);
    EXPECT_TRUE(fresh);
    EXPECT_EQ(std::memcmp(bytes, kTransmitters.data(), 16), 0);

    link.Respond("EEBRD 19 10\n", "\x15", 1);
    bytes = ReadTransmitterEeprom(&fresh);
    EXPECT_FALSE(fresh);
    EXPECT_EQ(bytes[0], 0x01);  // left from the earlier receive

    std::string corrupt = Block(std::string(16, '\x22'));
    corrupt[3] = 0x23;
    link.Respond("EEBRD 19 10\n", "\x06" + corrupt, 1);
    bytes = ReadTransmitterEeprom(&fresh);
    EXPECT_FALSE(fresh);
    EXPECT_EQ(bytes[3], 0x23);  // as received, though its CRC failed

    link.Respond("EEBRD 19 10\n", "");
    ReadTransmitterEeprom(&fresh);
    EXPECT_FALSE(fresh);
}

TEST(TransmitterEeprom, SilentConsoleIsNotFresh)
{
    FakeLink link;
    bool fresh = true;
    ReadTransmitterEeprom(&fresh);
    EXPECT_FALSE(fresh);
    EXPECT_EQ(ReadTransmitterEeprom(), ReceiveBuffer());
}

}  // namespace
