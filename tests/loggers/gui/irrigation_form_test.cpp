// "Irrigation Configuration" and "Advanced" driven like a user: units both
// ways, the checks at OK, the stored rain unit and what the logger receives.

#include "CCircuitTestDlg.h"
#include "CIrrigationAdvancedDlg.h"
#include "CIrrigationConfigDlg.h"
#include "FormFinder.h"
#include "FormSupport.h"
#include "IrrTestDevice.h"
#include "TestSupport.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

constexpr const char* kConfig =
    "IRRIGATION_RESIDENTIAL=1\nIRRIGATION_CYCLE=3\nIRRIGATION_AMOUNT=100\n"
    "IRRIGATION_MAX_RAIN=150\nIRRIGATION_RAIN_RATE=50\nIRRIGATION_RAIN_TOTAL=300\n"
    "IRRIGATION_TIMEOUT=60\nIRRIGATION_RAIN_UNIT=1\nIRRIGATION_ALARM_DURATION=5\n"
    "IRRIGATION_ALARM_DELAY=10\nIRRIGATION_PULSE_WIDTH=500\nIRRIGATION_CONTINUOUS_PULSE=1\n"
    "IRRIGATION_OPEN_CIRCUIT=1\n";

class IrrigationForm : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.Opened()); }
    void Open(int rainUnit = 1, const std::string& cutoff = "0.50", bool residential = true)
    {
        record = std::make_unique<CIrrigationSettings>(
            nullptr, "IRR     202", "60", residential, residential ? "3" : "0", "0.00", "1.00",
            "1.50", "3.00", cutoff, "5", "10", "500", true, true);
        record->rainUnit = rainUnit;
        form = std::make_unique<CIrrigationConfigDlg>(nullptr, *record);
        form->show();
    }
    QString Text(const QString& name) { return FindField<QLineEdit>(form.get(), name)->text(); }
    void Set(const QString& name, const QString& text)
    {
        FindField<QLineEdit>(form.get(), name)->setText(text);
    }
    // click(): the whole user click (pressed, released, toggled, clicked)
    // wherever the style puts a radio button's sensitive area.
    void Click(const QString& button) { FindButton(form.get(), button)->click(); }
    std::string Sent(int parameter)
    {
        char prefix[8];
        std::snprintf(prefix, sizeof prefix, "MOD%02d ", parameter);
        for (const auto& line : device.Lines())
            if (line.rfind(prefix, 0) == 0) return line.substr(6, line.size() - 7);
        return "(not sent)";
    }

    TempWorkDir dir{kConfig};
    InstantPauses pauses;
    RecordingMessages messages;
    IrrTestDevice device{dir, SimKind::Irr};
    std::unique_ptr<CIrrigationSettings> record;
    std::unique_ptr<CIrrigationConfigDlg> form;
};

TEST_F(IrrigationForm, FullOkSendsElevenParametersInOrder)
{
    Open();
    EXPECT_EQ(FindField<QLabel>(form.get(), "Logger Type:")->text(), "IRR  2.02");
    Click("OK");
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(device.Lines(),
              (Lines{"\n", "MOD01 60\n", "MOD03 5\n", "MOD04 10\n", "MOD05 500\n", "MOD06 1\n",
                     "MOD07 0\n", "MOD08 3\n", "MOD10 50\n", "MOD25 100\n", "MOD26 150\n",
                     "MOD27 300\n"}));
    EXPECT_EQ(dir.Settings().GetValue("IRRIGATION_RAIN_UNIT"), "1");
}

struct RainCase {
    bool mm;
    const char* field;
    const char* text;
    int parameter;
    const char* sent;     // nullptr: refused with message
    const char* message;
};

class IrrigationRain : public IrrigationForm, public ::testing::WithParamInterface<RainCase> {};

TEST_P(IrrigationRain, RangeOfShownUnitThenHundredthsOfAnInch)
{
    const RainCase& c = GetParam();
    Open(c.mm ? 2 : 1);
    Set(c.field, c.text);
    Click("OK");
    if (c.sent) {
        EXPECT_TRUE(messages.Texts().empty());
        EXPECT_EQ(Sent(c.parameter), c.sent);
    } else {
        EXPECT_EQ(messages.Texts(), (Lines{c.message}));
        EXPECT_EQ(form->focusWidget()->accessibleName(), c.field);
        EXPECT_TRUE(device.Lines().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, IrrigationRain,
    ::testing::Values(
        RainCase{false, "Irrigation Amount", "9.99", 25, "999", nullptr},
        RainCase{true, "Irrigation Amount", "253.746", 25, "999", nullptr},
        RainCase{true, "Irrigation Amount", "253.75", 25, nullptr,
                 "Invalid Irrigation Amount! Must be between 0.00 and 253.75"},
        RainCase{true, "Irrigation Amount", "25.4", 25, "100", nullptr},
        RainCase{false, "Maximum Effective Daily Rain", "10", 26, nullptr,
                 "Invalid Maximum Effective Daily Rain! Must be between 0.00 and 9.99"},
        RainCase{false, "Rain Rate Cut-Off", "0.29", 10, "29", nullptr},
        RainCase{false, "Rain Rate Cut-Off", "--", 10, "255", nullptr},
        RainCase{true, "Rain Rate Cut-Off", "25.15", 10, nullptr,
                 "Invalid Rain Cutoff! Must be between 0.00 and 25.15"},
        RainCase{false, "Irrigation Cycle", "256", 8, nullptr,
                 "Invalid irrigation cycle! Must be between 1 and 255"},
        RainCase{false, "Time Out Period", "4", 1, nullptr,
                 "Invalid Timeout Period! Must be between 5 and 255 sec."}));

TEST_F(IrrigationForm, MillimetresOpenConvertedAndAreStoredAsInches)
{
    Open(2);
    EXPECT_EQ(Text("Maximum Effective Daily Rain"), "38.1");
    Set("Irrigation Amount", "25.4");
    Click("OK");
    EXPECT_EQ(record->amount, "1.00");
    EXPECT_EQ(dir.Settings().GetValue("IRRIGATION_RAIN_UNIT"), "2");
}

TEST_F(IrrigationForm, WithoutResidentialInvalidScheduleStillWritesCycleZero)
{
    Open(1, "0.50", false);
    EXPECT_FALSE(FindField(form.get(), "Irrigation Amount")->isEnabled());
    EXPECT_TRUE(FindButton(form.get(), "mm")->isEnabled());
    Click("Use Residential");
    EXPECT_TRUE(FindField(form.get(), "Irrigation Amount")->isEnabled());
    Set("Irrigation Cycle", "x");
    Set("Irrigation Amount", "99");
    Click("Use Residential");
    EXPECT_FALSE(FindField(form.get(), "Irrigation Amount")->isEnabled());
    Click("OK");
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(Sent(8), "0");
    EXPECT_EQ(Sent(25), "100");
}

TEST_F(IrrigationForm, UnitSwitchesBothWaysKeepNoCutoff)
{
    Open(1, "255");
    EXPECT_EQ(Text("Rain Rate Cut-Off"), "--");
    Set("Irrigation Amount", "1.004");
    Click("inches");  // already shown: nothing is converted
    EXPECT_EQ(Text("Irrigation Amount"), "1.004");
    Click("mm");
    EXPECT_EQ(Text("Rain Rate Cut-Off"), "--");
    EXPECT_EQ(Text("Irrigation Amount"), "25.5");
    EXPECT_EQ(record->rainUnit, 0);
    Click("inches");
    EXPECT_EQ(Text("Rain Rate Cut-Off"), "--");
    EXPECT_EQ(Text("Irrigation Amount"), "1.00");
    Click("OK");
    EXPECT_EQ(Sent(10), "255");
}

TEST_F(IrrigationForm, DefaultFillsFromTheSettingsFileInInches)
{
    Open(2, "255", false);
    Click("Default");
    EXPECT_TRUE(FindButton(form.get(), "Use Residential")->isChecked());
    EXPECT_TRUE(FindField(form.get(), "Irrigation Amount")->isEnabled());
    EXPECT_EQ(Text("Irrigation Cycle"), "3");
    EXPECT_EQ(Text("Rain Rate Cut-Off"), "0.50");
    EXPECT_EQ(Text("Maximum Effective Rain Total"), "3.00");
    EXPECT_EQ(Text("Time Out Period"), "60");
    EXPECT_TRUE(FindButton(form.get(), "inches")->isChecked());
    EXPECT_TRUE(form->ShowsInches());
    EXPECT_TRUE(device.Lines().empty());
}

TEST_F(IrrigationForm, AdvancedAndCircuitTestOpenAsChildForms)
{
    Open();
    std::vector<std::string> opened;
    auto previous = SetFormRunner([&](QDialog& d) {
        opened.push_back(d.windowTitle().toStdString());
        EXPECT_TRUE(dynamic_cast<CIrrigationAdvancedDlg*>(&d) || dynamic_cast<CCircuitTestDlg*>(&d));
        return int(QDialog::Rejected);
    });
    Click("Advanced");
    Click("Circuit Test");
    SetFormRunner(std::move(previous));
    EXPECT_EQ(opened, (Lines{"Advanced", "Circuit Test"}));
    EXPECT_TRUE(device.Lines().empty());
}

class AdvancedForm : public IrrigationForm {
protected:
    void OpenAdvanced()
    {
        Open();
        advanced = std::make_unique<CIrrigationAdvancedDlg>(nullptr, *record);
    }
    std::unique_ptr<CIrrigationAdvancedDlg> advanced;
};

TEST_F(AdvancedForm, RangesOfTheThreeFields)
{
    struct Case {
        const char* field;
        const char* text;
        const char* message;  // nullptr: accepted
    } cases[] = {
        {"Delay on Release", "0", nullptr},
        {"Delay on Release", "999", nullptr},
        {"Delay on Release", "1000", "Invalid Alarm Duration! Must be between 0 and 999"},
        {"Delay on Reactivation", "1000", "Invalid Alarm Reactivation! Must be between 0 and 999"},
        {"Pulse Width", "0", "Invalid Pulse Width! Must be between 1 and 9999"},
        {"Pulse Width", "9999", nullptr},
    };
    for (const auto& c : cases) {
        OpenAdvanced();
        messages.Clear();
        device.ClearLines();
        SetFieldText(advanced.get(), c.field, c.text);
        FindButton(advanced.get(), "OK")->click();
        if (c.message) {
            EXPECT_EQ(messages.Texts(), (Lines{c.message})) << c.field << " " << c.text;
            EXPECT_EQ(advanced->focusWidget()->accessibleName(), c.field);
            EXPECT_TRUE(device.Lines().empty());
        } else {
            EXPECT_TRUE(messages.Texts().empty()) << c.field << " " << c.text;
            EXPECT_EQ(advanced->result(), QDialog::Accepted);
            EXPECT_EQ(device.Lines().size(), 6u);
        }
    }
}

TEST_F(AdvancedForm, DefaultFromSettingsThenOkWritesThreeToSeven)
{
    OpenAdvanced();
    EXPECT_TRUE(FindButton(advanced.get(), "Normally Open")->isChecked());
    FindButton(advanced.get(), "Default")->click();
    EXPECT_TRUE(FindButton(advanced.get(), "Normally Closed")->isChecked());
    EXPECT_TRUE(FindButton(advanced.get(), "Continuous")->isChecked());
    EXPECT_TRUE(device.Lines().empty());
    SetFieldText(advanced.get(), "Pulse Width", "250");
    FindButton(advanced.get(), "Pulse")->click();
    FindButton(advanced.get(), "OK")->click();
    EXPECT_EQ(device.Lines(),
              (Lines{"\n", "MOD03 5\n", "MOD04 10\n", "MOD05 250\n", "MOD06 0\n", "MOD07 1\n"}));
    EXPECT_FALSE(record->normallyOpen);
    EXPECT_FALSE(record->continuous);
    EXPECT_EQ(record->pulseWidth, "250");
}

}  // namespace
