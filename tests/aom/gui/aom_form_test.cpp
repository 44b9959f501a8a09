// "Alarm Output Module" on corvane-sim: what it loads, the first showing,
// OK's order of writes and the "Station Config" button; then the forms it
// opens: an output's "Advanced", "Choose Units" and "Station Configuration".

#include "aom/AlarmParameterTable.h"
#include "aom/ui/CAomAdvancedDlg.h"
#include "aom/ui/CAomConditionsPage.h"
#include "aom/ui/CAomDlg.h"
#include "aom/ui/CAomOutputTabCtrl.h"
#include "aom/ui/CAomStationConfigDlg.h"
#include "aom/ui/CAomUnitsDlg.h"
#include "base/ui/FormSupport.h"
#include "base/NumericText.h"
#include "base/Pause.h"
#include "settings/SettingsKeys.h"
#include "../../loggers/gui/LoggerFormTest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

#include <functional>

namespace {

class AomForm : public LoggerFormTest {
protected:
    AomForm()
        : LoggerFormTest(SimKind::Aom, "AOM_FIRST_USE=1\nAOM_TEMP_UNIT=3\nAOM_RAIN_UNIT=1\nAOM_WIND_UNIT=7\n"
                                       "AOM_STATION_CONFIG=0$\nAOM_ALARM_DURATION=7\nAOM_ALARM_DELAY=15\n"
                                       "AOM_CONTINOUS_PULSE=0\nAOM_ALARM_PULSE_WIDTH=0\nAOM_OPEN_CIRCUIT=1\n")
    {
        previous_ = SetFormRunner(
            [this](QDialog& d) { return childForms.push_back(d.windowTitle().toStdString()), int(QDialog::Rejected); });
    }
    ~AomForm() override { SetFormRunner(previous_); }
    void Open() { form = std::make_unique<CAomDlg>(nullptr, record), (shown = form.get())->show(); }
    // A row's control on an output's page: "Row 3 parameter", "Row 3 value 1".
    template <class T>
    T* Row(int k, int row, const char* what)
    { return FindField<T>(form->Tabs()->Page(k), QString("Row %1 %2").arg(row).arg(what)); }
    std::string Shows(int output, int row, const char* what)
    {
        auto* list = Row<QComboBox>(output, row, what);
        return (list ? list->currentText() : Row<QLineEdit>(output, row, what)->text()).toStdString();
    }
    void SetValue(int output, const char* text) { Row<QLineEdit>(output, 1, "value 1")->setText(text); }

    CAomSettings record{nullptr, "AOM     100", "60", true};
    std::unique_ptr<CAomDlg> form;
    Lines childForms;

private:
    FormRunner previous_;
};

TEST_F(AomForm, LoadsTheTransmittersAndEveryOutputIntoItsRows)
{
    ExtraSensors().Clear();
    Open();
    EXPECT_EQ(ExtraSensors().TemperatureCode(3), 25);  // the sim's transmitter 3
    EXPECT_EQ(device.Param(1), "60");                  // lowered meanwhile, restored
    EXPECT_EQ(form->Tabs()->tabText(3) + " " + Text("Time Out Period"), "Output 4 60");
    std::string shows;
    for (int k = 0; k < 4; ++k)
        for (int row : {1, 2})
            for (const char* what : {"parameter", "check type", "value 1"}) shows += Shows(k, row, what) + "|";
    EXPECT_EQ(shows, "Outside Temperature|Greater Than or =|85.0|Inside Temperature|Less Than or =|60.0|"
                     "Daily Rain|Greater Than or =|0.50|Current Wind Speed|Trending|10|"
                     "Outside Temperature|Minus||Outside Dewpoint|Greater Than or =|5|"
                     "Outside Humidity|Greater Than or =|90|Time|Between|7:00|");
    EXPECT_EQ(Shows(0, 1, "grouping") + Shows(1, 1, "grouping") + Shows(3, 1, "grouping"), "ORXORAND");
    EXPECT_TRUE(childForms.empty());
}

TEST_F(AomForm, OnlyExactlyZeroOpensTheStationFormFirstThenOneIsStored)
{
    for (const std::string stored : {"1", "00", "", "0"}) {
        dir.Settings().SetValue(key::AomFirstUse, stored);
        childForms.clear();
        Open();
        const bool first = stored == "0";
        EXPECT_EQ(childForms, first ? Lines{"Station Configuration"} : Lines{}) << stored;
        EXPECT_EQ(dir.Settings().GetValue(key::AomFirstUse), first ? "1" : stored);
    }
}

// Without a changed output OK writes the module settings only, as typed.
TEST_F(AomForm, TimeOutFiveTo999ThenLoggingFlag)
{
    Open();
    Click("Enable Alarm Logging");
    for (const char* text : {"4", "1000", "", "5", "999", "60-"}) {
        device.ClearLines(), messages.Clear();
        Set("Time Out Period", text);
        Click("OK");
        const bool accepted = *text && std::atoi(text) >= 5 && std::atoi(text) <= 999;
        EXPECT_EQ(messages.Texts(),
                  accepted ? Lines{} : Lines{"Invalid Timeout Period! Must be between 5 and 999 sec."}) << text;
        const Lines sent{"\n", std::string("MOD01 ") + text + "\n", "MOD24 0\n"};
        EXPECT_EQ(device.Lines(), accepted ? sent : Lines{}) << text;
    }
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(AomForm, OkWarnsThenClearsTheLogAndSendsOnlyTheChangedOutput)
{
    Open();
    SetValue(1, "0.60");
    device.ClearLines();
    messages.AnswerNext(MsgAnswer::Cancel);
    Click("OK");  // the module settings are written; Cancel on the warning stops there
    EXPECT_EQ(device.Lines(), (Lines{"\n", "MOD01 60\n", "MOD24 1\n"}));
    EXPECT_EQ(form->result(), QDialog::Rejected);
    device.ClearLines(), pauses.Clear();
    Click("OK");
    const auto shown = messages.Shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(std::tie(shown[1].text, shown[1].caption, shown[1].icon, shown[1].buttons),
              std::tuple("This operation will clear your Alarm Event Log", std::optional<std::string>("Please Note"),
                         MsgIcon::Exclamation, MsgButtons::OkCancel));
    EXPECT_EQ(device.Lines(), (Lines{"\n", "MOD01 60\n", "MOD24 1\n", "\n", "MOD23\n", "\n", "MOD15 1\n", "\n",
                                     "MOD16 1 10 0\n", "MOD17 1 10 60\n", "MOD16 1 19 4 30\n",
                                     "MOD17 1 19 10 25\n", "MOD18 1 2\n"}));
    EXPECT_EQ(pauses.Durations(), (std::vector<int>{1000, 100, 100, 100, 100, 100, 1000}));
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

// A refused output stops OK before the module settings, the log or output 1
// is touched; a failing one selects its tab and later outputs are not tried.
TEST_F(AomForm, RefusedOrFailingOutputSelectsItsTab)
{
    Open();
    SetValue(0, "86"), SetValue(3, "101");
    device.ClearLines();
    Click("OK");
    EXPECT_EQ(messages.Texts(), (Lines{"101 is not a valid entry!"}));
    EXPECT_EQ(form->Tabs()->currentIndex(), 3);
    EXPECT_TRUE(device.ModuleLines().empty());

    SetValue(1, "0.60"), SetValue(3, "95");
    // The module refuses every write once output 1 has been applied.
    int longPauses = 0;
    const PauseFunction previous = SetPauseFunction([&](int ms) {
        if (ms == 1000 && ++longPauses == 2) device.SetFault(SimFault::ErrorSets);
    });
    Click("OK");
    SetPauseFunction(previous);
    EXPECT_EQ(messages.Texts().back(), "Failed to set configuration in the module for output 2.  \n\t\tPlease "
                                       "check Serial Port settings and connections.");
    EXPECT_EQ(form->Tabs()->currentIndex(), 1);
    const Lines lines = device.Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "MOD18 0 0\n"), lines.end());
    EXPECT_EQ(lines.back(), "MOD15 1\n");
    EXPECT_EQ(form->result(), QDialog::Rejected);
}

TEST_F(AomForm, StationConfigOnlyWhileNoRowOfAnyOutputIsUsed)
{
    Open();
    QAbstractButton* stationConfig = FindButton(form.get(), "Station Config");
    for (int k = 0; k < 4; ++k) {
        EXPECT_FALSE(stationConfig->isEnabled()) << k;
        FindButton(form->Tabs()->Page(k), "Clear")->click();
    }
    EXPECT_TRUE(stationConfig->isEnabled());
}

TEST_F(AomForm, ClearLogsAtOnceInUntitledBoxes)
{
    Open();
    Click("Clear Logs");
    EXPECT_TRUE(device.Alarms().empty());
    device.SetFault(SimFault::ErrorSets);
    Click("Clear Logs");
    std::string shown;
    for (const UserMessage& m : messages.Shown())
        shown += m.text + (m.caption == std::optional<std::string>("") ? "" : " titled") +
                 (m.icon == MsgIcon::Information ? " (i)" : m.icon == MsgIcon::Error ? " (x)" : "") + "|";
    EXPECT_EQ(shown, "Logs Cleared! (i)|Logs clearing failed! (x)|");
}

// "Advanced" of an output, opened as the page's button opens it: read from
// corvane-sim, the activation buttons following the pulse width, the checks
// at OK and the two lines the module receives.
class AomAdvancedForm : public AomForm {
protected:
    // Opens the options of wire output 1 (the sim holds pulse 250, normally
    // closed) and lets user act on it; false when no form was run.
    bool Open(const std::function<void(QDialog&)>& user)
    {
        bool ran = false;
        const FormRunner previous = SetFormRunner([&](QDialog& dlg) {
            ran = true, (shown = &dlg)->show(), device.ClearLines(), user(dlg);
            return dlg.result();
        });
        OpenAdvancedOptions(nullptr, record, 1);
        SetFormRunner(previous);
        return ran;
    }
    QString Activation() { return FindButton(shown, "Continuous")->isChecked() ? " Continuous" : " Pulse"; }
};

// A field typed, a radio button clicked after typing (or ""), then the
// button checked before OK, and the line of parameter 20 or the message.
struct OkCase { const char *name, *field, *text, *click, *outcome; };

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
        if (!messages.Texts().empty()) { EXPECT_EQ(dlg.focusWidget()->accessibleName(), c.field); }
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
        OkCase{"EmptyReleaseDelay", "Delay on Release", "", "", " Pulse Invalid Alarm Duration! Must be between 0 and 999"},
        // The default width "0" is continuous, even when "Pulse" was clicked.
        OkCase{"PulseWithDefaultWidthZero", "Pulse Width", "0", "Pulse", " Continuous MOD20 1 0 1\n"},
        OkCase{"ContinuousClicked", "Pulse Width", "250", "Continuous", " Continuous MOD20 1 0 1\n"}),
    [](const ::testing::TestParamInfo<OkCase>& info) { return std::string(info.param.name); });

TEST_F(AomAdvancedForm, OpensWithWhatTheModuleHoldsAndDefaultTakesTheSettings)
{
    ASSERT_TRUE(Open([&](QDialog& dlg) {
        EXPECT_EQ(dlg.windowTitle() + " " + Text("Pulse Width") + Activation(), "Advanced - Output 2 250 Pulse");
        EXPECT_TRUE(FindButton(shown, "Normally Closed")->isChecked());
        Click("Normally Open"), Click("Default");
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

// The "Choose Units" and "Station Configuration" forms: what they show of
// the stored settings and what they store.
void Click(QWidget* dlg, const QString& text)
{
    if (QAbstractButton* button = FindButton(dlg, text)) button->click(); else ADD_FAILURE() << text.toStdString();
}

auto Tied(const AomUnitSettings& u) { return std::tuple(u.temperature, u.barometer, u.wind, u.rain); }

template <class Button>
std::string Checked(QWidget* dlg)
{
    QStringList checked;
    for (Button* button : dlg->findChildren<Button*>())
        if (button->isChecked()) checked << button->text();
    return checked.join(",").toStdString();
}

TEST(UnitsForm, StoredCodesLoadedAndShownWithTheirFallbacks)
{
    // Out of the lists, temperature and rain load as the metric unit but show as the other.
    const struct { const char *temp, *bar, *wind, *rain, *shown; AomUnitSettings loaded; } cases[] = {
        {"4", "6", "10", "2", "\u00b0C,hPa,m/s,mm",
         {UnitCelsius, UnitHectopascal, UnitMetresPerSecond, UnitMillimetre}},
        {"3", "2", "8", "1", "\u00b0F,mm,knot,in", {UnitFahrenheit, UnitMillimetre, UnitKnots, UnitInch}},
        {"", "3", "11", "x", "\u00b0F,in,mph,in", {UnitCelsius, UnitInch, UnitMph, UnitMillimetre}},
    };
    for (const auto& c : cases) {
        TempWorkDir dir(FormatText("AOM_TEMP_UNIT=%s\nAOM_BAR_UNIT=%s\nAOM_WIND_UNIT=%s\nAOM_RAIN_UNIT=%s\n", c.temp,
                                   c.bar, c.wind, c.rain).c_str());
        LoadAomUnitSettings();
        EXPECT_EQ(Tied(AomUnits()), Tied(c.loaded)) << c.shown;
        CAomUnitsDlg dlg(nullptr);
        EXPECT_EQ(dlg.windowTitle().toStdString() + "|" + Checked<QRadioButton>(&dlg),
                  "Choose Units|" + std::string(c.shown));
    }
    SetAomUnits({});
}

TEST(UnitsForm, OkStoresTheShownCodesAndReloads)
{
    // Empty temperature and rain show °F and inches but load as metric until OK stores them.
    TempWorkDir dir;
    CAomUnitsDlg dlg(nullptr);
    for (const char* button : {"mb", "km/h", "OK"}) Click(&dlg, button);
    DBConfigParser& s = dir.Settings();
    EXPECT_EQ(s.GetValue(key::AomTempUnit) + s.GetValue(key::AomBarUnit) + s.GetValue(key::AomWindUnit) + "|" +
                  s.GetValue(key::AomRainUnit), "359|1");
    EXPECT_EQ(Tied(AomUnits()), Tied({UnitFahrenheit, UnitMillibar, UnitKph, UnitInch}));
    SetAomUnits({});
}

TEST(StationForm, StoredValueShownAndSavedInWritingOrder)
{
    // Shown: model, checked boxes, enabled; then a model picked (-1 none), a
    // box clicked, the button pressed, and what the settings hold after.
    const struct { const char* stored; int model; const char* checked; bool enabled; int pick;
                   const char *click, *button, *saved; } cases[] = {
        {"0$22$23$", 0, "UV,Solar Radiation", true, -1, "", "OK", "0$23$22$"},
        {"1$1000$50$", 1, "Temp 8", true, -1, "Humidity 8", "OK", "1$1000$1001$"},
        {"1$1000$", 1, "Temp 8", true, -1, "UV", "Cancel", "1$1000$"},
        {"", 0, "", true, -1, "", "OK", "0$"},
        // An unknown model leaves the boxes disabled until one is picked.
        {"5$23$", -1, "UV", false, -1, "", "OK", "-1$"},
        {"5$23$", -1, "UV", false, 1, "", "OK", "1$23$"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        TempWorkDir dir;
        dir.Settings().SetValue(key::AomStationConfig, c.stored);
        CAomStationConfigDlg dlg(nullptr);
        QComboBox* model = FindField<QComboBox>(&dlg, "Model:");
        EXPECT_EQ(dlg.windowTitle() + "|" + model->itemText(0) + "|" + model->itemText(1),
                  "Station Configuration|Tarrow|Tarrow Plus");
        EXPECT_EQ(dlg.findChildren<QCheckBox*>().size(), 30);
        EXPECT_EQ(model->currentIndex(), c.model);
        EXPECT_EQ(Checked<QCheckBox>(&dlg), c.checked);
        for (QCheckBox* box : dlg.findChildren<QCheckBox*>()) EXPECT_EQ(box->isEnabled(), c.enabled);
        if (c.pick >= 0) model->setCurrentIndex(c.pick);
        if (*c.click) Click(&dlg, c.click);
        EXPECT_TRUE(FindButton(&dlg, "Temp 1")->isEnabled() || c.pick < 0);
        Click(&dlg, c.button);
        EXPECT_EQ(dir.Settings().GetValue(key::AomStationConfig), c.saved);
    }
}

}  // namespace
