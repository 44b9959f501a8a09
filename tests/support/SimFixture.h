#pragma once
// SimFixture: corvane-sim running inside the test process on a real pty, so
// the program's own termios code (LinkOpen ...) talks to a console and
// logger exactly as it would to the hardware.
//
//   TempWorkDir dir;                       // settings store and event log
//   InstantPauses pauses;                  // the program's waits go instant
//   SimFixture sim(SimKind::Irr);          // started here, stopped by the destructor
//   sim.UseAsPort(dir);                    // COM1 -> the sim, 19200 baud, 200 ms time-out
//   ... code under test: LinkOpen(1, 19200), WakeConsoleQuick(), ModuleSet(...) ...
//   EXPECT_EQ(sim.ModuleLines(), (std::vector<std::string>{"MOD01 120\n"}));
//   EXPECT_EQ(sim.Param(1), "120");
//
// What the fixture sets up differently from the command-line simulator:
// the console wakes at once (wake delay 0) and, once woken, never falls
// asleep again (sleep-after 0), so a slow test machine cannot make a reply
// go missing. Tests of the wake-up itself set them with Options() or at run
// time through sim->SetWakeDelayMs / SetSleepAfterMs / PutConsoleToSleep.
//
// The device path is a symbolic link in a private temporary directory; it
// keeps its name when the hang-up fault replaces the pty behind it. Every
// accessor is thread-safe: tests may read the state while a worker thread of
// the program is talking to the simulator. Nothing here sleeps; tests whose
// program side runs on another thread wait with WaitForLine,
// which return as soon as the line has arrived (false after the time-out).
//
// The state starts as SimState::Defaults(kind): for the alarm output module
// that is sample conditions on all four outputs, six alarm records and
// logging on (see SimState.cpp). Change it before the exchange
// with SetParam, SetConditions, SetAlarms or sim->UpdateState, or pass a
// state in Options().state.

#include "CorvaneSim.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class TempWorkDir;

class SimFixture {
public:
    // Options suited to tests: wake delay 0, never falls asleep, no state
    // file, transcript in memory only, the kind's default state.
    static SimOptions Options(SimKind kind);

    explicit SimFixture(SimKind kind = SimKind::Aom);
    // options.linkPath is ignored: the fixture makes its own link.
    explicit SimFixture(SimOptions options);
    ~SimFixture();

    // The whole simulator API (faults, console, state, wire record).
    CorvaneSim* operator->() { return sim_.get(); }

    // The path to open: a link to the pty that survives hang-ups.
    std::string DevicePath() const { return sim_->DevicePath(); }
    // The pty's own device (/dev/pts/N) at this moment.
    std::string SlavePath() const { return sim_->SlavePath(); }
    // The private directory holding the link (removed with the fixture).

    // Points COM<port> of dir's settings at the simulator and sets
    // SERIAL_PORT, BAUD_RATE and LINK_TIMEOUT_MS, as detection reads them.
    // The 200 ms time-out is short for silent-device tests yet far above
    // the simulator's answer time on a loaded machine under sanitizers.
    void UseAsPort(TempWorkDir& dir, int port = 1, int baud = 19200, int timeoutMs = 200) const;

    // --- What the program sent ---
    std::vector<std::string> Lines() const { return sim_->ReceivedLines(); }
    std::vector<std::string> ModuleLines() const { return sim_->ReceivedModuleLines(); }
    // The module lines that set or command something: not the queries
    // ("MOD01 |", "MOD16 0 |") nor the identification ("MOD00").
    std::vector<std::string> SetLines() const
    {
        std::vector<std::string> sets = ModuleLines();
        std::erase_if(sets, [](const std::string& l) { return l.find("|\n") != l.npos || l == "MOD00\n"; });
        return sets;
    }
    // The relay and circuit sets ("MOD11 2 1"), not their reads ("MOD11 2 |");
    // then a wait until n more than now have arrived (false after a minute).
    std::vector<std::string> SwitchSets() const { return SwitchSetsIn(Lines()); }
    bool WaitForSwitchSets(std::size_t n) const;
    void ClearLines() { sim_->ClearReceived(); }
    // Until `line` (line feed included) has been received.
    bool WaitForLine(const std::string& line, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const
    { return sim_->WaitForLine(line, timeout); }

    // --- The logger's state ---
    std::string Param(int number) const { return sim_->Param(number); }
    void SetParam(int n, const std::string& v) { sim_->UpdateState([&](SimState& s) { s.params[n] = v; }); }
    int Switch(int index) const { return sim_->Switch(index); }
    void SetSwitch(int i, int state) { sim_->UpdateState([&](SimState& s) { s.switches.at(std::size_t(i)) = state; }); }
    SimOutput Output(int index) const { return sim_->Output(index); }
    // An output's conditions in the layout of the condition query
    // ("17 0 850;2 1 600"), read and written.
    std::string Conditions(int output) const { return sim_->ConditionsReply(output); }
    void SetConditions(int output, const std::string& records, int logic = 1);
    std::vector<SimAlarmRecord> Alarms() const { return sim_->Alarms(); }
    void SetAlarms(const std::vector<SimAlarmRecord>& r) { sim_->UpdateState([&](SimState& s) { s.alarms = r; }); }
    void SetTransmitters(const std::array<std::uint8_t, kSimTransmitterBytes>& b)
    { sim_->UpdateState([&](SimState& s) { s.transmitters = b; }); }

    // --- Faults ---
    void SetFault(SimFault fault) { sim_->SetFault(fault); }
    void SetFault(SimFault fault, int argument) { sim_->SetFault(fault, argument); }
    void ClearFaults() { sim_->ClearFaults(); }

private:
    static std::vector<std::string> SwitchSetsIn(std::vector<std::string> lines);

    std::filesystem::path dir_;
    std::unique_ptr<CorvaneSim> sim_;
};
