#pragma once
// The console's own operations: wake-up, fixed-length receives, CRC checked
// blocks, "VER" and "EEBRD".

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kReceiveBufferSize = 512;

bool WakeConsole();
void WakeConsoleQuick();

// 0 when n bytes were stored in the receive buffer, -1 on a time-out
// (or when n exceeds the buffer).
int ReceiveBytes(int n);
bool WaitForOK();
// 0 when n bytes arrived and their CRC checks; -1 otherwise.
int ReceiveWithCrc(int n);

// -1 when the console did not wake or acknowledge, else destination[0].
int EepromRead(std::uint8_t* destination, int address, int count);

struct FirmwareDate {
    int month = 0;
    int day = 0;
    int year = 0;
};
bool ReadFirmwareDate(FirmwareDate& date);

// The receive buffer, whose first 16 bytes are the console's EEPROM bytes
// 0x19-0x28 as received. fresh (when given) is set true only when those
// bytes were received in this call and passed their CRC.
const std::uint8_t* ReadTransmitterEeprom(bool* fresh = nullptr);

// Read access to the process-wide receive state.
const std::uint8_t* ReceiveBuffer();
std::uint32_t ReceivedCount();
std::uint16_t ReceiveCrc();
