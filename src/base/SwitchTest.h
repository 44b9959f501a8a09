#pragma once
// A test of four switches by hand (the irrigation logger's circuits, the
// alarm module's relays): the form shows each switch's position and a poller
// keeps sending the positions the user has set until it is told to stop.

#include <array>
#include <atomic>

inline constexpr int kSwitchCount = 4;

using SwitchStates = std::array<bool, kSwitchCount>;  // true: closed

// Shared by a test form and its poller: the form writes the positions
// (mirroring its buttons) and the stop flag; the poller only reads them.
struct SwitchTestBlock {
    std::atomic<bool> stop{false};
    std::array<std::atomic<int>, kSwitchCount> closed{};  // 1 closed, 0 open
};
