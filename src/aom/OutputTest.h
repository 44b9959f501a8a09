#pragma once
// The alarm output module's four relays switched by hand: their positions
// read once when the test opens, then a worker that keeps sending the
// positions the user has set until it is told to stop.

#include <array>
#include <atomic>
#include <optional>

inline constexpr int kRelayCount = 4;
// A write the module missed is made good on the next pass.
inline constexpr int kRelayPollMs = 4000;
// The module settles after the last write before the port is used again.
inline constexpr int kAfterOutputTestMs = 1000;

using RelayPositions = std::array<int, kRelayCount>;  // 1 closed, 0 open

// Outputs 0 to 3 in order; nullopt at the first that cannot be read.
std::optional<RelayPositions> ReadRelayPositions();

// Shared by the test form and its worker: the form writes the positions
// (mirroring its buttons) and the stop flag; the worker only reads them.
struct OutputTestBlock {
    std::atomic<bool> stop{false};
    std::array<std::atomic<int>, kRelayCount> closed{};
};

// Every pass sends all four positions, then waits kRelayPollMs; the first
// pass goes at once. Stop is looked at once per pass.
void RunOutputTestWorker(OutputTestBlock& block);
