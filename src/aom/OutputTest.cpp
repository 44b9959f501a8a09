#include "aom/OutputTest.h"

#include "aom/AomCommands.h"
#include "base/Pause.h"

std::optional<RelayPositions> ReadRelayPositions()
{
    RelayPositions positions{};
    for (int output = 0; output < kRelayCount; ++output) {
        const int state = ReadOutputState(output);
        if (state < 0) return std::nullopt;
        positions[output] = state;
    }
    return positions;
}

void RunOutputTestWorker(SwitchTestBlock& block)
{
    while (!block.stop.load()) {
        for (int output = 0; output < kRelayCount; ++output)
            SetOutputState(output, block.closed[output]);
        PauseMs(kRelayPollMs);
    }
}

RelayPressSender::RelayPressSender() : thread_(&RelayPressSender::Run, this) {}

RelayPressSender::~RelayPressSender()
{
    Finish();
}

void RelayPressSender::Press(int output, int state)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        presses_.emplace_back(output, state);
    }
    changed_.notify_one();
}

void RelayPressSender::Finish()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        finishing_ = true;
    }
    changed_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void RelayPressSender::Run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return finishing_ || !presses_.empty(); });
        if (presses_.empty()) return;  // finishing, nothing left
        const auto [output, state] = presses_.front();
        presses_.pop_front();
        lock.unlock();
        // The module's reply is not looked at: the poller sends it again.
        SetOutputState(output, state);
        lock.lock();
    }
}
