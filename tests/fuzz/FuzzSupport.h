#pragma once
// What every fuzz target shares: the input cut into the pieces a target
// needs, and a quiet process around the core (a private working directory,
// instant pauses, messages answered without a window).

#include "loggers/LoggerSettings.h"
#include "SimOracle.h"
#include "TestSupport.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    // 0 once the input is used up.
    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    // A number 0..count-1 from the next byte.
    int Pick(int count) { return count > 0 ? Byte() % count : 0; }
    // The bytes up to the next line feed (dropped), or to the end.
    std::string Line()
    {
        std::string line;
        while (pos_ < size_ && data_[pos_] != '\n') line += static_cast<char>(data_[pos_++]);
        if (pos_ < size_) ++pos_;
        return line;
    }
    std::string Rest()
    {
        std::string rest(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_);
        pos_ = size_;
        return rest;
    }
    bool Empty() const { return pos_ >= size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Answers every question with Cancel (nothing destructive goes ahead) and
// keeps no record, so millions of runs use no memory.
class QuietMessages : public UserMessages {
public:
    QuietMessages() : previous_(SetUserMessages(this)) {}
    ~QuietMessages() override { SetUserMessages(previous_); }
    MsgAnswer Show(const UserMessage&) override { return MsgAnswer::Cancel; }

private:
    UserMessages* previous_;
};

// Made once per process on first use: a temporary working directory with
// config.txt, instant pauses and quiet messages.
struct FuzzProcess {
    TempWorkDir dir{"SERIAL_PORT=1\r\nBAUD_RATE=19200\r\n"};
    InstantPauses pauses;
    QuietMessages messages;
};
inline FuzzProcess& FuzzSetUp()
{
    static FuzzProcess process;
    return process;
}

// The record detection reads from a simulated logger of kind, fresh from
// the box, over a SimBackedLink; a logger not read is a finding.
std::unique_ptr<CLoggerSettings> SimLoggerRecord(SimKind kind);

// Display units from the bits of one byte (bit 6 is left to the caller).
inline AomUnitSettings UnitsFrom(int b)
{
    static constexpr UnitCode kBarometers[] = {UnitInch, UnitMillimetre, UnitMillibar, UnitHectopascal};
    return {b & 1 ? UnitFahrenheit : UnitCelsius, kBarometers[(b >> 1) & 3],
            static_cast<UnitCode>(UnitMph + ((b >> 3) & 3)), b & 0x20 ? UnitInch : UnitMillimetre};
}
