// What tests and the command line read and change while the simulator
// runs: its faults, the console's wake-up, the logger's state and the record
// of what arrived on the wire. Each takes the simulator's lock.
#include "CorvaneSim.h"

#include <algorithm>

void CorvaneSim::SetFault(SimFault fault)
{
    for (const SimFaultInfo& info : SimFaultTable())
        if (info.fault == fault) SetFault(fault, info.defaultArgument);
}

void CorvaneSim::SetFault(SimFault fault, int argument)
{
    std::lock_guard<std::mutex> lock(mutex_);
    device_.SetFault(fault, argument);
    Note('-', std::string("fault ") + SimFaultName(fault) + "=" + std::to_string(argument));
}

// Babble ends with its fault even while the pty's buffer is full and no
// write is due to notice it (the client may not be reading at all).
void CorvaneSim::StopBabbleUnlessFaulty()
{
    if (!device_.HasFault(SimFault::Babble)) babbling_ = false;
    changed_.notify_all();
}

void CorvaneSim::ClearFault(SimFault fault)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        device_.ClearFault(fault);
        Note('-', std::string("fault ") + SimFaultName(fault) + " cleared");
        StopBabbleUnlessFaulty();
    }
    Wake();
}

void CorvaneSim::ClearFaults()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        device_.ClearFaults();
        Note('-', "faults cleared");
        StopBabbleUnlessFaulty();
    }
    Wake();
}

SimFaultSet CorvaneSim::Faults() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return device_.Faults();
}

int CorvaneSim::Hangups() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return hangups_;
}

void CorvaneSim::SetWakeDelayMs(int ms)
{
    std::lock_guard<std::mutex> lock(mutex_);
    device_.SetWakeDelayMs(ms);
}

void CorvaneSim::SetSleepAfterMs(int ms)
{
    std::lock_guard<std::mutex> lock(mutex_);
    device_.SetSleepAfterMs(ms);
}

void CorvaneSim::PutConsoleToSleep()
{
    std::lock_guard<std::mutex> lock(mutex_);
    device_.Sleep();
}

bool CorvaneSim::ConsoleAwake() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return device_.Awake(Clock::now());
}

// --- State ---

SimState CorvaneSim::State() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return device_.State();
}

void CorvaneSim::SetState(const SimState& state)
{
    std::lock_guard<std::mutex> lock(mutex_);
    device_.State() = state;
    SaveStateLocked();
}

void CorvaneSim::UpdateState(const std::function<void(SimState&)>& change)
{
    std::lock_guard<std::mutex> lock(mutex_);
    change(device_.State());
    SaveStateLocked();
}

std::string CorvaneSim::Param(int number) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = device_.State().params.find(number);
    return it == device_.State().params.end() ? std::string() : it->second;
}

int CorvaneSim::Switch(int index) const
{
    if (index < 0 || index >= kSimOutputs) return -1;
    std::lock_guard<std::mutex> lock(mutex_);
    return device_.State().switches[static_cast<std::size_t>(index)];
}

SimOutput CorvaneSim::Output(int index) const
{
    if (index < 0 || index >= kSimOutputs) return {};
    std::lock_guard<std::mutex> lock(mutex_);
    return device_.State().outputs[static_cast<std::size_t>(index)];
}

std::string CorvaneSim::ConditionsReply(int output) const
{
    return FormatConditions(Output(output).conditions);
}

std::vector<SimAlarmRecord> CorvaneSim::Alarms() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return device_.State().alarms;
}

std::string CorvaneSim::Identification() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return device_.Logger().Identification();
}

// --- Wire record ---

std::vector<std::string> CorvaneSim::ReceivedLines() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return device_.Lines();
}

std::vector<std::string> CorvaneSim::ReceivedModuleLines() const
{
    std::vector<std::string> lines = ReceivedLines();
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const std::string& l) { return l.rfind("MOD", 0) != 0; }),
                lines.end());
    return lines;
}

void CorvaneSim::ClearReceived()
{
    std::lock_guard<std::mutex> lock(mutex_);
    device_.ClearLines();
}

std::string CorvaneSim::Transcript() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::string text;
    for (const std::string& line : transcript_) text += line + "\n";
    return text;
}

bool CorvaneSim::WaitForReceived(const std::function<bool(const std::vector<std::string>&)>& done,
                                 std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return done(device_.Lines()); });
}

bool CorvaneSim::WaitForQuiet(std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return pending_.empty() && !babbling_; });
}

bool CorvaneSim::WaitForLine(const std::string& line, std::chrono::milliseconds timeout) const
{
    return WaitForReceived(
        [&](const std::vector<std::string>& lines) {
            return std::find(lines.begin(), lines.end(), line) != lines.end();
        },
        timeout);
}
