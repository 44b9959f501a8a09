// "Advanced" of an output, opened as the page's button opens it: read from
// corvane-sim, the activation buttons following the pulse width, the checks
// at OK and the two lines the module receives.

#include "AomSettings.h"
#include "CAomAdvancedDlg.h"
#include "FormSupport.h"
#include "../../loggers/gui/LoggerFormTest.h"

#include <QDialog>
#include <QRadioButton>

#include <functional>

namespace {

constexpr const char* kSettings =
    "AOM_ALARM_DURATION=7\nAOM_ALARM_DELAY=15\nAOM_CONTINOUS_PULSE=0\nAOM_ALARM_PULSE_WIDTH=0\n"
    "AOM_OPEN_CIRCUIT=1\n";

class AomAdvancedForm : public LoggerFormTest {
protected:
    AomAdvancedForm() : LoggerFormTest(SimKind::Aom, kSettings) {}

    // Opens the options of wire output 1 (read: pulse 250, normally closed)
    // and lets user act on the form; false when no form was run.
    bool Open(const std::function<void(QDialog&)>& user)
    {
        bool ran = false;
        const FormRunner previous = SetFormRunner([&](QDialog& dlg) {
            ran = true;
            (shown = &dlg)->show();
            device.ClearLines();
            user(dlg);
            return dlg.result();
        });
        OpenAdvancedOptions(nullptr, record, 1);
        SetFormRunner(previous);
        return ran;
    }
    std::string Activation()
    {
        return FindButton(shown, "Continuous")->isChecked() ? "Continuous" : "Pulse";
    }

    CAomSettings record{nullptr, "AOM     100", "60", true};
};

struct OkCase {
    const char* name;
    const char* field;
    const char* text;
    const char* click;       // a radio button clicked after typing, or ""
    const char* activation;  // the button checked before OK
    const char* outcome;     // the message refusing it, or the line of parameter 20
};

class AomAdvancedOk : public AomAdvancedForm, public ::testing::WithParamInterface<OkCase> {};

TEST_P(AomAdvancedOk, ButtonsFollowThePulseWidthAndOkChecksThenWrites)
{
    const OkCase& c = GetParam();
    ASSERT_TRUE(Open([&](QDialog& dlg) {
        Set(c.field, c.text);
        if (*c.click) Click(c.click);
        EXPECT_EQ(Activation(), c.activation);
        Click("OK");
        const bool refused = std::string(c.outcome).rfind("Invalid", 0) == 0;
        EXPECT_EQ(messages.Texts(), refused ? Lines{c.outcome} : Lines{});
        EXPECT_EQ(dlg.result(), refused ? QDialog::Rejected : QDialog::Accepted);
        if (refused) {
            EXPECT_EQ(dlg.focusWidget()->accessibleName(), c.field);
            EXPECT_TRUE(device.Lines().empty());
        } else {
            EXPECT_EQ(device.Lines(), (Lines{"\n", "MOD19 1 0 0\n", c.outcome}));
        }
    }));
}

INSTANTIATE_TEST_SUITE_P(
    Table, AomAdvancedOk,
    ::testing::Values(
        OkCase{"ZeroIsContinuous", "Pulse Width", "0", "", "Continuous", "MOD20 1 0 1\n"},
        OkCase{"DoubleZeroIsAPulseSentAsTyped", "Pulse Width", "00", "", "Pulse", "MOD20 1 00 1\n"},
        OkCase{"EmptyWidthIsAPulseAndRefused", "Pulse Width", "", "", "Pulse",
               "Invalid Pulse Width! Must be between 0 and 9999"},
        OkCase{"Width10000", "Pulse Width", "10000", "", "Pulse",
               "Invalid Pulse Width! Must be between 0 and 9999"},
        OkCase{"WidthMinusOne", "Pulse Width", "-1", "", "Pulse",
               "Invalid Pulse Width! Must be between 0 and 9999"},
        OkCase{"Width9999NormallyOpen", "Pulse Width", "9999", "Normally Open", "Pulse",
               "MOD20 1 9999 0\n"},
        OkCase{"EmptyReleaseDelay", "Delay on Release", "", "", "Pulse",
               "Invalid Alarm Duration! Must be between 0 and 999"},
        OkCase{"Reactivation1000", "Delay on Reactivation", "1000", "", "Pulse",
               "Invalid Alarm Reactivation! Must be between 0 and 999"},
        // The default width "0" is continuous activation, whatever was clicked.
        OkCase{"PulseWithDefaultWidthZero", "Pulse Width", "0", "Pulse", "Continuous",
               "MOD20 1 0 1\n"},
        OkCase{"ContinuousClicked", "Pulse Width", "250", "Continuous", "Continuous",
               "MOD20 1 0 1\n"}),
    [](const ::testing::TestParamInfo<OkCase>& info) { return std::string(info.param.name); });

TEST_F(AomAdvancedForm, OpensWithWhatTheModuleHoldsAndDefaultTakesTheSettings)
{
    ASSERT_TRUE(Open([&](QDialog& dlg) {
        EXPECT_EQ(dlg.windowTitle(), "Advanced - Output 2");
        EXPECT_EQ(Text("Pulse Width") + " " + Activation().c_str(), "250 Pulse");
        EXPECT_TRUE(FindButton(shown, "Normally Closed")->isChecked());
        Click("Default");
        EXPECT_EQ(Text("Delay on Release") + " " + Text("Delay on Reactivation") + " " +
                      Text("Pulse Width") + " " + Activation().c_str(), "7 15 0 Continuous");
        EXPECT_TRUE(FindButton(shown, "Normally Closed")->isChecked());
        Click("Cancel");
    }));
    EXPECT_TRUE(device.Lines().empty());
    EXPECT_EQ(record.pulseWidth, "250");
}

TEST_F(AomAdvancedForm, SilentModuleShowsTheRetrieveMessageAndNoForm)
{
    device.SetFault(SimFault::NoLogger);
    EXPECT_FALSE(Open([](QDialog&) {}));
    EXPECT_EQ(messages.Texts(), (Lines{"Failed to retrieve configuration in the module.  \n\t\tPlease "
                                       "check Serial Port settings and connections."}));
}

TEST_F(AomAdvancedForm, RefusedWriteKeepsTheFormOpenWithItsOwnMessage)
{
    ASSERT_TRUE(Open([&](QDialog& dlg) {
        device.SetFault(SimFault::ErrorSets);
        Click("Normally Open");
        Click("OK");
        EXPECT_EQ(messages.Texts(), (Lines{"Failed to set configuration in the module.  \n\t\tPlease "
                                           "check Serial Port settings and connections."}));
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_TRUE(record.normallyOpen);
    }));
}

}  // namespace
