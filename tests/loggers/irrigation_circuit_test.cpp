// Reading the four circuits and the worker's passes, against a scripted port.

#include "FakeLink.h"
#include "IrrigationCircuit.h"
#include "Pause.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

class CircuitRead : public ::testing::Test {
protected:
    CircuitRead() { link.Respond("\n", "\n\r"); }
    InstantPauses pauses;
    FakeLink link;
};

TEST_F(CircuitRead, WakesThenQueriesEachCircuitOnce)
{
    link.Respond("MOD11 0 |\n", "1\n\r");
    link.Respond("MOD11 1 |\n", "0\n\r");
    link.Respond("MOD11 2 |\n", "0\n\r");
    link.Respond("MOD11 3 |\n", "1\n\r");
    const auto states = ReadCircuitStates();
    ASSERT_TRUE(states);
    EXPECT_EQ(*states, (CircuitStates{true, false, false, true}));
    EXPECT_EQ(link.Lines(), (Lines{"\n", "MOD11 0 |\n", "MOD11 1 |\n", "MOD11 2 |\n",
                                   "MOD11 3 |\n"}));
    // The logger needs its quarter second after every query.
    EXPECT_EQ(pauses.Durations(), (std::vector<int>{250, 250, 250, 250}));
}

TEST_F(CircuitRead, SilentLoggerOrOddReplyEndsTheReading)
{
    EXPECT_FALSE(ReadCircuitStates());
    EXPECT_EQ(link.Lines(), (Lines{"\n", "MOD11 0 |\n"}));

    for (const char* reply : {"2\n\r", "01\n\r", "ERR\n\r", "\n\r", "1 \n\r"}) {
        link.ClearRecord();
        link.Respond("MOD11 0 |\n", "0\n\r", 1);
        link.Respond("MOD11 1 |\n", reply, 1);
        EXPECT_FALSE(ReadCircuitStates()) << reply;
        EXPECT_EQ(link.Lines().back(), "MOD11 1 |\n") << reply;
    }
}

TEST_F(CircuitRead, FailedSendIsTriedThreeTimes)
{
    link.SetPutStringResult(1);
    EXPECT_FALSE(ReadCircuitState(2));
    int sends = 0;
    for (const auto& e : link.Events())
        if (e == "PutString failed MOD11 2 |\\n") ++sends;
    EXPECT_EQ(sends, 3);
    EXPECT_EQ(link.GetCount(), 0);
}

class CircuitWorker : public ::testing::Test {
protected:
    CircuitWorker()
    {
        link.Respond("\n", "\n\r");
        link.RespondWith([](const std::string&) { return std::optional<std::string>("OK\n\r"); });
    }
    ~CircuitWorker() override { SetPauseFunction({}); }

    // Runs the loop on this thread; the pause after the n-th pass stops it.
    void RunPasses(int passes)
    {
        int done = 0;
        SetPauseFunction([&](int ms) {
            pauses.push_back(ms);
            if (++done == passes) params.stop = true;
        });
        RunCircuitTestWorker(params);
    }

    FakeLink link;
    TempWorkDir dir;
    CIrrigationSettings record{nullptr, "IRR 202", "60", true, "3", "0", "1.00", "1.50",
                               "3.00", "255", "5", "10", "500", true, false};
    CircuitTestThreadParams params{record};
    std::vector<int> pauses;
};

TEST_F(CircuitWorker, EveryPassSendsAllFourStatesThenPauses)
{
    params.closed[1] = true;
    params.closed[3] = true;
    RunPasses(2);
    const Lines pass{"MOD11 0 0\n", "MOD11 1 1\n", "MOD11 2 0\n", "MOD11 3 1\n"};
    Lines both = pass;
    both.insert(both.end(), pass.begin(), pass.end());
    EXPECT_EQ(link.Lines(), both);
    EXPECT_EQ(pauses, (std::vector<int>{200, 200}));
}

TEST_F(CircuitWorker, RefusedWritesAreNotRetriedWithinThePass)
{
    link.RespondWith([](const std::string&) { return std::optional<std::string>(); });
    RunPasses(1);
    EXPECT_EQ(link.Lines(),
              (Lines{"MOD11 0 0\n", "MOD11 1 0\n", "MOD11 2 0\n", "MOD11 3 0\n"}));
}

TEST_F(CircuitWorker, StopSetDuringAPassEndsItAfterTheCurrentWrite)
{
    link.RespondWith([this](const std::string& line) {
        if (line == "MOD11 1 0\n") params.stop = true;
        return std::optional<std::string>("OK\n\r");
    });
    RunPasses(5);
    EXPECT_EQ(link.Lines(), (Lines{"MOD11 0 0\n", "MOD11 1 0\n"}));
    EXPECT_EQ(pauses, (std::vector<int>{200}));
}

TEST_F(CircuitWorker, StoppedBeforeStartSendsNothing)
{
    params.stop = true;
    RunCircuitTestWorker(params);
    EXPECT_TRUE(link.Lines().empty());
}

}  // namespace
