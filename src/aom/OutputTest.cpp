#include "aom/OutputTest.h"

#include "aom/AomCommands.h"
#include "base/LinkWorker.h"

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
        for (int output = 0; output < kRelayCount; ++output) {
            TakeNestedLinkJobs();
            SetOutputState(output, block.closed[output]);
        }
        PauseTakingNestedLinkJobs(kRelayPollMs);
    }
}
