#pragma once
#include <cstddef>
#include <cstdint>

// CRC-16/XMODEM (poly 0x1021, init 0, no reflection, no final XOR), table driven.
std::uint16_t Crc16Update(std::uint16_t crc, std::uint8_t byte);
std::uint16_t Crc16Xmodem(const std::uint8_t* data, std::size_t length);
