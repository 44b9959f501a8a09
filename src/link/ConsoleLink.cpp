#include "link/ConsoleLink.h"

#include "link/Crc16.h"
#include "link/SerialLink.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kLineFeed = 0x0A;
constexpr int kAck = 0x06;
constexpr int kFirmwareDateLength = 13;
constexpr int kTransmitterAddress = 0x19;
constexpr int kTransmitterBytes = 16;

std::uint8_t g_buffer[kReceiveBufferSize];
std::uint32_t g_count = 0;
std::uint16_t g_crc = 0;

constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool FitsBuffer(int n)
{
    return n >= 0 && static_cast<std::size_t>(n) <= kReceiveBufferSize;
}

enum class BlockResult { NoAnswer, BadBlock, Good };

// EEBRD as the console speaks it; tells apart a console that never answered
// from a block that arrived but failed its CRC.
BlockResult ReadEepromBlock(std::uint8_t* destination, int address, int count)
{
    LinkFlush();
    if (!WakeConsole()) return BlockResult::NoAnswer;
    char line[40];
    std::snprintf(line, sizeof line, "EEBRD %X %X\n", static_cast<unsigned>(address),
                  static_cast<unsigned>(count));
    LinkPutString(line);
    if (LinkGetByte() != kAck) return BlockResult::NoAnswer;
    if (ReceiveWithCrc(count + 2) != 0) return BlockResult::BadBlock;
    if (count > 0) std::memcpy(destination, g_buffer, static_cast<std::size_t>(count));
    return BlockResult::Good;
}

// "%d %d" read with strtol, which is what the scan does, minus its undefined
// behaviour on numbers that overflow.
bool ReadTwoNumbers(const char* text, long& first, long& second)
{
    char* end = nullptr;
    first = std::strtol(text, &end, 10);
    if (end == text) return false;
    const char* next = end;
    second = std::strtol(next, &end, 10);
    return end != next;
}

int WidenShort(long value)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}

}  // namespace

bool WakeConsole()
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        LinkFlush();
        LinkPutByte(kLineFeed);
        if (LinkGetByte() == kLineFeed) {
            LinkGetByte();  // the carriage return after the console's line feed
            return true;
        }
    }
    return false;
}

void WakeConsoleQuick()
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        LinkPutByte(kLineFeed);
        const int answer = LinkGetByte();
        LinkFlush();
        if ((answer & 0xFF) == kLineFeed) return;
    }
}

int ReceiveBytes(int n)
{
    if (!FitsBuffer(n)) return -1;
    for (int i = 0; i < n; ++i) {
        const int byte = LinkGetByte();
        if (byte < 0) return -1;
        g_buffer[i] = static_cast<std::uint8_t>(byte);
    }
    return 0;
}

bool WaitForOK()
{
    // The console acknowledges with LF CR "OK" LF CR.
    return ReceiveBytes(6) == 0 && g_buffer[2] == 'O' && g_buffer[3] == 'K';
}

int ReceiveWithCrc(int n)
{
    g_crc = 0;
    g_count = 0;
    if (!FitsBuffer(n)) return -1;
    for (int i = 0; i < n; ++i) {
        const int byte = LinkGetByte();
        if (byte < 0) return -1;
        const auto b = static_cast<std::uint8_t>(byte);
        g_buffer[g_count++] = b;
        g_crc = Crc16Update(g_crc, b);
    }
    return g_crc == 0 ? 0 : -1;
}

int EepromRead(std::uint8_t* destination, int address, int count)
{
    // A block larger than the receive buffer is never asked for.
    if (!destination || count < 0 || static_cast<std::size_t>(count) > kReceiveBufferSize - 2)
        return -1;
    if (ReadEepromBlock(destination, address, count) == BlockResult::NoAnswer) return -1;
    // A block that failed its CRC leaves the destination as it was.
    return destination[0];
}

bool ReadFirmwareDate(FirmwareDate& date)
{
    if (!WakeConsole()) return false;
    LinkPutString("VER\n");
    if (!WaitForOK()) return false;
    if (ReceiveBytes(kFirmwareDateLength) != 0) return false;

    // The numbers are read from these 13 bytes only, never from whatever an
    // earlier receive left behind them in the buffer.
    char text[kFirmwareDateLength + 1];
    std::memcpy(text, g_buffer, kFirmwareDateLength);
    text[kFirmwareDateLength] = '\0';

    int month = 0;
    while (month < 12 && std::memcmp(text, kMonths[month], 3) != 0) ++month;
    if (month == 12) return false;
    long day = 0;
    long year = 0;
    if (!ReadTwoNumbers(text + 3, day, year)) return false;
    date.month = month + 1;
    date.day = WidenShort(day);
    date.year = WidenShort(year);
    return true;
}

const std::uint8_t* ReadTransmitterEeprom(bool* fresh)
{
    std::uint8_t scratch[kTransmitterBytes] = {};
    const BlockResult result = ReadEepromBlock(scratch, kTransmitterAddress, kTransmitterBytes);
    if (fresh) *fresh = result == BlockResult::Good;
    return g_buffer;
}

const std::uint8_t* ReceiveBuffer()
{
    return g_buffer;
}

std::uint32_t ReceivedCount()
{
    return g_count;
}

std::uint16_t ReceiveCrc()
{
    return g_crc;
}
