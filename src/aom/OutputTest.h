#pragma once
// The alarm output module's four relays switched by hand: their positions
// read once when the test opens, then a poller that keeps sending the
// positions the user has set until it is told to stop.

#include "base/SwitchTest.h"

#include <array>
#include <optional>

inline constexpr int kRelayCount = kSwitchCount;
// A write the module missed is made good on the next pass.
inline constexpr int kRelayPollMs = 4000;
// The module settles after the last write before the port is used again.
inline constexpr int kAfterOutputTestMs = 1000;

using RelayPositions = std::array<int, kRelayCount>;  // 1 closed, 0 open

// Outputs 0 to 3 in order; nullopt at the first that cannot be read.
std::optional<RelayPositions> ReadRelayPositions();

// Every pass sends all four positions, then waits kRelayPollMs; the first
// pass goes at once. Stop is looked at once per pass. It runs on the link
// worker, where the presses of the test's buttons are nested jobs: they are
// sent before each write of a pass and as they come during the wait, so the
// form never waits for the module and a quick second press is taken like
// the first.
void RunOutputTestWorker(SwitchTestBlock& block);
