#pragma once
// The alarm output module's four relays switched by hand: their positions
// read once when the test opens, then a worker that keeps sending the
// positions the user has set until it is told to stop.

#include "base/SwitchTest.h"

#include <array>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

inline constexpr int kRelayCount = kSwitchCount;
// A write the module missed is made good on the next pass.
inline constexpr int kRelayPollMs = 4000;
// The module settles after the last write before the port is used again.
inline constexpr int kAfterOutputTestMs = 1000;

using RelayPositions = std::array<int, kRelayCount>;  // 1 closed, 0 open

// Outputs 0 to 3 in order; nullopt at the first that cannot be read.
std::optional<RelayPositions> ReadRelayPositions();

// Every pass sends all four positions, then waits kRelayPollMs; the first
// pass goes at once. Stop is looked at once per pass.
void RunOutputTestWorker(SwitchTestBlock& block);

// The presses of the test's buttons, sent in the order they were made on a
// thread of their own: the form never waits for the module, so a quick
// second press is taken like the first instead of arriving while the first
// is still being sent.
class RelayPressSender {
public:
    // Starts the thread; throws std::system_error when none can be had.
    RelayPressSender();
    // Finish, if not done yet.
    ~RelayPressSender();
    RelayPressSender(const RelayPressSender&) = delete;
    RelayPressSender& operator=(const RelayPressSender&) = delete;

    void Press(int output, int state);
    // Sends the presses still waiting, then ends the thread.
    void Finish();

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::pair<int, int>> presses_;
    bool finishing_ = false;
    std::thread thread_;
};
