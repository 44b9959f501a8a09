#include "OutputTest.h"

#include "AomCommands.h"
#include "Pause.h"

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

void RunOutputTestWorker(OutputTestBlock& block)
{
    while (!block.stop.load()) {
        for (int output = 0; output < kRelayCount; ++output)
            SetOutputState(output, block.closed[output]);
        PauseMs(kRelayPollMs);
    }
}
