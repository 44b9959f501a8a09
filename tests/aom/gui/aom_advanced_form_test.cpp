// "Advanced" of an output, opened as the page's button opens it: read from
// corvane-sim, the activation buttons following the pulse width, the checks
// at OK and the two lines the module receives.

#include "AomSettings.h"
#include "CAomAdvancedDlg.h"
#include "FormSupport.h"
#include "../../loggers/gui/LoggerFormTest.h"

#include <functional>

namespace {


class AomAdvancedForm : public LoggerFormTest {
protected:
    AomAdvancedForm()
        : LoggerFormTest(SimKind::Aom, "AOM_ALARM_DURATION=7\nAOM_ALARM_DELAY=15\nAOM_CONTINOUS_PULSE=0\n"
                                       "AOM_ALARM_PULSE_WIDTH=0\nAOM_OPEN_CIRCUIT=1\n") {}

    // Opens the options of wire output 1 (the sim holds pulse 250, normally
    // closed) and lets user act on it; false when no form was run.
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
    QString Activation() { return FindButton(shown, "Continuous")->isChecked() ? " Continuous" : " Pulse"; }

    CAomSettings record{nullptr, "AOM     100", "60", true};
};

struct OkCase {
    const char* name;
    const char* field;
    const char* text;
    const char* click;    // a radio button clicked after typing, or ""
    const char* outcome;  // the button checked before OK, then the line of parameter 20 or the message
};

class AomAdvancedOk : public AomAdvancedForm, public ::testing::WithParamInterface<OkCase> {};

TEST_P(AomAdvancedOk, ButtonsFollowThePulseWidthThenOkChecksAndWrites)
{
    const OkCase& c = GetParam();
    ASSERT_TRUE(Open([&](QDialog& dlg) {
        Set(c.field, c.text);
        if (*c.click) Click(c.click);
        const QString activation = Activation();
        Click("OK");
        const std::string result = messages.Texts().empty() ? device.Lines().back() : messages.Texts().back();
        EXPECT_EQ(activation.toStdString() + " " + result, c.outcome);
        EXPECT_EQ(dlg.result() == QDialog::Accepted, messages.Texts().empty());
        if (!messages.Texts().empty()) {
            EXPECT_EQ(dlg.focusWidget()->accessibleName(), c.field);
        }
    }));
}

INSTANTIATE_TEST_SUITE_P(
    Table, AomAdvancedOk,
    ::testing::Values(
        OkCase{"ZeroIsContinuous", "Pulse Width", "0", "", " Continuous MOD20 1 0 1\n"},
        OkCase{"DoubleZeroIsAPulseSentAsTyped", "Pulse Width", "00", "Normally Closed", " Pulse MOD20 1 00 1\n"},
        OkCase{"Width10000", "Pulse Width", "10000", "", " Pulse Invalid Pulse Width! Must be between 0 and 9999"},
        OkCase{"WidthMinusOne", "Pulse Width", "-1", "", " Pulse Invalid Pulse Width! Must be between 0 and 9999"},
        OkCase{"NormallyOpenEndsInZero", "Pulse Width", "9999", "Normally Open", " Pulse MOD20 1 9999 0\n"},
        OkCase{"EmptyReleaseDelay", "Delay on Release", "", "",
               " Pulse Invalid Alarm Duration! Must be between 0 and 999"},
        // The default width "0" is continuous, even when "Pulse" was clicked.
        OkCase{"PulseWithDefaultWidthZero", "Pulse Width", "0", "Pulse", " Continuous MOD20 1 0 1\n"},
        OkCase{"ContinuousClicked", "Pulse Width", "250", "Continuous", " Continuous MOD20 1 0 1\n"}),
    [](const ::testing::TestParamInfo<OkCase>& info) { return std::string(info.param.name); });

TEST_F(AomAdvancedForm, OpensWithWhatTheModuleHoldsAndDefaultTakesTheSettings)
{
    ASSERT_TRUE(Open([&](QDialog& dlg) {
        EXPECT_EQ(dlg.windowTitle() + " " + Text("Pulse Width") + Activation(), "Advanced - Output 2 250 Pulse");
        EXPECT_TRUE(FindButton(shown, "Normally Closed")->isChecked());
        Click("Normally Open");
        Click("Default");
        EXPECT_EQ(Text("Delay on Release") + " " + Text("Delay on Reactivation") + " " + Text("Pulse Width") +
                      Activation(), "7 15 0 Continuous");
        EXPECT_TRUE(FindButton(shown, "Normally Closed")->isChecked());
        device.SetFault(SimFault::ErrorSets);
        Click("OK");
        EXPECT_EQ(messages.Texts(), (Lines{"Failed to set configuration in the module.  \n\t\tPlease check "
                                           "Serial Port settings and connections."}));
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }));
}

TEST_F(AomAdvancedForm, SilentModuleShowsTheRetrieveMessageAndNoForm)
{
    device.SetFault(SimFault::NoLogger);
    EXPECT_FALSE(Open([](QDialog&) {}));
    EXPECT_EQ(messages.Texts(), (Lines{"Failed to retrieve configuration in the module.  \n\t\tPlease check "
                                       "Serial Port settings and connections."}));
}

}  // namespace
