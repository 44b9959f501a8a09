// Configure Corvane Logger end to end for the APRS and irrigation kinds:
// detection reads the simulated logger, the kind's form shows what it holds,
// and what the user changes is what the logger holds afterwards.

#include "CAprsConfigDlg.h"
#include "CIrrigationConfigDlg.h"
#include "FormFinder.h"
#include "FormSupport.h"
#include "RegisterForms.h"
#include "SetupCommands.h"
#include "SimFixture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class ConfigureOnSim : public ::testing::Test {
protected:
    explicit ConfigureOnSim(SimKind kind) : sim(kind)
    {
        RegisterAllForms();
        sim.UseAsPort(dir);
        previous = SetFormRunner([this](QDialog& form) {
            ++forms;
            return onForm ? onForm(form) : int(QDialog::Rejected);
        });
    }
    ~ConfigureOnSim() override { SetFormRunner(std::move(previous)); }

    static void Set(QDialog& form, const char* field, const char* text)
    {
        ASSERT_TRUE(SetFieldText(&form, field, text)) << field;
    }
    static QString Text(QDialog& form, const char* field)
    {
        return FindField<QLineEdit>(&form, field)->text();
    }
    static int PressOk(QDialog& form)
    {
        FindButton(&form, "OK")->click();
        return form.result();
    }

    TempWorkDir dir{"IRRIGATION_RAIN_UNIT=2\n"};
    InstantPauses pauses;
    RecordingMessages messages;
    SimFixture sim;
    FormRunner previous;
    std::function<int(QDialog&)> onForm;
    int forms = 0;
};

class ConfigureAprs : public ConfigureOnSim {
protected:
    ConfigureAprs() : ConfigureOnSim(SimKind::Aprs) {}
};

class ConfigureIrrigation : public ConfigureOnSim {
protected:
    ConfigureIrrigation() : ConfigureOnSim(SimKind::Irr) {}
};

TEST_F(ConfigureAprs, StoredPositionIsEditedAndWrittenBack)
{
    onForm = [](QDialog& form) {
        EXPECT_NE(dynamic_cast<CAprsConfigDlg*>(&form), nullptr);
        EXPECT_EQ(Text(form, "Latitude Deg"), "49");
        EXPECT_EQ(Text(form, "Longitude Sec"), "45");
        EXPECT_EQ(Text(form, "Transmission Rate"), "10");
        Set(form, "Latitude Sec", "59");
        Set(form, "Time Out Period", "999");
        return PressOk(form);
    };
    ConfigureLogger(nullptr);
    EXPECT_EQ(forms, 1);
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(sim.Param(13), "4903.98N/07201.75W_");
    EXPECT_EQ(sim.Param(1), "999");
    EXPECT_EQ(sim.Param(12), "9600");
}

TEST_F(ConfigureIrrigation, MillimetresShownAndHundredthsOfAnInchStored)
{
    onForm = [](QDialog& form) {
        EXPECT_NE(dynamic_cast<CIrrigationConfigDlg*>(&form), nullptr);
        EXPECT_EQ(Text(form, "Irrigation Amount"), "25.4");
        EXPECT_EQ(Text(form, "Rain Rate Cut-Off"), "12.7");
        Set(form, "Irrigation Amount", "50.8");
        Set(form, "Rain Rate Cut-Off", "--");
        return PressOk(form);
    };
    ConfigureLogger(nullptr);
    EXPECT_EQ(forms, 1);
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(sim.Param(25), "200");
    EXPECT_EQ(sim.Param(10), "255");
    EXPECT_EQ(sim.Param(26), "150");
    EXPECT_EQ(dir.Settings().GetValue("IRRIGATION_RAIN_UNIT"), "2");
}

}  // namespace
