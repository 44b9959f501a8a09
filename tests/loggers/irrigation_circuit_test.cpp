// A port that refuses to send, which the simulator cannot play: each circuit
// read is tried three times, then the test gives up without reading a reply.

#include "FakeLink.h"
#include "IrrigationCircuit.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

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

}  // namespace
