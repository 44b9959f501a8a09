#pragma once
// The simulated console with its logger, without any I/O: bytes go in with
// the time they arrived, and what the device sends back comes out with the
// delay after which it is due. CorvaneSim moves the bytes over a pty; tests
// can drive this class directly with made-up times.
//
// The console sleeps until a line feed wakes it. Waking takes the wake
// delay; bytes that arrive while it sleeps or wakes are lost, and the
// waking line feed is answered with LF CR once it is awake. Awake, it takes
// lines ended by LF: an empty line is answered with LF CR, "VER" with
// LF CR "OK" LF CR and the 13-byte date line, "EEBRD a n" (hex) with ACK, the
// n bytes of its EEPROM from a and their CRC-16/XMODEM high byte first (NAK
// for a bad request). Lines starting with "MOD" go to the logger, whose
// reply ends with LF CR. Other lines get no answer. After sleepAfterMs
// without a received byte it sleeps again.

#include "SimFaults.h"
#include "SimLogger.h"
#include "SimState.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct SimDeviceConfig {
    SimKind kind = SimKind::Aom;
    int firmware = -1;  // below 0: the kind's usual number
    // The console's firmware date, "Mmm dd yyyy"; cut or padded with blanks
    // to 11 characters, then LF CR, so the date line is always 13 bytes.
    std::string firmwareDate = "Sep 29 2009";
    int wakeDelayMs = 10;
    int sleepAfterMs = 2000;  // 0: never sleeps again once woken
};

class SimDevice {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kEepromSize = 4096;
    static constexpr std::uint8_t kAck = 0x06;
    static constexpr std::uint8_t kNak = 0x15;

    struct Output {
        std::string bytes;
        int delayMs = 0;  // after the time of the bytes that caused it
    };
    struct Reaction {
        std::vector<Output> outputs;  // in the order they are to be sent
        bool babble = false;          // send endless bytes until the next byte arrives
        bool hangup = false;          // hang up now; the rest of the input is lost
        bool stateChanged = false;
    };

    SimDevice(const SimDeviceConfig& config, SimState state);

    Reaction Receive(std::string_view bytes, Clock::time_point now);

    void SetFault(SimFault fault, int argument);
    void ClearFault(SimFault fault);
    void ClearFaults();
    const SimFaultSet& Faults() const { return faults_; }
    bool HasFault(SimFault fault) const { return faults_.count(fault) != 0; }

    SimState& State() { return state_; }
    const SimState& State() const { return state_; }

    // Every line received on the wire, line feed included, whatever the
    // console made of it; a lone wake-up line feed is the line "\n".
    const std::vector<std::string>& Lines() const { return lines_; }
    void ClearLines() { lines_.clear(); }

    bool Awake(Clock::time_point now) const;
    void Sleep() { awake_ = false; }
    void SetWakeDelayMs(int ms) { config_.wakeDelayMs = ms < 0 ? 0 : ms; }
    void SetSleepAfterMs(int ms) { config_.sleepAfterMs = ms < 0 ? 0 : ms; }
    const SimDeviceConfig& Config() const { return config_; }

    std::string DateLine() const;
    std::vector<std::uint8_t> Eeprom() const;
    const SimLogger& Logger() const { return logger_; }

private:
    void RecordWire(char byte);
    void Execute(const std::string& line, Reaction& reaction);
    void Eebrd(const std::string& line, Reaction& reaction) const;
    void ModuleReply(const SimModuleReply& reply, Reaction& reaction);

    SimDeviceConfig config_;
    SimLogger logger_;
    SimState state_;
    SimFaultSet faults_;
    int dropCount_ = 0;
    int hangupLeft_ = 0;

    bool awake_ = false;
    Clock::time_point readyAt_{};
    Clock::time_point lastInput_{};
    std::string command_;
    bool overflow_ = false;

    std::string wireLine_;
    std::vector<std::string> lines_;
};
