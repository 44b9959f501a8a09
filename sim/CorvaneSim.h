#pragma once
// corvane-sim as a library: the simulated console and logger (SimDevice)
// behind a pseudo-terminal, served by one background thread, so the real
// serial code can open the pty's device like a serial port.
//
//   CorvaneSim sim(options);
//   std::string device = sim.Start();   // "ready": point COMn_DEVICE at it
//   ... the program talks to it ...
//   sim.ReceivedLines(); sim.Param(1); sim.Transcript();
//   sim.Stop();                          // also done by the destructor
//
// The device may be opened and closed any number of times while the
// simulator runs. Every accessor is safe from any thread.

#include "SimDevice.h"
#include "SimFaults.h"
#include "SimState.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

struct SimOptions {
    SimKind kind = SimKind::Aom;
    int firmware = -1;  // below 0: the kind's usual number (IRR 202, the others 100)
    std::string firmwareDate = "Sep 29 2009";
    int wakeDelayMs = 10;
    int sleepAfterMs = 2000;  // 0: never sleeps again once woken
    // A symbolic link made to the pty's device and removed by Stop. It keeps
    // its name when a hang-up replaces the device. Empty: no link.
    std::string linkPath;
    // Loaded over the initial state at Start when it exists; rewritten after
    // every change. Empty: nothing is kept.
    std::string stateFile;
    // Every byte both ways with time stamps, appended. Empty: kept in memory only.
    std::string transcriptFile;
    std::vector<std::pair<SimFault, int>> faults;
    // The initial state; SimState::Defaults(kind) when not given.
    std::optional<SimState> state;
};

class CorvaneSim {
public:
    using Clock = std::chrono::steady_clock;

    explicit CorvaneSim(SimOptions options);
    ~CorvaneSim();
    CorvaneSim(const CorvaneSim&) = delete;
    CorvaneSim& operator=(const CorvaneSim&) = delete;

    // Creates the pty and starts serving it. Returns DevicePath(). Throws
    // std::runtime_error naming what failed.
    std::string Start();
    void Stop();
    bool Running() const;

    // The link path when one was asked for, else the pty's own device.
    std::string DevicePath() const;
    // The pty's device (/dev/pts/N); a hang-up replaces it with a new one.
    std::string SlavePath() const;
    // Problems with the state file that did not stop the start.
    std::vector<std::string> Warnings() const;

    // --- Faults ---
    void SetFault(SimFault fault);  // with its default argument
    void SetFault(SimFault fault, int argument);
    void ClearFault(SimFault fault);
    void ClearFaults();
    SimFaultSet Faults() const;
    int Hangups() const;  // hang-ups played so far

    // --- Console ---
    void SetWakeDelayMs(int ms);
    void SetSleepAfterMs(int ms);
    void PutConsoleToSleep();
    bool ConsoleAwake() const;

    // --- State (a copy; changes through the setters are saved) ---
    SimState State() const;
    void SetState(const SimState& state);
    void UpdateState(const std::function<void(SimState&)>& change);
    std::string Param(int number) const;  // empty when the logger has none
    int Switch(int index) const;          // circuit or relay 0-3; -1 for others
    SimOutput Output(int index) const;    // alarm output 0-3
    std::string ConditionsReply(int output) const;  // as the condition query answers
    std::vector<SimAlarmRecord> Alarms() const;
    std::string Identification() const;

    // --- What went over the wire ---
    // Every line received, line feed included, in order.
    std::vector<std::string> ReceivedLines() const;
    // Only the lines that start with "MOD".
    std::vector<std::string> ReceivedModuleLines() const;
    void ClearReceived();
    // One line per chunk: "HH:MM:SS.mmm > bytes" received, "< bytes" sent,
    // bytes escaped as SimEscape does. Also "-- " notes (start, hang-up).
    std::string Transcript() const;

    // Waits until done(received lines) holds or the time-out passes; true
    // when it held. For tests whose program side runs on another thread.
    bool WaitForReceived(const std::function<bool(const std::vector<std::string>&)>& done,
                         std::chrono::milliseconds timeout) const;
    bool WaitForLine(const std::string& line, std::chrono::milliseconds timeout) const;
    // Waits until every answer due has gone out (late ones included) and no
    // babble is under way; true when that came within the time-out.
    bool WaitForQuiet(std::chrono::milliseconds timeout) const;

private:
    struct Pending {
        std::string bytes;
        std::size_t offset = 0;
        Clock::time_point due;
    };

    struct Pty {
        int master = -1;
        int slave = -1;  // held open so the pty lives while no client has it
        int watch = -1;  // inotify watch: tells when a client closes the device
        std::string path;
    };
    static Pty CreatePty();  // throws
    static void ClosePty(Pty& pty);

    void Run();
    void LinkTo(const std::string& slavePath);  // throws
    bool HandleInput(const char* data, std::size_t length);  // true: hang up
    void WriteDue();
    void HangUp();
    void StopBabbleUnlessFaulty();  // mutex_ held
    void Note(char direction, const std::string& bytes);
    void SaveStateLocked();
    void Wake();

    SimOptions options_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    SimDevice device_;
    std::deque<Pending> pending_;
    bool babbling_ = false;
    bool stop_ = false;
    bool running_ = false;
    int hangups_ = 0;
    std::vector<std::string> warnings_;
    std::deque<std::string> transcript_;
    std::size_t transcriptBytes_ = 0;
    std::FILE* transcriptFile_ = nullptr;

    Pty pty_;
    int wakeFd_ = -1;
    std::thread thread_;
};
