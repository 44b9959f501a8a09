// "Irrigation Configuration" and "Advanced" driven like a user: units both
// ways, the checks at OK, the stored rain unit and what the logger receives.

#include "loggers/ui/CIrrigationAdvancedDlg.h"
#include "loggers/ui/CIrrigationConfigDlg.h"
#include "LoggerFormTest.h"

namespace {

constexpr const char* kSettings =
    "IRRIGATION_RESIDENTIAL=1\nIRRIGATION_CYCLE=3\nIRRIGATION_RAIN_RATE=50\nIRRIGATION_TIMEOUT=60\n"
    "IRRIGATION_RAIN_TOTAL=300\nIRRIGATION_ALARM_DURATION=5\nIRRIGATION_ALARM_DELAY=10\n"
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
        (shown = form.get())->show();
    }
    bool AmountEnabled() { return FindField(form.get(), "Irrigation Amount")->isEnabled(); }

    std::unique_ptr<CIrrigationSettings> record;
    std::unique_ptr<CIrrigationConfigDlg> form;
};

struct OkCase { int unit; const char* field; const char* text; int param; const char* held; };
void PrintTo(const OkCase& c, std::ostream* os) { *os << c.field << " \"" << c.text << (c.unit == 1 ? "\" in" : "\" mm"); }

class IrrigationOk : public IrrigationForm, public ::testing::WithParamInterface<OkCase> {};

// unit: 1 inches, 2 millimetres; held: what the logger holds afterwards, or
// the message refusing the text.
TEST_P(IrrigationOk, RangeOfShownUnitThenHundredthsOfAnInch)
{
    const OkCase& c = GetParam();
    Open(c.unit);
    Set(c.field, c.text);
    Click("OK");
    if (std::string(c.held).find("Invalid") == std::string::npos) {
        EXPECT_TRUE(messages.Texts().empty());
        EXPECT_EQ(device.Param(c.param), c.held);
    } else {
        EXPECT_EQ(messages.Texts(), (Lines{c.held}));
        EXPECT_EQ(form->focusWidget()->accessibleName(), c.field);
        EXPECT_TRUE(device.Lines().empty());
    }
}

// The limits of the unit shown; the logger takes hundredths of an inch.
INSTANTIATE_TEST_SUITE_P(Table, IrrigationOk,
    ::testing::Values(OkCase{1, "Irrigation Amount", "9.99", 25, "999"},
        OkCase{1, "Irrigation Amount", "9.991", 25, "Invalid Irrigation Amount! Must be between 0.00 and 9.99"},
        OkCase{2, "Irrigation Amount", "253.746", 25, "999"},
        OkCase{2, "Irrigation Amount", "253.75", 25, "Invalid Irrigation Amount! Must be between 0.00 and 253.75"},
        OkCase{1, "Rain Rate Cut-Off", "0.29", 10, "29"},
        OkCase{1, "Rain Rate Cut-Off", "--", 10, "255"},
        OkCase{2, "Rain Rate Cut-Off", "25.15", 10, "Invalid Rain Cutoff! Must be between 0.00 and 25.15"},
        OkCase{1, "Irrigation Cycle", "256", 8, "Invalid irrigation cycle! Must be between 1 and 255"}));

TEST_F(IrrigationForm, WithoutResidentialInvalidScheduleStillWritesCycleZero)
{
    Open(1, "0.50", false);
    EXPECT_FALSE(AmountEnabled());
    Click("Use Residential");
    Set("Irrigation Cycle", "x");
    Set("Irrigation Amount", "99");
    EXPECT_TRUE(AmountEnabled());
    Click("Use Residential");
    Click("OK");
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(device.Lines().at(7) + device.Lines().at(9), "MOD08 0\nMOD25 100\n");
}

TEST_F(IrrigationForm, UnitSwitchesBothWaysKeepNoCutoffAndMillimetresAreStoredAsInches)
{
    Open(1, "255");
    Set("Irrigation Amount", "1.004");
    // The unit already shown converts nothing; then mm and back.
    for (auto [unit, shown] : {std::pair{"inches", "1.004"}, {"mm", "25.5"}, {"inches", "1.00"}}) {
        Click(unit);
        EXPECT_EQ(Text("Irrigation Amount"), shown) << unit;
    }
    Click("mm");
    Click("OK");
    EXPECT_EQ(device.Param(25) + " " + device.Param(10), "100 255");
    EXPECT_EQ(dir.Settings().GetValue("IRRIGATION_RAIN_UNIT"), "2");
}

// Only the exact "--" is kept as "no cut-off" by a switch; other text is a
// number to convert or to clear. At OK any text holding "--" means 255.
TEST_F(IrrigationForm, UnitSwitchOfTheCutoff)
{
    struct Case { int unit; const char* text; const char* shown; const char* sent; };
    for (const Case& c : {Case{1, "--", "--", "255"}, Case{2, "--", "--", "255"},
                          Case{1, "5--", "", ""}, Case{1, "0.5--", "12.7", "50"},
                          Case{2, "5--", "0.20", "20"}, Case{2, "x--", "", ""}}) {
        SCOPED_TRACE(std::string(c.unit == 1 ? "inches " : "mm ") + c.text);
        Open(c.unit);
        device.ClearLines();
        Set("Rain Rate Cut-Off", c.text);
        Click(c.unit == 1 ? "mm" : "inches");
        EXPECT_EQ(Text("Rain Rate Cut-Off"), c.shown);
        Click("OK");
        EXPECT_EQ(*c.sent ? device.Param(10) : messages.Texts().at(0).substr(0, 19),
                  *c.sent ? c.sent : "Invalid Rain Cutoff");
        messages.Clear();
    }
}

TEST_F(IrrigationForm, DefaultFillsFromTheSettingsFileInInches)
{
    Open(2, "255", false);
    EXPECT_EQ(Text("Maximum Effective Daily Rain"), "38.1");
    Click("Default");
    EXPECT_TRUE(AmountEnabled() && form->ShowsInches());
    EXPECT_EQ(Text("Irrigation Cycle") + " " + Text("Rain Rate Cut-Off") + " " + Text("Maximum Effective Rain Total"),
              "3 0.50 3.00");
    EXPECT_TRUE(device.Lines().empty());
}

TEST_F(IrrigationForm, AdvancedRangesThenDefaultFromSettingsAndTheWritesThreeToSeven)
{
    Open();
    for (auto [field, text, message] : {std::tuple{"Delay on Release", "0", ""}, {"Delay on Release", "999", ""},
          {"Delay on Release", "1000", "Invalid Alarm Duration! Must be between 0 and 999"},
          {"Delay on Reactivation", "1000", "Invalid Alarm Reactivation! Must be between 0 and 999"},
          {"Pulse Width", "0", "Invalid Pulse Width! Must be between 1 and 9999"}, {"Pulse Width", "9999", ""}}) {
        CIrrigationAdvancedDlg advanced(nullptr, *record);
        shown = &advanced;
        messages.Clear();
        device.ClearLines();
        Set(field, text);
        Click("OK");
        const QWidget* focus = *message ? advanced.focusWidget() : nullptr;
        EXPECT_EQ(messages.Texts(), *message ? Lines{message} : Lines{}) << field << text;
        EXPECT_EQ(focus ? focus->accessibleName() : field, field);
        EXPECT_EQ(device.Lines().size(), *message ? 0u : 6u) << field << text;
    }
    CIrrigationAdvancedDlg advanced(nullptr, *record);
    shown = &advanced;
    device.ClearLines();
    Click("Default");  // IRRIGATION_OPEN_CIRCUIT 1: normally closed
    EXPECT_TRUE(FindButton(shown, "Normally Closed")->isChecked());
    EXPECT_TRUE(FindButton(shown, "Continuous")->isChecked());
    Set("Pulse Width", "250");
    Click("Pulse");
    Click("OK");
    EXPECT_EQ(device.Lines(), (Lines{"\n", "MOD03 5\n", "MOD04 10\n", "MOD05 250\n", "MOD06 0\n", "MOD07 1\n"}));
    EXPECT_FALSE(record->normallyOpen || record->continuous);
}

}  // namespace
