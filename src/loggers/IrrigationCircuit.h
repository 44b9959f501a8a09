#pragma once
// The irrigation logger's four output circuits (Wind, Rain, ET, Alarm) as the
// circuit test drives them: reading their states once, then a worker that
// keeps sending the states the user has set until it is told to stop.

#include "base/SwitchTest.h"

#include <optional>

inline constexpr int kCircuitCount = kSwitchCount;
inline constexpr int kCircuitParameter = 11;
inline constexpr int kCircuitReadAttempts = 3;
// Every pass repeats all four states, so a write the logger missed is made
// good on the next pass; the pause between passes keeps the line from being
// flooded.
inline constexpr int kCircuitResendPauseMs = 200;

using CircuitStates = SwitchStates;

// One circuit's state: parameter 11 queried with the circuit number (up to
// three tries to send), then the reply "0" (open) or "1" (closed). nullopt
// for a failed send, a silent logger or any other reply.
std::optional<bool> ReadCircuitState(int circuit);

// Wakes the console and reads circuits 0 to 3; nullopt at the first failure.
std::optional<CircuitStates> ReadCircuitStates();

// Parameter 11 "<circuit> <1 closed | 0 open>"; the logger's answer.
int SetCircuitState(int circuit, bool closed);

// The worker's loop: every pass sends all four states, whether they changed
// or not, then pauses. Results are ignored; a lost write is repeated on the
// next pass. The stop flag is also looked at before each write, so stopping
// waits for one exchange at most rather than a whole pass.
void RunCircuitTestWorker(SwitchTestBlock& block);
