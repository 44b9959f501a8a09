// "Alarm Output Module" on corvane-sim: what it reads when it is created,
// the first showing, the module settings at OK and the alarm log buttons.

#include "AlarmParameterTable.h"
#include "AomSettings.h"
#include "CAomDlg.h"
#include "CAomOutputTabCtrl.h"
#include "FormSupport.h"
#include "SettingsKeys.h"
#include "../../loggers/gui/LoggerFormTest.h"

#include <QCheckBox>
#include <QDialog>

#include <memory>

namespace {

class AomForm : public LoggerFormTest {
protected:
    explicit AomForm(const char* settings = "AOM_FIRST_USE=1\n")
        : LoggerFormTest(SimKind::Aom, settings)
    {
        // Child forms are recorded by title and answered with Cancel.
        previous_ = SetFormRunner([this](QDialog& dlg) {
            childForms.push_back(dlg.windowTitle().toStdString());
            return int(QDialog::Rejected);
        });
    }
    ~AomForm() override { SetFormRunner(previous_); }

    void Open()
    {
        form = std::make_unique<CAomDlg>(nullptr, record);
        (shown = form.get())->show();
    }

    CAomSettings record{nullptr, "AOM     100", "60", true};
    std::unique_ptr<CAomDlg> form;
    std::vector<std::string> childForms;

private:
    FormRunner previous_;
};

TEST_F(AomForm, CreationReadsTheTransmittersAndShowsTheRecord)
{
    ExtraSensors().Clear();
    Open();
    // The sim's transmitter 3 carries the second extra temperature sensor.
    EXPECT_EQ(ExtraSensors().TemperatureCode(3), 25);
    EXPECT_EQ(Text("Time Out Period"), "60");
    EXPECT_TRUE(FindButton(form.get(), "Enable Alarm Logging")->isChecked());
    QStringList tabs;
    for (int i = 0; i < form->Tabs()->count(); ++i) tabs << form->Tabs()->tabText(i);
    EXPECT_EQ(tabs.join(","), "Output 1,Output 2,Output 3,Output 4");
    EXPECT_EQ(form->Tabs()->currentIndex(), 0);
    EXPECT_TRUE(childForms.empty());
    // The module's time-out, lowered for the console exchange, is back.
    EXPECT_EQ(device.Param(1), "60");
}

struct FirstUse {
    const char* name;
    const char* stored;
    bool opensStation;
};

class AomFirstUse : public AomForm, public ::testing::WithParamInterface<FirstUse> {
protected:
    AomFirstUse() : AomForm("") {}
};

TEST_P(AomFirstUse, OnlyExactlyZeroOpensTheStationFormFirstThenOneIsStored)
{
    dir.Settings().SetValue(key::AomFirstUse, GetParam().stored);
    Open();
    EXPECT_EQ(childForms, GetParam().opensStation ? Lines{"Station Configuration"} : Lines{});
    EXPECT_EQ(dir.Settings().GetValue(key::AomFirstUse),
              GetParam().opensStation ? "1" : GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Table, AomFirstUse,
                         ::testing::Values(FirstUse{"Zero", "0", true}, FirstUse{"One", "1", false},
                                           FirstUse{"DoubleZero", "00", false},
                                           FirstUse{"Empty", "", false}),
                         [](const ::testing::TestParamInfo<FirstUse>& info) {
                             return std::string(info.param.name);
                         });

struct TimeoutCase {
    const char* name;
    const char* text;
    bool accepted;
};

class AomTimeout : public AomForm, public ::testing::WithParamInterface<TimeoutCase> {};

// Without a changed page OK writes the module settings only.
TEST_P(AomTimeout, FiveTo999AsTypedThenLoggingFlag)
{
    const TimeoutCase& c = GetParam();
    Open();
    device.ClearLines();
    Set("Time Out Period", c.text);
    Click("Enable Alarm Logging");
    Click("OK");
    if (c.accepted) {
        EXPECT_TRUE(messages.Texts().empty());
        EXPECT_EQ(device.Lines(), (Lines{"\n", std::string("MOD01 ") + c.text + "\n", "MOD24 0\n"}));
        EXPECT_EQ(form->result(), QDialog::Accepted);
    } else {
        EXPECT_EQ(messages.Texts(), (Lines{"Invalid Timeout Period! Must be between 5 and 999 sec."}));
        EXPECT_EQ(form->focusWidget()->accessibleName(), "Time Out Period");
        EXPECT_TRUE(device.Lines().empty());
        EXPECT_EQ(record.timeout, "60");
    }
}

INSTANTIATE_TEST_SUITE_P(Table, AomTimeout,
                         ::testing::Values(TimeoutCase{"Four", "4", false},
                                           TimeoutCase{"Thousand", "1000", false},
                                           TimeoutCase{"Empty", "", false},
                                           TimeoutCase{"Five", "5", true},
                                           TimeoutCase{"NineNineNine", "999", true},
                                           TimeoutCase{"TrailingMinus", "60-", true}),
                         [](const ::testing::TestParamInfo<TimeoutCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(AomForm, RefusedModuleSettingsKeepTheFormOpen)
{
    Open();
    device.SetFault(SimFault::ErrorSets);
    Click("OK");
    EXPECT_EQ(messages.Texts(), (Lines{kWriteFailed}));
    EXPECT_EQ(form->result(), QDialog::Rejected);
}

TEST_F(AomForm, ClearLogsAtOnceWithUntitledBoxes)
{
    Open();
    Click("Clear Logs");
    EXPECT_TRUE(device.Alarms().empty());
    device.SetFault(SimFault::ErrorSets);
    Click("Clear Logs");
    const auto shown = messages.Shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text + "|" + shown[1].text, "Logs Cleared!|Logs clearing failed!");
    EXPECT_EQ(std::tie(shown[0].caption, shown[0].icon),
              std::tuple(std::optional<std::string>(""), MsgIcon::Information));
    EXPECT_EQ(std::tie(shown[1].caption, shown[1].icon),
              std::tuple(std::optional<std::string>(""), MsgIcon::Error));
}

TEST_F(AomForm, StationAndUnitsFormsOpenFromTheirButtons)
{
    Open();
    Click("Station Config");
    Click("Set Units");
    EXPECT_EQ(childForms, (Lines{"Station Configuration", "Choose Units"}));
}

}  // namespace
