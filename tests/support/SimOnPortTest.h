#pragma once
// A working directory with its settings, instant pauses, recorded messages,
// and a simulated logger on COM1 whose port stays open for the test's
// lifetime, as the configure command holds it open around a form.

#include "link/SerialLink.h"
#include "SimFixture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

class SimOnPortTest : public ::testing::Test {
protected:
    explicit SimOnPortTest(SimKind kind = SimKind::Aom, const char* settings = "", int timeoutMs = 200)
        : dir(settings), device(kind)
    {
        device.UseAsPort(dir, 1, 19200, timeoutMs);
        opened_ = LinkOpen(1, 19200) == 0;
    }
    ~SimOnPortTest() override { LinkClose(); }
    void SetUp() override { ASSERT_TRUE(opened_); }

    TempWorkDir dir;
    InstantPauses pauses;
    RecordingMessages messages;
    SimFixture device;

private:
    bool opened_ = false;
};
