// Detection through the real serial code against the simulated logger of
// each kind: the settings read from the device land in the kind's record.

#include "AlohaSettings.h"
#include "AomSettings.h"
#include "AprsSettings.h"
#include "IrrigationSettings.h"
#include "LoggerDetection.h"
#include "SimFixture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

class DetectSim : public ::testing::Test {
protected:
    TempWorkDir dir;
    InstantPauses pauses;
    RecordingMessages messages;
};

TEST_F(DetectSim, Aloha)
{
    SimFixture sim(SimKind::Aloha);
    sim.UseAsPort(dir);
    sim.SetParam(2, "42");
    auto record = DetectAndReadLogger(nullptr);
    auto* aloha = dynamic_cast<CAlohaSettings*>(record.get());
    ASSERT_NE(aloha, nullptr);
    EXPECT_EQ(aloha->identification, "ALOHA   100");
    EXPECT_EQ(aloha->timeout, "30");
    EXPECT_EQ(aloha->stationId, "42");
    EXPECT_EQ(sim.ModuleLines(), (Lines{"MOD00\n", "MOD01 |\n", "MOD02 |\n"}));
    EXPECT_EQ(pauses.Durations(), (std::vector<int>{250, 250, 250, 2000}));
}

TEST_F(DetectSim, Aprs)
{
    SimFixture sim(SimKind::Aprs);
    sim.UseAsPort(dir);
    auto record = DetectAndReadLogger(nullptr);
    auto* aprs = dynamic_cast<CAprsSettings*>(record.get());
    ASSERT_NE(aprs, nullptr);
    EXPECT_EQ(aprs->baud, "9600");
    EXPECT_EQ(aprs->position, "4903.50N/07201.75W_");
    EXPECT_EQ(aprs->transmissionRate, "10");
}

TEST_F(DetectSim, IrrigationConvertsHundredths)
{
    SimFixture sim(SimKind::Irr);
    sim.UseAsPort(dir);
    sim.SetParam(10, "255");
    auto record = DetectAndReadLogger(nullptr);
    auto* irr = dynamic_cast<CIrrigationSettings*>(record.get());
    ASSERT_NE(irr, nullptr);
    EXPECT_EQ(irr->identification, "IRR     202");
    EXPECT_EQ(irr->timeout, "60");
    EXPECT_TRUE(irr->residential);
    EXPECT_EQ(irr->cycle, "3");
    EXPECT_EQ(irr->amount, "1.00");
    EXPECT_EQ(irr->maxDailyRain, "1.50");
    EXPECT_EQ(irr->maxRainTotal, "3.00");
    EXPECT_EQ(irr->rainRateCutoff, "255");
    EXPECT_EQ(irr->pulseWidth, "500");
    EXPECT_TRUE(irr->continuous);
    EXPECT_TRUE(irr->normallyOpen);
    EXPECT_EQ(sim.ModuleLines().size(), 13u);
}

TEST_F(DetectSim, AlarmOutputModule)
{
    SimFixture sim(SimKind::Aom);
    sim.UseAsPort(dir);
    sim.SetParam(24, "0");
    auto record = DetectAndReadLogger(nullptr);
    auto* aom = dynamic_cast<CAomSettings*>(record.get());
    ASSERT_NE(aom, nullptr);
    EXPECT_EQ(aom->timeout, "60");
    EXPECT_FALSE(aom->alarmLogging);
}

TEST_F(DetectSim, SlowRepliesWithinTheTimeOutStillRead)
{
    SimFixture sim(SimKind::Aloha);
    sim.UseAsPort(dir, 1, 19200, 500);
    sim.SetFault(SimFault::SlowReplies, 50);
    auto record = DetectAndReadLogger(nullptr);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->timeout, "30");
}

TEST_F(DetectSim, HangUpMidReadGivesNothingAndNoCrash)
{
    SimFixture sim(SimKind::Irr);
    sim.UseAsPort(dir);
    sim.SetFault(SimFault::Hangup, 40);
    EXPECT_EQ(DetectAndReadLogger(nullptr), nullptr);
    EXPECT_EQ(pauses.Durations().back(), 2000);
}

}  // namespace
