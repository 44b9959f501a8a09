// Configure Corvane Logger end to end for an irrigation logger: detection
// reads the simulated logger, the form shows what it holds in the user's
// unit, and what the user changes is what the logger holds afterwards.

#include "CIrrigationConfigDlg.h"
#include "FormFinder.h"
#include "FormSupport.h"
#include "RegisterForms.h"
#include "SetupCommands.h"
#include "SimFixture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(ConfigureIrrigation, MillimetresShownAndHundredthsOfAnInchStored)
{
    TempWorkDir dir{"IRRIGATION_RAIN_UNIT=2\n"};
    InstantPauses pauses;
    RecordingMessages messages;
    SimFixture sim{SimKind::Irr};
    sim.UseAsPort(dir);
    RegisterAllForms();
    int forms = 0;
    auto previous = SetFormRunner([&](QDialog& form) {
        ++forms;
        EXPECT_NE(dynamic_cast<CIrrigationConfigDlg*>(&form), nullptr);
        EXPECT_EQ(FindField<QLineEdit>(&form, "Irrigation Amount")->text(), "25.4");
        EXPECT_EQ(FindField<QLineEdit>(&form, "Rain Rate Cut-Off")->text(), "12.7");
        SetFieldText(&form, "Irrigation Amount", "50.8");
        SetFieldText(&form, "Rain Rate Cut-Off", "--");
        FindButton(&form, "OK")->click();
        return form.result();
    });
    ConfigureLogger(nullptr);
    SetFormRunner(std::move(previous));

    EXPECT_EQ(forms, 1);
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(sim.Param(25), "200");
    EXPECT_EQ(sim.Param(10), "255");
    EXPECT_EQ(sim.Param(26), "150");
    EXPECT_EQ(dir.Settings().GetValue("IRRIGATION_RAIN_UNIT"), "2");
}

}  // namespace
