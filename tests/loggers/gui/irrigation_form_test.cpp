// "Irrigation Configuration" and "Advanced" driven like a user: units both
// ways, the checks at OK, the stored rain unit and what the logger receives.

#include "CIrrigationAdvancedDlg.h"
#include "CIrrigationConfigDlg.h"
#include "LoggerFormTest.h"

#include <QLabel>

namespace {

constexpr const char* kSettings =
    "IRRIGATION_RESIDENTIAL=1\nIRRIGATION_CYCLE=3\nIRRIGATION_AMOUNT=100\n"
    "IRRIGATION_MAX_RAIN=150\nIRRIGATION_RAIN_RATE=50\nIRRIGATION_RAIN_TOTAL=300\n"
    "IRRIGATION_TIMEOUT=60\nIRRIGATION_ALARM_DURATION=5\nIRRIGATION_ALARM_DELAY=10\n"
    "IRRIGATION_PULSE_WIDTH=500\nIRRIGATION_CONTINUOUS_PULSE=1\nIRRIGATION_OPEN_CIRCUIT=1\n";

class IrrigationForm : public LoggerFormTest {
protected:
    IrrigationForm() : LoggerFormTest(SimKind::Irr, kSettings) {}
    void Open(int rainUnit = 1, const char* cutoff = "0.50", bool residential = true)
    {
        record = std::make_unique<CIrrigationSettings>(
            nullptr, "IRR     202", "60", residential, residential ? "3" : "0", "0.00", "1.00",
            "1.50", "3.00", cutoff, "5", "10", "500", true, true);
        record->rainUnit = rainUnit;
        form = std::make_unique<CIrrigationConfigDlg>(nullptr, *record);
        form->show();
    }
    QString Text(const QString& field) { return LoggerFormTest::Text(form.get(), field); }
    void Set(const QString& field, const QString& text) { SetFieldText(form.get(), field, text); }
    void Click(const QString& button) { LoggerFormTest::Click(form.get(), button); }
    bool AmountEnabled() { return FindField(form.get(), "Irrigation Amount")->isEnabled(); }

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

struct OkCase { bool mm; const char* field; const char* text; int parameter; const char* held; };

class IrrigationOk : public IrrigationForm, public ::testing::WithParamInterface<OkCase> {};

// `held`: what the logger holds afterwards, or the message refusing the text.
TEST_P(IrrigationOk, RangeOfShownUnitThenHundredthsOfAnInch)
{
    const OkCase& c = GetParam();
    Open(c.mm ? 2 : 1);
    Set(c.field, c.text);
    Click("OK");
    if (std::string(c.held).find("Invalid") == std::string::npos) {
        EXPECT_TRUE(messages.Texts().empty());
        EXPECT_EQ(device.Param(c.parameter), c.held);
    } else {
        EXPECT_EQ(messages.Texts(), (Lines{c.held}));
        EXPECT_EQ(form->focusWidget()->accessibleName(), c.field);
        EXPECT_TRUE(device.Lines().empty());
    }
}

// Limits are compared in single precision, as the logger's own software does.
INSTANTIATE_TEST_SUITE_P(
    Table, IrrigationOk,
    ::testing::Values(
        OkCase{false, "Irrigation Amount", "9.99", 25, "999"},
        OkCase{false, "Irrigation Amount", "9.991", 25,
               "Invalid Irrigation Amount! Must be between 0.00 and 9.99"},
        OkCase{true, "Irrigation Amount", "253.746", 25, "999"},
        OkCase{true, "Irrigation Amount", "253.75", 25,
               "Invalid Irrigation Amount! Must be between 0.00 and 253.75"},
        OkCase{false, "Rain Rate Cut-Off", "0.29", 10, "29"},
        OkCase{false, "Rain Rate Cut-Off", "0.57", 10, "57"},
        OkCase{false, "Rain Rate Cut-Off", "--", 10, "255"},
        OkCase{true, "Rain Rate Cut-Off", "25.15", 10,
               "Invalid Rain Cutoff! Must be between 0.00 and 25.15"},
        OkCase{false, "Irrigation Cycle", "256", 8,
               "Invalid irrigation cycle! Must be between 1 and 255"},
        OkCase{false, "Time Out Period", "4", 1,
               "Invalid Timeout Period! Must be between 5 and 255 sec."}));

TEST_F(IrrigationForm, MillimetresOpenConvertedAndAreStoredAsInches)
{
    Open(2);
    EXPECT_EQ(Text("Maximum Effective Daily Rain"), "38.1");
    Set("Irrigation Amount", "25.4");
    Click("OK");
    EXPECT_EQ(record->amount, "1.00");
    EXPECT_EQ(device.Lines().at(9), "MOD25 100\n");
    EXPECT_EQ(dir.Settings().GetValue("IRRIGATION_RAIN_UNIT"), "2");
}

TEST_F(IrrigationForm, WithoutResidentialInvalidScheduleStillWritesCycleZero)
{
    Open(1, "0.50", false);
    EXPECT_FALSE(AmountEnabled());
    Click("Use Residential");
    EXPECT_TRUE(AmountEnabled());
    Set("Irrigation Cycle", "x");
    Set("Irrigation Amount", "99");
    Click("Use Residential");
    EXPECT_FALSE(AmountEnabled());
    Click("OK");
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(device.Lines().at(7), "MOD08 0\n");
    EXPECT_EQ(device.Lines().at(9), "MOD25 100\n");
}

TEST_F(IrrigationForm, UnitSwitchesBothWaysKeepNoCutoff)
{
    Open(1, "255");
    Set("Irrigation Amount", "1.004");
    Click("inches");  // already shown: nothing is converted
    EXPECT_EQ(Text("Rain Rate Cut-Off") + " " + Text("Irrigation Amount"), "-- 1.004");
    Click("mm");
    EXPECT_EQ(Text("Rain Rate Cut-Off") + " " + Text("Irrigation Amount"), "-- 25.5");
    Click("inches");
    EXPECT_EQ(Text("Rain Rate Cut-Off") + " " + Text("Irrigation Amount"), "-- 1.00");
    Click("OK");
    EXPECT_EQ(device.Param(10), "255");
}

TEST_F(IrrigationForm, DefaultFillsFromTheSettingsFileInInches)
{
    Open(2, "255", false);
    Click("Default");
    EXPECT_TRUE(AmountEnabled());
    EXPECT_TRUE(form->ShowsInches());
    for (auto [field, shown] : {std::pair{"Irrigation Cycle", "3"}, {"Rain Rate Cut-Off", "0.50"},
                                {"Maximum Effective Rain Total", "3.00"}, {"Time Out Period", "60"}})
        EXPECT_EQ(Text(field), shown) << field;
    EXPECT_TRUE(device.Lines().empty());
}

TEST_F(IrrigationForm, AdvancedRanges)
{
    Open();
    for (auto [field, text, message] :
         {std::tuple{"Delay on Release", "0", ""}, {"Delay on Release", "999", ""},
          {"Delay on Release", "1000", "Invalid Alarm Duration! Must be between 0 and 999"},
          {"Delay on Reactivation", "1000", "Invalid Alarm Reactivation! Must be between 0 and 999"},
          {"Pulse Width", "0", "Invalid Pulse Width! Must be between 1 and 9999"},
          {"Pulse Width", "9999", ""}}) {
        CIrrigationAdvancedDlg advanced(nullptr, *record);
        messages.Clear();
        device.ClearLines();
        SetFieldText(&advanced, field, text);
        LoggerFormTest::Click(&advanced, "OK");
        const bool refused = *message != '\0';
        EXPECT_EQ(messages.Texts(), refused ? Lines{message} : Lines{}) << field << text;
        EXPECT_EQ(device.Lines().size(), refused ? 0u : 6u) << field << text;
        if (refused) {
            EXPECT_EQ(advanced.focusWidget()->accessibleName(), field);
        }
    }
}

TEST_F(IrrigationForm, AdvancedDefaultFromSettingsThenOkWritesThreeToSeven)
{
    Open();
    CIrrigationAdvancedDlg advanced(nullptr, *record);
    EXPECT_TRUE(FindButton(&advanced, "Normally Open")->isChecked());
    LoggerFormTest::Click(&advanced, "Default");
    EXPECT_TRUE(FindButton(&advanced, "Normally Closed")->isChecked());
    EXPECT_TRUE(FindButton(&advanced, "Continuous")->isChecked());
    SetFieldText(&advanced, "Pulse Width", "250");
    LoggerFormTest::Click(&advanced, "Pulse");
    LoggerFormTest::Click(&advanced, "OK");
    EXPECT_EQ(device.Lines(),
              (Lines{"\n", "MOD03 5\n", "MOD04 10\n", "MOD05 250\n", "MOD06 0\n", "MOD07 1\n"}));
    EXPECT_FALSE(record->normallyOpen || record->continuous);
    EXPECT_EQ(record->pulseWidth, "250");
}

}  // namespace
