// What the simulator cannot play for the circuit test: a port that refuses
// to send, and the stop flag arriving in the middle of a pass.

#include "FakeLink.h"
#include "IrrigationCircuit.h"
#include "Pause.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Lines = std::vector<std::string>;

TEST(CircuitRead, FailedSendIsTriedThreeTimesThenGivesUp)
{
    InstantPauses pauses;
    FakeLink link;
    link.SetPutStringResult(1);
    EXPECT_FALSE(ReadCircuitState(2));
    const auto events = link.Events();
    EXPECT_EQ(std::count(events.begin(), events.end(), "PutString failed MOD11 2 |\\n"), 3);
    EXPECT_EQ(link.GetCount(), 0);
}

TEST(CircuitWorker, StopSetDuringAPassEndsItAfterTheCurrentWrite)
{
    TempWorkDir dir;
    FakeLink link;
    CIrrigationSettings record{nullptr, "IRR 202", "60", true, "3", "0", "1.00", "1.50",
                               "3.00", "255", "5", "10", "500", true, false};
    CircuitTestThreadParams params{record};
    params.closed[1] = true;
    link.RespondWith([&params](const std::string& line) {
        if (line == "MOD11 1 1\n") params.stop = true;
        return std::optional<std::string>("OK\n\r");
    });
    std::vector<int> pauses;
    SetPauseFunction([&](int ms) { pauses.push_back(ms); });
    RunCircuitTestWorker(params);
    SetPauseFunction({});
    EXPECT_EQ(link.Lines(), (Lines{"MOD11 0 0\n", "MOD11 1 1\n"}));
    EXPECT_EQ(pauses, (std::vector<int>{200}));
}

}  // namespace
